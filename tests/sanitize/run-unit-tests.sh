#!/usr/bin/env bash
# Builds the unit tests with AddressSanitizer and UndefinedBehaviorSanitizer (the "asan" preset,
# in build-asan/) and runs them. Only the unit test program is built, to keep CI's time.
# usage: run-unit-tests.sh SOURCE_DIR
set -euo pipefail
cd "$1"

if [ ! -f build-asan/CMakeCache.txt ]; then
  cmake --preset asan >/dev/null
fi
cmake --build --preset asan --target vel_unit_tests -j "$(nproc)" >build-asan/build.log 2>&1 || {
  tail -n 80 build-asan/build.log
  echo "the sanitizer build failed; the whole log is build-asan/build.log" >&2
  exit 1
}

# Leaks count too: the unit tests need no suppressions, and a new leak should be seen.
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LC_ALL=C.UTF-8
exec build-asan/tests/vel_unit_tests --gtest_brief=1
