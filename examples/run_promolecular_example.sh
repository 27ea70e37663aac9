#!/usr/bin/env bash
# Runs the bundled large-system example: builds a 412-atom beta sheet with a benzene on top
# (make_beta_sheet.py), evaluates its promolecular density and gradient on a box grid (WFN job
# on an .xyz geometry), analyses its non-covalent interactions (RDG job with a space cut-off)
# and draws the pictures. Usage: run_promolecular_example.sh [path of quelvarin]; outputs go
# to examples/out/.
set -euo pipefail
cd "$(dirname "$0")"
bin=$(realpath "${1:-../build/quelvarin}")
plot_bin="$(dirname "$bin")/quelvarin-plot"
mkdir -p out
python3 make_beta_sheet.py 4 10 out/sheet
cd out
start=$(date +%s.%N)
status=0
"$bin" ../promolecular_example.inp || status=$?
end=$(date +%s.%N)
echo "quelvarin finished with exit status $status in $(printf '%.1f' "$(echo "$end - $start" | bc)") s"
[ "$status" -eq 0 ] || { echo "see examples/out/sheet.log"; exit "$status"; }
if [ -x "$plot_bin" ]; then "$plot_bin" ../promolecular_example.inp || echo "quelvarin-plot could not draw the pictures"; fi
echo
echo "Outputs in examples/out/:"
echo "  geometry (412 atoms):                   sheet.xyz, sheet.pdb"
echo "  run log with the isosurface statistics: sheet.log"
echo "  promolecular density and gradient:      sheet_rho.cube, sheet_gradrho.cube"
echo "  RDG and rho*sign(lambda2) cubes:        sheet_rdg.cube, sheet_rhosign.cube"
echo "  2D plot table:                          sheet_rhosign.2D"
for f in sheet*.svg sheet*.vmd sheet*.pml sheet*.png sheet*regions*; do [ -e "$f" ] && echo "  picture, table or viewer script:        $f"; done
exit 0
