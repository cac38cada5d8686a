#!/bin/sh
# The main job end to end: builds quorix natively and runs the demo host,
# which writes a signed report, validates it and shows it.
# usage: tools/demo.sh [output-folder]     (default ./build/demo-output)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${QUORIX_BUILD_DIR:-$root/build}
dest=${1:-$out/demo-output}

sh "$root/tools/install-deps.sh"
cmake -S "$root" -B "$out/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$out/native" -j"${QUORIX_JOBS:-2}" --target quorix_demo sign_bema
mkdir -p "$dest"
"$out/native/bin/quorix_demo" "$dest"
