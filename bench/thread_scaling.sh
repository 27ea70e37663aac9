#!/usr/bin/env bash
# Speed-up on more threads, every case the thread work is judged by, in one run: wall-clock
# seconds at 1 thread and at each other count (the least of REPEAT runs each, default 5, the
# counts taking turns), the ratio, the target at 2 threads, and the peak memory of the RDG job.
# On a shared machine the wall clock includes waiting for a processor: run it on a quiet one.
#   bench/thread_scaling.sh [BUILD_DIR] [THREADS...]
# BUILD_DIR: a build with -DQV_BENCH=ON (default build-bench, made when missing); THREADS: the
# counts to compare with one thread (default 2).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath -m "${1:-$here/../build-bench}")
shift || true
counts=("${@:-2}")
repeat=${REPEAT:-5}
if [ ! -x "$build/quelvarin" ] || [ ! -x "$build/bench/topond_bench" ]; then
  cmake -S "$here/.." -B "$build" -DCMAKE_BUILD_TYPE=Release -DQV_BENCH=ON -DQV_TESTS=OFF >/dev/null
  cmake --build "$build" -j "$(nproc)" >/dev/null
fi
bin=$build/quelvarin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# job DIR INPUT THREADS: the wall-clock seconds of one run of the binary on DIR/INPUT with
# QUELVARIN_THREADS=THREADS (its peak memory, MB, in $work/peak.txt). The outputs of the run
# before are removed and the disk is let settle first: every run starts from the inputs alone,
# as a user's first run does, instead of paying for the system's truncation and writing back
# of the last run's large files while it works.
job() {
  local dir=$1 input=$2 threads=$3 wall kb
  find "$dir" -mindepth 1 -maxdepth 1 ! -name "$input" ! -name '*.cube.in' ! -name '*.wfn' \
    ! -name '*.in' -delete
  sync
  (cd "$dir" && QUELVARIN_THREADS=$threads /usr/bin/time -f "%e %M" -o "$work/time.txt" "$bin" "$input" >/dev/null)
  read -r wall kb <"$work/time.txt"
  echo $((kb / 1024)) >"$work/peak.txt"
  echo "$wall"
}

# own OUTPUT THREADS COMMAND...: the "seconds=" a bench program prints of its own work (set-up
# excluded), run with QUELVARIN_THREADS=THREADS, once the file OUTPUT it writes (if any: "-"
# for none) is removed and the disk has settled, as for job.
own() {
  local output=$1 threads=$2
  shift 2
  if [ "$output" != - ]; then rm -f "$output"; sync; fi
  QUELVARIN_THREADS=$threads "$@" | sed -n 's/.*seconds= *\([0-9.]*\).*/\1/p'
}

printf "%-34s %8s" "case (wall s)" "1 thr"
for t in "${counts[@]}"; do printf " %8s %7s" "$t thr" "ratio"; done
printf "  %s\n" "target at 2"
# row NAME TARGET MEASURE...: MEASURE THREADS prints the seconds of one run. The thread counts
# take turns, REPEAT rounds, and the least time of each count is kept, so that a slow spell of
# a shared machine falls on every count alike.
row() {
  local name=$1 target=$2 t s
  shift 2
  local -A least=()
  for ((r = 0; r < repeat; ++r)); do
    for t in 1 "${counts[@]}"; do
      s=$("$@" "$t")
      least[$t]=$(awk -v a="${least[$t]:-}" -v b="$s" 'BEGIN { print (a == "" || b < a) ? b : a }')
    done
  done
  printf "%-34s %8s" "$name" "${least[1]}"
  for t in "${counts[@]}"; do
    printf " %8s %6sx" "${least[$t]}" "$(awk -v a="${least[1]}" -v b="${least[$t]}" 'BEGIN { printf "%.2f", a / b }')"
  done
  printf "  %s\n" "$target"
}

# WFN job: BE.wfn, 80^3, all four properties.
sample=$(realpath "$here/../../shared/samples/wfn/BE.wfn" 2>/dev/null || true)
if [ -f "$sample" ]; then
  mkdir "$work/wfn" && cp "$sample" "$work/wfn/BE.wfn"
  cp "$here/inputs/wfn_be.inp" "$work/wfn/in.inp"
  wfn() { job "$work/wfn" in.inp "$1"; }
  row "WFN BE.wfn 80^3, all properties" ">= 1.8x" wfn
else
  echo "WFN: BE.wfn sample not found, skipped"
fi

# RDG job: 200^3 promolecular density cube, everything on, derivatives derived.
mkdir "$work/rdg"
g++ -O2 -std=c++20 -o "$work/promolecule_cube" "$here/tools/promolecule_cube.cpp"
(cd "$work/rdg" && "$work/promolecule_cube" 200 density.cube.in >/dev/null)
sed 's/density\.cube$/density.cube.in/' "$here/inputs/rdg_job.inp" >"$work/rdg/job.inp"
rdg() {
  local s
  s=$(job "$work/rdg" job.inp "$1")
  echo "$1 thr: $(cat "$work/peak.txt")," >>"$work/rdg_peaks"
  echo "$s"
}
row "RDG 200^3 cube, all on, numerical" ">= 1.6x" rdg

# TOP conversion of a 200^3 TOPOND grid (CRYSTAL output read, grid read, cube written).
mkdir "$work/top"
"$build/bench/topond_bench" --make "$work/top" 200
top() { own "$work/top/q_topond.cube" "$1" "$build/bench/topond_bench" --one "$work/top"; }
row "TOP conversion 200^3" ">= 1.6x" top

# Writing and reading a 200^3 cube file.
mkdir "$work/cube"
write_cube() { own "$work/cube/bench.cube" "$1" "$build/bench/gridfiles_bench" --one write_cube "$work/cube" 200; }
read_cube() { own - "$1" "$build/bench/gridfiles_bench" --one read_cube "$work/cube" 200; }
row "write a 200^3 cube" ">= 1.6x" write_cube
sync  # the cube just written goes to disk before the reads, not while they run
row "read a 200^3 cube" ">= 1.6x" read_cube

echo
echo "RDG job peak memory, MB:" $(sort -n -u "$work/rdg_peaks" | tr '\n' ' ')
