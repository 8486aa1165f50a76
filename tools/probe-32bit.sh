#!/usr/bin/env bash
# Whether this machine runs 32-bit Windows programs: 32-bit Wine is installed and the kernel
# starts its loader (some kernels are built without 32-bit support: "Exec format error").
# Exits 0 when it does; otherwise prints why and exits 1.
wine=/usr/lib/wine/wine
if [ ! -x "$wine" ]; then
  echo "32-bit Wine is not installed ($wine)"
  exit 1
fi
if ! out=$("$wine" --version 2>&1); then
  echo "this kernel cannot run 32-bit programs ($wine --version: ${out##*: })"
  exit 1
fi
exit 0
