#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a ./dev verb (test by default) on the other Debian release that Vel supports, on a clean
# clone of this checkout's HEAD, inside a Debian root made with debootstrap from the archive this
# machine's apt already uses. Vel supports Debian 13 (trixie) and Debian 12 (bookworm).
#   scripts/other-release.sh [VERB [ARGS...]]
#   scripts/other-release.sh shell [COMMAND]   a shell (or COMMAND) in this very checkout there,
#                                              uncommitted changes and all; build in a folder of
#                                              its own (cmake -B build-other), not in build/
# The root is kept in $VEL_ROOTS (default /var/cache/vel-browser/roots) between runs and made anew
# whenever scripts/deps.sh, and so the package list, changes. Needs root, for debootstrap,
# mounts and chroot.
set -euo pipefail
cd "$(dirname "$0")/.."
checkout=$PWD

if [ "$(id -u)" -ne 0 ]; then
  exec sudo --preserve-env=VEL_ROOTS,CI "$0" "$@"
fi

. /etc/os-release
case "${VERSION_CODENAME:-}" in
  trixie) release=bookworm ;;
  bookworm) release=trixie ;;
  *)
    echo "other-release: this is ${PRETTY_NAME:-an unknown system}; Vel supports Debian 12 and 13" >&2
    exit 2
    ;;
esac
host=$VERSION_CODENAME

./scripts/deps.sh debootstrap

roots=${VEL_ROOTS:-/var/cache/vel-browser/roots}
mkdir -p "$roots"
# One run at a time makes or changes a root; runs in a ready root go side by side.
exec 9>"$roots/.lock"
flock 9

# The host's Debian sources (main archive, updates, security), with the other release's name.
# Read from apt's own view of them, so a local mirror the host uses is used here too.
sources=$(apt-cache policy | awk -v from="$host" -v to="$release" '
  $1 ~ /^[0-9]+$/ && $2 ~ /^[a-z]+:\/\// { uri = $2; suite = $3; sub(/\/.*/, "", suite); next }
  $1 == "release" && /o=Debian,/ && uri != "" && index(suite, from) == 1 {
    sub(from, to, suite); line = "deb " uri " " suite " main"
    if (!(line in seen)) { seen[line] = 1; print line }
    uri = ""
  }')
mirror=$(awk '$3 == "'"$release"'" { print $2; exit }' <<<"$sources")
if [ -z "$mirror" ]; then
  echo "other-release: apt on this machine lists no Debian archive to make a $release root from" >&2
  exit 1
fi

key=$(sha256sum <scripts/deps.sh | cut -c1-16)
root="$roots/$release-$key"
if [ ! -e "$root/.ready" ]; then
  rm -rf "$roots/$release"-*
  echo "Making a Debian $release root in $root (once per package list)"
  log="$roots/$release.log"
  if ! debootstrap --variant=minbase "$release" "$root" "$mirror" >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    exit 1
  fi
  printf '%s\n' "$sources" >"$root/etc/apt/sources.list"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"

# Each run has a folder of its own in the root with a clean clone of what is committed. A shell
# has this checkout itself, at the same path as here, so that a build folder made there keeps
# finding its sources from one shell to the next.
if [ "${1:-}" = shell ]; then
  shell=1
  shift
  run_dir=$checkout
  mkdir -p "$root$run_dir"
else
  shell=
  run_dir=/work/run-$$/vel
  rm -rf "${root:?}${run_dir%/vel}"
  mkdir -p "$root$run_dir"
  trap 'rm -rf "${root:?}${run_dir%/vel}"' EXIT
  git clone --quiet --no-hardlinks "$checkout" "$root$run_dir"
  [ $# -gt 0 ] || set -- test
fi

# Its own mount namespace: every mount below ends with the run. The root is bound onto itself so
# that it is a mount point, which the page process's sandbox (bubblewrap) needs.
unshare --mount --propagation private bash -euo pipefail -c '
  root=$1 run_dir=$2 checkout=$3 shell=$4
  shift 4
  mount --bind "$root" "$root"
  mount -t proc proc "$root/proc"
  mount --rbind /sys "$root/sys"
  mount --rbind /dev "$root/dev"
  mount -t tmpfs tmpfs "$root/run"
  mkdir -p "$root/tmp/vel-$$"
  run() {
    chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      LANG=C.UTF-8 TERM="${TERM:-dumb}" TMPDIR="/tmp/vel-$$" ${CI:+CI=$CI} "$@"
  }
  if [ ! -e "$root/.ready" ]; then
    cp "$checkout/scripts/deps.sh" "$root/deps.sh"
    run /deps.sh
    touch "$root/.ready"
  fi
  flock -u 9
  if [ -n "$shell" ]; then
    mount --bind "$checkout" "$root$run_dir"
    echo "On Debian $(cat "$root/etc/debian_version"), in $run_dir: ${*:-a shell}"
    if [ $# -gt 0 ]; then run bash -c "cd $run_dir && $*"; else run bash -c "cd $run_dir && exec bash -i"; fi
  else
    echo "On Debian $(cat "$root/etc/debian_version"): ./dev $*"
    run bash -c "cd $run_dir && exec ./dev \"\$@\"" dev "$@"
  fi
' other-release "$root" "$run_dir" "$checkout" "$shell" "$@"
