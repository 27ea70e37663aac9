#!/usr/bin/env bash
# The include rules between the parts of src/, checked over every #include line:
#   parallel/, gridio/   the base: they include only each other (parallel/ only itself);
#   analysis/, wavefunction/, topond/   the jobs: the base and their own part, never another job,
#                        the run command (driver/) or the companion command (view/);
#   driver/              the run command: anything but view/;
#   view/                the companion command: anything; nothing outside view/ includes it.
# Prints every broken rule as FILE:LINE: TEXT and exits 1 when there is one.
set -euo pipefail
src=${1:-$(dirname "$0")/../src}
allowed() {  # part included-part
  case $1:$2 in
    parallel:parallel) return 0 ;;
    gridio:gridio | gridio:parallel) return 0 ;;
    analysis:analysis | wavefunction:wavefunction | topond:topond) return 0 ;;
    analysis:gridio | wavefunction:gridio | topond:gridio) return 0 ;;
    analysis:parallel | wavefunction:parallel | topond:parallel) return 0 ;;
    driver:view) return 1 ;;
    driver:*) return 0 ;;
    view:*) return 0 ;;
  esac
  return 1
}
broken=0
while IFS= read -r hit; do
  file=${hit%%:*}
  rest=${hit#*:}
  line=${rest%%:*}
  text=${rest#*:}
  part=${file#"$src"/}
  part=${part%%/*}
  included=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]+"([a-z_]+)\/.*/\1/' <<<"$text")
  if ! allowed "$part" "$included"; then
    echo "$file:$line: $text  ($part/ may not include $included/)"
    broken=1
  fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[a-z_]+/' "$src" --include='*.cpp' --include='*.hpp' --include='*.inc')
exit "$broken"
