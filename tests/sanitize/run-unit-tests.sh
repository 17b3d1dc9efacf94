#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the unit tests alone with AddressSanitizer and UndefinedBehaviorSanitizer (the "asan"
# preset, in build-asan/) and runs them. usage: run-unit-tests.sh SOURCE_DIR
set -euo pipefail
cd "$1"
[ -f build-asan/CMakeCache.txt ] || cmake --preset asan >/dev/null
cmake --build --preset asan --target vel_unit_tests -j "$(nproc)" | tail -n 40
# Leaks count too: the unit tests need no suppressions, and a new leak should be seen.
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LC_ALL=C.UTF-8
exec build-asan/tests/vel_unit_tests --gtest_brief=1
