#!/usr/bin/env bash
# Installs what building and testing Kelvara needs on Debian 12 (run as root), and the packages
# named as arguments besides (the benchmarks' peers and tools).
# Idempotent: a machine that has everything is left alone after a quick check.
set -euo pipefail

packages=(
  g++-mingw-w64-i686 mingw-w64-tools libz-mingw-w64-dev   # the engine (32-bit PE)
  g++-mingw-w64-x86-64                                    # its 64-bit test build
  wine wine32:i386 wine64                                 # runs the engine and its tests
  xvfb xauth imagemagick                                  # a display, screenshots
  fonts-wqy-zenhei fonts-dejavu-core                      # and the Far East's glyphs in them
  cmake ninja-build g++ googletest libgtest-dev           # build and unit tests
  g++-multilib lib32z1-dev qemu-user                      # the core's tests as a 32-bit program
  liblzma-dev liblzma-dev:i386                            # the builder's LZMA2 (64- and 32-bit)
  clang libclang-rt-14-dev                                # the fuzz harnesses (libFuzzer)
  zlib1g-dev libtomlplusplus-dev libcli11-dev             # host tools
  clang-format
  openssl osslsigncode                                    # signed images and their tests
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  # No pipe into grep -q: under pipefail its early exit could fail the writer with SIGPIPE.
  if [[ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != *'install ok installed'* ]]; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing packages: ${missing[*]}; run this script as root" >&2
  exit 1
fi
echo "install-deps: installing ${missing[*]}"
if [[ $'\n'"$(dpkg --print-foreign-architectures)"$'\n' != *$'\ni386\n'* ]]; then
  dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
# A mirror caught mid-sync serves an index that does not match its release file; it is
# usually whole again within minutes, so the update is tried a few times. Should one suite's
# index stay broken (seen here: the security suite's i386 list), the install takes every
# package from the release's own suite, whose lists are whole for both architectures: 64- and
# 32-bit halves of a library must have the same version.
release=()
for wait in 15 30 60 0; do
  apt-get update -qq && break
  if [ "$wait" -eq 0 ]; then
    echo "install-deps: a package list stayed incomplete; installing from the release's suite" >&2
    release=(-t "$(. /etc/os-release && echo "$VERSION_CODENAME")")
    break
  fi
  echo "install-deps: package lists incomplete, trying again in ${wait}s" >&2
  sleep "$wait"
done
apt-get install -y -qq "${release[@]}" "${missing[@]}" >/dev/null
