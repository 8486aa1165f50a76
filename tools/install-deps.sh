#!/usr/bin/env bash
# Installs what the builds and tests need from Debian's packages, skipping what is present.
set -euo pipefail

packages=(
  cmake ninja-build g++ make
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
  wine64 libwine-dev xvfb imagemagick
  libgtest-dev libgmock-dev googletest libbenchmark-dev clang
  # libFuzzer and clang's sanitizer runtimes: only recommended by clang, so named here.
  libclang-rt-dev
  # make coverage
  gcovr
  # make dist: the installer (makensis) and the zip for those who register by hand
  nsis zip
  # the installer tests read the zip back
  unzip
)

# 32-bit Wine, for the 32-bit run of the Wine tests: the IDE is a 32-bit program.
packages+=(wine32:i386)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
echo "installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

if why=$(bash "$(dirname "$0")/probe-32bit.sh"); then
  echo "this kernel runs 32-bit programs: the Wine tests also run as 32-bit programs"
else
  echo "$why: the Wine tests run as 64-bit programs only"
fi
