#!/usr/bin/env bash
# Runs the .wfx example: writes the water dimer as a .wfx file with g functions and oxygen core
# densities (EDF), evaluates every property on a box grid (WFN job), analyses its hydrogen bond
# from the analytic gradient and laplacian (RDG job) and draws the pictures.
# Usage: run_wfx_example.sh [path of quelvarin]; outputs go to examples/out_wfx/.
set -euo pipefail
cd "$(dirname "$0")"
bin=$(realpath "${1:-../build/quelvarin}")
plot_bin="$(dirname "$bin")/quelvarin-plot"
mkdir -p out_wfx
python3 make_water_dimer_wfx.py out_wfx/water_dimer.wfx --core-as-edf
cd out_wfx
status=0
"$bin" ../wfx_example.inp || status=$?
echo "quelvarin finished with exit status $status"
[ "$status" -eq 0 ] || { echo "see examples/out_wfx/example.log"; exit "$status"; }
if [ -x "$plot_bin" ]; then "$plot_bin" ../wfx_example.inp || echo "quelvarin-plot could not draw the pictures"; fi
echo
echo "Outputs in examples/out_wfx/: the run log example.log (its WFN summary names the .wfx"
echo "format and the core-density primitives), dimer_rho/gradrho/laplrho/G/V/H.cube from the"
echo "wavefunction, and the RDG job's cubes, plot tables and pictures as in the main example."
exit 0
