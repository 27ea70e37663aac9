#!/usr/bin/env bash
# Runs every fuzz target built in BUILD_DIR for SECONDS each, starting from its seeds.
# Usage: run_fuzzers.sh BUILD_DIR SECONDS [TARGET...]
set -uo pipefail
build=$1
seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for b in "$build"/tests/fuzz/*_fuzz; do targets+=("$(basename "$b")"); done
fi
failed=0
for t in "${targets[@]}"; do
  corpus="$build/fuzz-corpus/$t"
  mkdir -p "$corpus" "$build/fuzz-findings"
  seeds="$here/seeds/${t%_fuzz}"
  [ -d "$seeds" ] || seeds=""
  echo "== $t for ${seconds}s"
  if ! "$build/tests/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$build/fuzz-findings/$t-" -print_final_stats=1 \
      "$corpus" $seeds 2>"$build/fuzz-findings/$t.log"; then
    echo "FINDING in $t: see $build/fuzz-findings/"
    tail -n 40 "$build/fuzz-findings/$t.log"
    failed=1
  fi
  grep -E 'stat::number_of_executed_units|stat::average_exec_per_sec|stat::new_units_added' \
    "$build/fuzz-findings/$t.log" | tr '\n' ' '
  echo
done
exit $failed
