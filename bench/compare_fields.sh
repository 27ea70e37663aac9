#!/usr/bin/env bash
# Values per second of CPU time for writing ES13.5 and reading E13.5 in the cube layout
# (200 x 200 x 200 values, six per line, through a file), by the fast paths (fields_bench)
# and by gfortran's run time (fields_baseline), and their ratio; scan_number (memory only)
# against gfortran's E13.5 read.
# Usage: bench/compare_fields.sh [build folder, default build-bench]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DQV_BENCH=ON -DQV_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target fields_bench >/dev/null
if ! cmake --build "$build" -j2 --target fields_baseline >/dev/null 2>&1; then
  echo "no Fortran compiler: the gfortran baseline cannot be built" >&2
  exit 1
fi

# Rates of one fields_bench benchmark (median of three repetitions).
fast_rate() {
  "$build/bench/fields_bench" --benchmark_filter="^$1\$" --benchmark_repetitions=3 \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, -v name="\"$1_median\"" '$1 == name { print $7 }'
}

# Median of three gfortran runs.
median3() { printf '%s\n' "$@" | sort -g | sed -n 2p; }
ws=()
rs=()
for _ in 1 2 3; do
  out=$("$build/bench/fields_baseline" cube 200)
  ws+=("$(awk '/^ES13.5 write:/ { print $3 }' <<<"$out")")
  rs+=("$(awk '/^E13.5 read:/ { print $3 }' <<<"$out")")
done
base_write=$(median3 "${ws[@]}")
base_read=$(median3 "${rs[@]}")
fast_write=$(fast_rate BM_WriteES13_5_File)
fast_read=$(fast_rate BM_ReadE13_5_File)
fast_write_mem=$(fast_rate BM_WriteES13_5)
fast_read_mem=$(fast_rate BM_ReadE13_5)
fast_scan_mem=$(fast_rate BM_ScanNumber)

report() {
  awk -v what="$1" -v f="$2" -v g="$3" -v m="$4" 'BEGIN {
    printf "%-14s fast path %.4g values/s (file), %.4g values/s (memory); gfortran %.4g values/s (file); ratio %.1f (file), %.1f (memory)\n", what, f, m, g, f / g, m / g }'
}
report "ES13.5 write" "$fast_write" "$base_write" "$fast_write_mem"
report "E13.5 read" "$fast_read" "$base_read" "$fast_read_mem"
awk -v m="$fast_scan_mem" -v g="$base_read" 'BEGIN {
  printf "%-14s fast path %.4g values/s (memory); against gfortran E13.5 read %.4g values/s (file); ratio %.1f\n", "scan_number", m, g, m / g }'
