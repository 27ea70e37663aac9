#!/usr/bin/env bash
# Runs the bundled example with the binary given as first argument; outputs go to examples/out/.
set -euo pipefail
cd "$(dirname "$0")"
bin=${1:-../build/quelvarin}
mkdir -p out
status=0
"$bin" example.inp || status=$?
echo "quelvarin finished with exit status $status"
echo "run log: examples/out/example.log"
exit "$status"
