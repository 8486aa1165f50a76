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
)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
