#!/usr/bin/env bash
# Runs every benchmark executable built in this folder (called from the build folder by `make bench`).
set -euo pipefail
here=$(pwd)
for b in "$here"/bench/*_bench; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b"
done
