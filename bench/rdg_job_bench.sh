#!/usr/bin/env bash
# Wall time and peak memory of the whole RDG job on an N x N x N promolecular density cube
# (default N = 200): every computation and both plot tables on, gradient and laplacian derived
# numerically; then quelvarin-plot's table of NCI regions from the job's RDG and
# rho*sign(lambda2) cubes. Runs in a temporary folder (removed afterwards).
#   bench/rdg_job_bench.sh [QUELVARIN_BINARY] [N]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$(realpath "${1:-$here/../build/quelvarin}")
n=${2:-200}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
g++ -O2 -std=c++20 -o "$work/promolecule_cube" "$here/tools/promolecule_cube.cpp"
cd "$work"
./promolecule_cube "$n" density.cube
cp "$here/inputs/rdg_job.inp" job.inp
# The job uses every core it may (QUELVARIN_THREADS chooses); bench/thread_scaling.sh compares counts.
status=0
/usr/bin/time -v -o time.txt "$bin" job.inp || status=$?
wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' time.txt)
user=$(sed -n 's/.*User time (seconds): //p' time.txt)
sys=$(sed -n 's/.*System time (seconds): //p' time.txt)
peak_kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' time.txt)
grid_mb=$(awk -v n="$n" 'BEGIN { printf "%.1f", n * n * n * 8 / 1048576 }')
# On a shared machine the wall time includes waiting for the processor; user + system is the
# processor time the job itself took, on all its threads.
echo "grid ${n}^3: exit status $status, wall $wall, cpu ${user} s user + ${sys} s system, peak memory $((peak_kb / 1024)) MiB" \
     "(nine grids: $(awk -v g="$grid_mb" 'BEGIN { printf "%.1f", 9 * g }') MiB," \
     "limit with 5 %: $(awk -v g="$grid_mb" 'BEGIN { printf "%.1f", 9 * g * 1.05 }') MiB)"
ls -l --block-size=M | sed 1d | awk '{ print "  " $5 "  " $9 }'

# The table of NCI regions as users get it: quelvarin-plot on the job's two cubes (an input
# without the plot tables, so that only the cubes are read), no PNG.
plot_bin="$(dirname "$bin")/quelvarin-plot"
if [ "$status" -eq 0 ] && [ -x "$plot_bin" ]; then
  grep -v -e '^2DPLOT' -e '^PLOT_NAME' job.inp | sed 's/ \*plo//' >cubes.inp
  /usr/bin/time -v -o plot_time.txt "$plot_bin" --no-render cubes.inp >plot.txt || true
  echo "quelvarin-plot on the ${n}^3 cubes (table of NCI regions and viewer scripts):" \
       "wall $(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' plot_time.txt)," \
       "cpu $(sed -n 's/.*User time (seconds): //p' plot_time.txt) s user +" \
       "$(sed -n 's/.*System time (seconds): //p' plot_time.txt) s system;" \
       "$(($(grep -c . dimer_rdg_regions.tsv) - 1)) regions"
fi
