#!/usr/bin/env bash
# Promolecular densities at scale. Makes the geometries with examples/make_beta_sheet.py
# (pocket.xyz: 282 atoms; block.xyz: 5012 atoms) and times with the binary, on one thread, over
# 125 x 142 x 128 points at 0.189 bohr around the benzene and its pocket:
#   - the WFN job with density, gradient and laplacian (three cubes written);
#   - the whole pipeline: the WFN job with the density alone, then the RDG job (RDG and
#     rho*sign(lambda2), gradient and laplacian derived from the density cube);
# then runs promolecular_bench (the sweep alone, and the 5012-atom system on one and on all
# threads) when it is built next to the binary.
#   bench/promolecular_job.sh [QUELVARIN_BINARY]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$(realpath "${1:-$here/../build/quelvarin}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
python3 "$here/../examples/make_beta_sheet.py" 3 9 pocket > /dev/null
python3 "$here/../examples/make_beta_sheet.py" 10 10 block 5 > /dev/null
cat > wfn.inp <<'INP'
OUTPUT_FILE_NAME wfn.log
SECTIONS *WFN
PROPERTIES FROM WAVEFUNCTION
INPUT  pocket.xyz
OUTPUT  pocket
CALCULATING *rho *gra *lap
CENTER  29.4 8.1 5.5
N_POINTS_X 125
STEPSIZE_X 0.189
N_POINTS_Y 142
STEPSIZE_Y 0.189
N_POINTS_Z 128
STEPSIZE_Z 0.189
INP
sed -e 's/^CALCULATING.*/CALCULATING *rho/' -e 's/^OUTPUT_FILE_NAME.*/OUTPUT_FILE_NAME density.log/' \
  wfn.inp > density.inp
cat > rdg.inp <<'INP'
OUTPUT_FILE_NAME rdg.log
SECTIONS *RDG
RDG,RHO*(signL2) AND ABRAMOV ENERGY CALCULATION
INPUT  *CUB
CALCULATING *RDG *rho
RHO_INPUT_CUBE pocket_rho.cube
GRAD= *calc
LAPL= *calc
LAPL_INPUT_CUBE
RDG_CALCULATION *all_p
RDG_OUTPUT pocket_rdg
SPACE_CUTOFF *none
RHO_SIGN_CALCULATION
RHO_SIGN_OUTPUT pocket_rhosign
INP
run() {  # name, input: prints cpu and wall time of one run on one thread
  /usr/bin/time -f "%e %U %S" -o run.time "$bin" --threads 1 "$2"
  read -r wall user sys < run.time
  echo "$1: wall ${wall} s, cpu ${user} s user + ${sys} s system"
}
run "WFN job, promolecular rho, gradient and laplacian (3 cubes)" wfn.inp
run "pipeline 1/2: WFN job, promolecular rho alone" density.inp
run "pipeline 2/2: RDG job, RDG and rho*sign(lambda2)" rdg.inp
# On a shared machine the wall time includes waiting for the processor; user + system is the
# time the job itself took.
bench_bin="$(dirname "$bin")/bench/promolecular_bench"
if [ -x "$bench_bin" ]; then "$bench_bin"; fi
