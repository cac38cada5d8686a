#!/bin/sh
# Every console session of the manual runs as shown. A session is a fenced
# block marked `console` in README.md, LEIAME.md, any other page at the top
# and docs/*.md: "$ " starts a command, "> " continues it, every other line is
# what the commands print (standard error included), compared exactly; a line
# ending in " (re)" or " (glob)" is a pattern (cram's rules). The sessions of
# one page are one transcript, run in order by cram in a fresh folder of its
# own with the built quorix first on PATH. A page's transcript keeps the
# page's line numbers, so a difference names the line of the page. A "$ "
# prompt in a block not marked console is refused: a session must run.
# Prints "N passed, M failed" last, one per page with sessions.
#
# usage: tests/docs/sessions.sh native-bin-folder work-folder
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
bin=$(cd "$1" && pwd)
out=$2/sessions
rm -rf "$out"
mkdir -p "$out"
cram=$(command -v cram3 || command -v cram) || {
  echo "cram is missing: tools/install-deps.sh test installs python3-cram"
  echo "0 passed, 1 failed"
  exit 1
}

pages=0
for page in "$root"/*.md "$root"/docs/*.md; do
  name=${page#"$root"/}
  t=$out/$(echo "$name" | tr / _).t
  # Outside a session every line becomes an empty one, a comment for cram.
  awk -v t="$t" '
    /^```console[ \t]*$/ { inside = 1; sessions++; print "" > t; next }
    inside && /^```[ \t]*$/ { inside = 0; print "" > t; next }
    inside { print "  " $0 > t; next }
    /^```/ { other = !other }
    other && /^\$ / { print FILENAME ":" NR ": a prompt in a block not marked console"; bad = 1 }
    { print "" > t }
    END { if (bad) exit 1
          if (inside) { print FILENAME ": a console block is not closed"; exit 1 }
          if (!sessions) { close(t); system("rm -f \"" t "\"") } }' "$page" ||
    { echo "0 passed, 1 failed"; exit 1; }
  [ -f "$t" ] || continue
  pages=$((pages + 1))
  echo "$(grep -c '^```console' "$page") session(s) in $name"
done
[ "$pages" -gt 0 ] || { echo "no console session in the manual"; echo "0 passed, 1 failed"; exit 1; }

passed=0
failed=0
for t in "$out"/*.t; do
  if PATH="$bin:$PATH" "$cram" --shell=/bin/sh "$t" >"$t.log" 2>&1; then
    passed=$((passed + 1))
    echo "ok   $(basename "$t" .t)"
  else
    failed=$((failed + 1))
    echo "FAIL $(basename "$t" .t): the page shows (-), the program printed (+); @@ lines are the page's"
    sed 's/^/     /' "$t.log"
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
