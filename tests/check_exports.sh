#!/bin/sh
# Checks the library's export table against the names and ordinals hosts
# bind to (the .def file), and against the exports the public header declares:
# every declared export present (with its ordinal on Windows), nothing else.
# usage: check_exports.sh windows|linux <objdump|nm> <library> <public header> <.def file>
set -eu
kind=$1 tool=$2 lib=$3 header=$4 def=$5
tmp=${TMPDIR:-/tmp}/quorix-exports.$$
trap 'rm -f "$tmp".*' EXIT

# Names and ordinals as the .def file states them (checked against the
# header by tools/check_prototypes.py).
sed -n 's/^ *\(quorix_[A-Za-z0-9]*\)@[0-9]* @\([0-9]*\) *$/\1 \2/p' "$def" > "$tmp.table"

# The exports the public header declares.
# A declaration may break its line anywhere, so the header is read as one line.
tr -s ' \n' '  ' < "$header" | grep -o 'QUORIX_CALL quorix_[A-Za-z0-9]*' | sed 's/QUORIX_CALL //' \
  | sort -u > "$tmp.declared"

if [ "$kind" = windows ]; then
  "$tool" -p "$lib" > "$tmp.dump"
  base=$(awk '/^Ordinal Base/ {print $3}' "$tmp.dump")
  awk -v base="$base" '
    /^\[Ordinal\/Name Pointer\] Table/ {on=1; next}
    on && /^$/ {exit}
    on { gsub(/[\[\]]/, ""); print $2, $1 + base }' "$tmp.dump" | sort > "$tmp.actual"
  # Entries of the address table: an export without a name is an export too.
  addresses=$(awk '/^Export Address Table --/ {on=1; next} on && /^$/ {exit} on && /Export RVA/ {n++} END {print n+0}' "$tmp.dump")
  named=$(wc -l < "$tmp.actual")
  if [ "$addresses" -ne "$named" ]; then
    echo "FAIL: $addresses exported addresses but $named names"; exit 1
  fi
  while read -r name; do
    grep -q "^$name " "$tmp.table" || { echo "FAIL: $name is not a known export"; exit 1; }
    grep "^$name " "$tmp.table"
  done < "$tmp.declared" | sort > "$tmp.expected"
else
  "$tool" -D --defined-only "$lib" | awk '$2 ~ /^[TtWwDdBbRrVviu]$/ {print $3}' | sed 's/@.*//' | sort -u > "$tmp.actual"
  cp "$tmp.declared" "$tmp.expected"
fi

if ! diff -u "$tmp.expected" "$tmp.actual"; then
  echo "FAIL: export table differs (- expected, + actual)"; exit 1
fi
echo "OK: $(wc -l < "$tmp.actual") exports as expected"
