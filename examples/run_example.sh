#!/usr/bin/env bash
# Runs the bundled example: writes the water-dimer wavefunction, evaluates its density on a box
# grid (WFN job), analyses its non-covalent interactions (RDG job) and draws the pictures.
# Usage: run_example.sh [path of quelvarin]; outputs go to examples/out/.
set -euo pipefail
cd "$(dirname "$0")"
bin=$(realpath "${1:-../build/quelvarin}")
plot_bin="$(dirname "$bin")/quelvarin-plot"
mkdir -p out
python3 make_water_dimer_wfn.py out/water_dimer.wfn
cd out
start=$(date +%s.%N)
status=0
"$bin" ../example.inp || status=$?
end=$(date +%s.%N)
echo "quelvarin finished with exit status $status in $(printf '%.1f' "$(echo "$end - $start" | bc)") s"
[ "$status" -eq 0 ] || { echo "see examples/out/example.log"; exit "$status"; }
if [ -x "$plot_bin" ]; then "$plot_bin" ../example.inp || echo "quelvarin-plot could not draw the pictures"; fi
echo
echo "Outputs in examples/out/:"
echo "  run log with the isosurface statistics: example.log"
echo "  density (WFN job):                      dimer_rho.cube"
echo "  RDG and rho*sign(lambda2) cubes:        dimer_rdg.cube, dimer_rhosign.cube"
echo "  Abramov energy densities:               dimer_Gabr.cube, dimer_Vabr.cube, dimer_Habr.cube"
echo "  numerical gradient and laplacian:       grad_numerical.cube, lapl_numerical.cube"
echo "  2D plot tables:                         dimer_rho.2D, dimer_rhosign.2D"
for f in *.svg; do [ -e "$f" ] && echo "  2D plot picture:                        $f"; done
for f in *.vmd *.pml *.xyz; do [ -e "$f" ] && echo "  viewer script or its atoms:             $f"; done
for f in *_regions.tsv; do [ -e "$f" ] && echo "  table of NCI regions:                   $f"; done
if [ -e dimer_rdg_nci.png ]; then
  echo
  echo "The NCI isosurface, ray-traced by PyMOL: examples/out/dimer_rdg_nci.png"
fi
exit 0
