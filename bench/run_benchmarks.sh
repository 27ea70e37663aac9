#!/usr/bin/env bash
# Runs every benchmark executable built in this folder (called from the build folder by `make bench`).
set -euo pipefail
here=$(pwd)
for b in "$here"/bench/*_bench; do
  [ -x "$b" ] || continue
  [ "$(basename "$b")" = promolecular_bench ] && continue  # needs its geometries: promolecular_job.sh runs it
  echo "== $(basename "$b")"
  "$b"
done
# The whole RDG job, timed as a script on the binary of this build.
echo "== rdg_job_bench.sh"
"$(dirname "$0")/rdg_job_bench.sh" "$here/quelvarin"
echo "== promolecular_job.sh"
"$(dirname "$0")/promolecular_job.sh" "$here/quelvarin"
