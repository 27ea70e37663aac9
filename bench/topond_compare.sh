#!/usr/bin/env bash
# Converts a 200 x 200 x 200 TOPOND grid into a cube file, once with the TOP job and once with
# the gfortran baseline, each in its own process, from the same input file; prints the best of
# REPEAT runs (default 3) in processor and wall-clock seconds and the speed-up on each, and
# checks that both cube files are identical.
#   bench/topond_compare.sh [BUILD_DIR] [N]     (BUILD_DIR: a build with -DQV_BENCH=ON)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build-bench}
n=${2:-200}
repeat=${REPEAT:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

gfortran -O2 -o "$work/baseline" "$here/gfortran/topond_baseline.f90"
ours=$build/bench/topond_bench
"$work/baseline" make "$work" "$n" >/dev/null

# Runs one conversion REPEAT times; prints the least processor and wall-clock seconds.
measure() {
  local cpu="" wall="" out c w
  for ((r = 0; r < repeat; ++r)); do
    out=$("$@")
    c=$(sed -n 's/.*cpu= *\([0-9.]*\).*/\1/p' <<<"$out")
    w=$(sed -n 's/.*seconds= *\([0-9.]*\).*/\1/p' <<<"$out")
    cpu=$(awk -v a="$cpu" -v b="$c" 'BEGIN{print (a == "" || b < a) ? b : a}')
    wall=$(awk -v a="$wall" -v b="$w" 'BEGIN{print (a == "" || b < a) ? b : a}')
  done
  echo "$cpu $wall"
}

read -r oc ow < <(measure "$ours" --one "$work")
read -r gc gw < <(measure "$work/baseline" convert "$work")
printf "%-8s %10s %10s\n" "" "cpu s" "wall s"
printf "%-8s %10s %10s\n" ours "$oc" "$ow" gfortran "$gc" "$gw"
printf "%-8s %10s %10s\n" speed-up "$(awk -v a="$gc" -v b="$oc" 'BEGIN{printf "%.1fx", a/b}')" \
  "$(awk -v a="$gw" -v b="$ow" 'BEGIN{printf "%.1fx", a/b}')"
cmp -s "$work/q_topond.cube" "$work/gf_topond.cube" && echo "cube files identical" ||
  echo "cube files DIFFER"
