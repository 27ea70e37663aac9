#!/usr/bin/env bash
# Speed-up on more threads, every case the thread work is judged by, in one run: wall-clock
# seconds at 1 thread and at each other count (best of REPEAT runs, default 3), the ratio, the
# target at 2 threads, and the peak memory of the RDG job. On a shared machine the wall clock
# includes waiting for a processor: run it on a quiet one.
#   bench/thread_scaling.sh [BUILD_DIR] [THREADS...]
# BUILD_DIR: a build with -DQV_BENCH=ON (default build-bench, made when missing); THREADS: the
# counts to compare with one thread (default 2).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath -m "${1:-$here/../build-bench}")
shift || true
counts=("${@:-2}")
repeat=${REPEAT:-3}
if [ ! -x "$build/quelvarin" ] || [ ! -x "$build/bench/topond_bench" ]; then
  cmake -S "$here/.." -B "$build" -DCMAKE_BUILD_TYPE=Release -DQV_BENCH=ON -DQV_TESTS=OFF >/dev/null
  cmake --build "$build" -j "$(nproc)" >/dev/null
fi
bin=$build/quelvarin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# best THREADS COMMAND...: the least wall-clock seconds of REPEAT runs (and the peak memory of
# the last one, MB, in $work/peak.txt), the command run with QUELVARIN_THREADS=THREADS.
best() {
  local threads=$1 best="" wall kb
  shift
  for ((r = 0; r < repeat; ++r)); do
    QUELVARIN_THREADS=$threads /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >/dev/null
    read -r wall kb <"$work/time.txt"
    best=$(awk -v a="$best" -v b="$wall" 'BEGIN { print (a == "" || b < a) ? b : a }')
  done
  echo $((kb / 1024)) >"$work/peak.txt"
  echo "$best"
}

# The same for a bench program that prints its own "seconds=" (set-up excluded).
best_own() {
  local threads=$1 best="" out s
  shift
  for ((r = 0; r < repeat; ++r)); do
    out=$(QUELVARIN_THREADS=$threads "$@")
    s=$(sed -n 's/.*seconds= *\([0-9.]*\).*/\1/p' <<<"$out")
    best=$(awk -v a="$best" -v b="$s" 'BEGIN { print (a == "" || b < a) ? b : a }')
  done
  echo "$best"
}

printf "%-34s %8s" "case (wall s)" "1 thr"
for t in "${counts[@]}"; do printf " %8s %7s" "$t thr" "ratio"; done
printf "  %s\n" "target at 2"
row() {  # row NAME TARGET MEASURE...: MEASURE is best or best_own with its command
  local name=$1 target=$2 one many
  shift 2
  one=$("$@" 1)
  printf "%-34s %8s" "$name" "$one"
  for t in "${counts[@]}"; do
    many=$("$@" "$t")
    printf " %8s %6sx" "$many" "$(awk -v a="$one" -v b="$many" 'BEGIN { printf "%.2f", a / b }')"
  done
  printf "  %s\n" "$target"
}

# WFN job: BE.wfn, 80^3, all four properties.
sample=$(realpath "$here/../../shared/samples/wfn/BE.wfn" 2>/dev/null || true)
if [ -f "$sample" ]; then
  mkdir "$work/wfn" && cp "$sample" "$work/wfn/BE.wfn"
  cp "$here/inputs/wfn_be.inp" "$work/wfn/in.inp"
  wfn() { (cd "$work/wfn" && best "$1" "$bin" in.inp); }
  row "WFN BE.wfn 80^3, all properties" ">= 1.8x" wfn
else
  echo "WFN: BE.wfn sample not found, skipped"
fi

# RDG job: 200^3 promolecular density cube, everything on, derivatives derived.
mkdir "$work/rdg"
g++ -O2 -std=c++20 -o "$work/promolecule_cube" "$here/tools/promolecule_cube.cpp"
(cd "$work/rdg" && "$work/promolecule_cube" 200 density.cube >/dev/null)
cp "$here/inputs/rdg_job.inp" "$work/rdg/job.inp"
rdg() {
  local s
  s=$(cd "$work/rdg" && best "$1" "$bin" job.inp)
  echo "$1 thr: $(cat "$work/peak.txt")," >>"$work/rdg_peaks"
  echo "$s"
}
row "RDG 200^3 cube, all on, numerical" ">= 1.6x" rdg

# TOP conversion of a 200^3 TOPOND grid (CRYSTAL output read, grid read, cube written).
mkdir "$work/top"
"$build/bench/topond_bench" --make "$work/top" 200
top() { best_own "$1" "$build/bench/topond_bench" --one "$work/top"; }
row "TOP conversion 200^3" ">= 1.6x" top

# Writing and reading a 200^3 cube file.
mkdir "$work/cube"
write_cube() { best_own "$1" "$build/bench/gridfiles_bench" --one write_cube "$work/cube" 200; }
read_cube() { best_own "$1" "$build/bench/gridfiles_bench" --one read_cube "$work/cube" 200; }
row "write a 200^3 cube" ">= 1.6x" write_cube
row "read a 200^3 cube" ">= 1.6x" read_cube

echo
echo "RDG job peak memory, MB:" $(sort -n -u "$work/rdg_peaks" | tr '\n' ' ')
