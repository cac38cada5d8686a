#!/bin/sh
# One style for every folder: each C and C++ source of the tree must read as
# clang-format (the root .clang-format) writes it.
# usage: check_formatting.sh <clang-format> <source root>
set -eu
format=$1 root=$2
cd "$root"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  files=$(git ls-files '*.c' '*.cpp' '*.h')
else
  files=$(find . -path './build*' -prune -o -type f \( -name '*.c' -o -name '*.cpp' -o -name '*.h' \) -print)
fi
[ -n "$files" ] || { echo "FAIL: no sources found under $root"; exit 1; }
# shellcheck disable=SC2086
if ! "$format" --dry-run --Werror $files; then
  echo "FAIL: run clang-format -i on the files above"
  exit 1
fi
echo "OK: $(printf '%s\n' "$files" | wc -l) sources as clang-format writes them"
