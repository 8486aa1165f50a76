#!/usr/bin/env bash
# Builds one installer from installer/Marrowby.nsi:
#   build-setup.sh OUTFILE DLL VERSION [x86|amd64]
# x86 (the default) is the shipped installer, for the 32-bit DLL; amd64 wraps the 64-bit DLL for
# the tests on machines that cannot run 32-bit programs. MARROWBY_README names another README to
# ship than the tree's.
set -euo pipefail
[ $# -ge 3 ] || { echo "usage: $0 OUTFILE DLL VERSION [x86|amd64]" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
abs() { (cd "$(dirname "$1")" && printf '%s/%s' "$(pwd)" "$(basename "$1")"); }
mkdir -p "$(dirname "$1")"
out=$(abs "$1")
dll=$(abs "$2")
readme=$(abs "${MARROWBY_README:-$here/../README.md}")
defines=(-DVERSION="$3" -DDLL="$dll" -DREADME="$readme" -DOUTFILE="$out")
[ "${4:-x86}" = amd64 ] && defines+=(-DAMD64)
makensis -V2 -WX "${defines[@]}" "$here/Marrowby.nsi"
