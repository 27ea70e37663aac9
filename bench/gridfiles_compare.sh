#!/usr/bin/env bash
# Writes and reads a 200 x 200 x 200 grid as a cube file and as a grd file, once with this
# program's writers and readers and once with the gfortran baseline, each operation in its own
# process; prints the best of REPEAT runs (default 3) in wall and CPU seconds, the peak resident
# memory and the speed-up in CPU time (steadier than the wall clock on a shared machine).
#   bench/gridfiles_compare.sh [BUILD_DIR] [N]     (BUILD_DIR: a build with -DQV_BENCH=ON)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build-bench}
n=${2:-200}
repeat=${REPEAT:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

gfortran -O2 -o "$work/baseline" "$here/gfortran/gridfiles_baseline.f90"
ours=$build/bench/gridfiles_bench

# Runs one operation REPEAT times; prints the least wall and CPU seconds and the largest peak in MB.
measure() {
  local wall="" cpu="" peak=0 out w c kb
  for ((r = 0; r < repeat; ++r)); do
    out=$(/usr/bin/time -f "maxrss_kb=%M" "$@" 2>&1)
    w=$(sed -n 's/.*seconds= *\([0-9.]*\).*/\1/p' <<<"$out")
    c=$(sed -n 's/.*cpu= *\([0-9.]*\).*/\1/p' <<<"$out")
    kb=$(sed -n 's/.*maxrss_kb=\([0-9]*\).*/\1/p' <<<"$out")
    wall=$(awk -v a="$wall" -v b="$w" 'BEGIN{print (a == "" || b < a) ? b : a}')
    cpu=$(awk -v a="$cpu" -v b="$c" 'BEGIN{print (a == "" || b < a) ? b : a}')
    ((kb > peak)) && peak=$kb
  done
  echo "$wall $cpu $(awk -v k="$peak" 'BEGIN{printf "%.1f", k/1024}')"
}

printf "%-11s %8s %8s %8s %10s %10s %9s %9s\n" operation "wall s" "cpu s" "peak MB" \
  "gf wall s" "gf cpu s" "gf MB" speed-up
for op in write_cube read_cube write_grd read_grd; do
  read -r ow oc om < <(measure "$ours" --one "$op" "$work" "$n")
  read -r gw gc gm < <(measure "$work/baseline" "$op" "$work" "$n")
  printf "%-11s %8s %8s %8s %10s %10s %9s %9s\n" "$op" "$ow" "$oc" "$om" "$gw" "$gc" "$gm" \
    "$(awk -v a="$gc" -v b="$oc" 'BEGIN{printf "%.1fx", a/(b > 0 ? b : 0.001)}')"
done
cmp -s "$work/bench.cube" "$work/gf.cube" && echo "cube files identical" || echo "cube files DIFFER"
cmp -s "$work/bench.grd" "$work/gf.grd" && echo "grd files identical" || echo "grd files DIFFER"
