#!/usr/bin/env bash
# Whole WFN job as users run it (read, sweep, write the cube files), on the ethene-benzene
# sample, 80 x 80 x 80 points of 0.15 bohr: wall time, CPU time and peak resident memory, for
# the density alone and for all four property switches. Usage: wfn_job.sh [quelvarin binary]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$(realpath "${1:-$here/../build/quelvarin}")
sample=$(realpath "$here/../../shared/samples/wfn/BE.wfn" 2>/dev/null || true)
if [ ! -f "$sample" ]; then echo "BE.wfn sample not found: skipped"; exit 0; fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$sample" BE.wfn
for calc in "*rho" "*rho *gra *lap *ene"; do
  sed "s/^CALCULATING .*/CALCULATING $calc/" "$here/inputs/wfn_be.inp" >in.inp
  for run in 1 2 3; do
    /usr/bin/time -f "%e %U %M" -o time.txt "$bin" in.inp
    read -r wall user kb < time.txt
    grids=$(ls be_*.cube | wc -l)
    echo "CALCULATING $calc  run $run: wall ${wall} s, user ${user} s, peak ${kb} KB" \
         "(grids alone: $((grids * 80 * 80 * 80 * 8 / 1024)) KB)"
    rm -f be_*.cube
  done
done
