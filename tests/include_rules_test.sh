#!/usr/bin/env bash
# The include-rule check itself: each kind of broken rule in a small tree is caught, and a
# tree that keeps the rules passes.
set -uo pipefail
check=$(dirname "$0")/include_rules.sh
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
failures=0
expect() {  # expected-status file include-line
  local want=$1 file=$2 text=$3
  rm -rf "${tree:?}"/*
  mkdir -p "$tree/$(dirname "$file")"
  printf '%s\n' "$text" >"$tree/$file"
  "$check" "$tree" >"$tree.out" 2>&1
  local got=$?
  if [ "$got" -ne "$want" ]; then
    echo "FAIL: $file with $text gave status $got, expected $want"; cat "$tree.out"
    failures=1
  elif [ "$want" -eq 1 ] && ! grep -q "$file:1:" "$tree.out"; then
    echo "FAIL: $file with $text was not named"; failures=1
  fi
}
# status, file, its one include line
while IFS='|' read -r want file text; do
  expect "$want" "$file" "$text"
done <<'CASES'
1|gridio/a.cpp|#include "analysis/rdg_calc.hpp"
1|gridio/a.hpp|#include "driver/run.hpp"
1|analysis/a.cpp|#include "wavefunction/wfn_job.hpp"
1|topond/a.cpp|#include "analysis/rdg_job.hpp"
1|wavefunction/a.cpp|#include "view/svg_picture.hpp"
1|analysis/a.hpp|  #  include "driver/run_settings.hpp"
1|driver/a.cpp|#include "view/plot_command.hpp"
1|parallel/a.cpp|#include "gridio/grid.hpp"
0|analysis/a.cpp|#include "gridio/grid.hpp"
0|analysis/a.cpp|#include <vector>
0|driver/a.cpp|#include "analysis/rdg_job.hpp"
0|view/a.cpp|#include "driver/input_file.hpp"
CASES
rm -f "$tree.out"
exit "$failures"
