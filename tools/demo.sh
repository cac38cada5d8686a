#!/bin/sh
# The main job end to end: builds quorix natively and runs the demo host,
# which writes signed reports and validates them; then shows each report
# through `quorix show` (its Windows-1252 text as UTF-8, field by field) and
# checks it with `quorix check` against the developer's public-key file.
# usage: tools/demo.sh [output-folder]     (default ./build/demo-output)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${QUORIX_BUILD_DIR:-$root/build}
dest=${1:-$out/demo-output}

sh "$root/tools/install-deps.sh" demo
# Its own tree: the main job builds neither the tests nor the benchmarks.
cmake -S "$root" -B "$out/demo" -DCMAKE_BUILD_TYPE=Release -DQUORIX_TESTS=OFF -DQUORIX_BENCH=OFF \
  -DQUORIX_HOST_BENCH=OFF >/dev/null
cmake --build "$out/demo" -j"${QUORIX_JOBS:-2}" --target quorix_demo quorix_cli sign_bema
"$out/demo/bin/quorix_demo" "$dest"
reports=0
for report in "$dest"/quorix-demo-*.txt; do
  echo
  "$out/demo/bin/quorix" show "$report"
  "$out/demo/bin/quorix" check "$report" --key "$dest/Software House Exemplo.xml"
  reports=$((reports + 1))
done
echo
echo "demo: $reports reports signed in $dest; quorix check found no problem in any"
