#!/usr/bin/env bash
# Wall and processor time of the table of NCI regions as users get it: `quelvarin-plot
# --no-render` on the RDG and rho*sign(lambda2) cubes of an N x N x N promolecular density
# (default N = 200; the RDG job makes the cubes first, untimed). Runs in a temporary folder.
#   bench/nci_regions_command.sh [QUELVARIN_BINARY] [N]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$(realpath "${1:-$here/../build/quelvarin}")
plot_bin="$(dirname "$bin")/quelvarin-plot"
n=${2:-200}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -O2 -std=c++20 -o "$work/promolecule_cube" "$here/tools/promolecule_cube.cpp"
cd "$work"
./promolecule_cube "$n" density.cube
cat > job.inp <<'INP'
NCI regions benchmark
OUTPUT_FILE_NAME job.log
SECTIONS *RDG
RDG,RHO*(signL2) AND ABRAMOV ENERGY CALCULATION
INPUT  *CUB
CALCULATING *RDG *rho
RHO_INPUT_CUBE   density.cube
GRAD= *calc
LAPL= *calc
RDG_CALCULATION *all_p
RDG_OUTPUT  dimer_rdg
SPACE_CUTOFF *none
RHO_SIGN_CALCULATION
RHO_SIGN_OUTPUT dimer_rhosign
INP
"$bin" job.inp >/dev/null
/usr/bin/time -v -o time.txt "$plot_bin" --no-render job.inp >plot.txt
wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' time.txt)
user=$(sed -n 's/.*User time (seconds): //p' time.txt)
sys=$(sed -n 's/.*System time (seconds): //p' time.txt)
peak_kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' time.txt)
echo "grid ${n}^3: quelvarin-plot wall $wall, cpu ${user} s user + ${sys} s system," \
     "peak memory $((peak_kb / 1024)) MiB; $(grep -c . dimer_rdg_regions.tsv) lines in the table"
