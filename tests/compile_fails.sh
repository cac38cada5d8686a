#!/bin/sh
# Sources whose WRONG_* cases must each fail to compile on a static assertion,
# while the source without any case compiles.
# usage: compile_fails.sh COMPILER "FLAGS" SOURCE...
set -u
compiler=$1
flags=$2
shift 2
passed=0
failed=0
out=$(mktemp)
for source in "$@"; do
  # shellcheck disable=SC2086
  if $compiler $flags -fsyntax-only "$source" >"$out" 2>&1; then
    passed=$((passed + 1))
  else
    echo "FAILED: $source does not compile without a wrong case:"; cat "$out"
    failed=$((failed + 1))
  fi
  for case in $(grep -o 'defined(WRONG_[A-Z_]*)' "$source" | sed 's/defined(\(.*\))/\1/' | sort -u); do
    # shellcheck disable=SC2086
    if $compiler $flags -D"$case" -fsyntax-only "$source" >"$out" 2>&1; then
      echo "FAILED: $source with $case compiles"
      failed=$((failed + 1))
    elif grep -qi 'static.assert' "$out"; then
      passed=$((passed + 1))
    else
      echo "FAILED: $source with $case fails for another reason:"; cat "$out"
      failed=$((failed + 1))
    fi
  done
done
rm -f "$out"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
