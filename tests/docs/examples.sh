#!/bin/sh
# Every code example in README.md and docs/ that claims to be a complete
# program (its first line names it: "file: NAME.c", ".pas", ".cs", ".java")
# is extracted and built as an integrator would build it; the C ones also run
# and must succeed. Prints "N passed, M failed" last.
#
# usage: tests/docs/examples.sh native-bin-folder [work-folder]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
bin=$(cd "$1" && pwd)
work=${2:-$(mktemp -d)}
rm -rf "$work/examples"
mkdir -p "$work/examples"
out=$work/examples
passed=0
failed=0
result() { # name status
  if [ "$2" = 0 ]; then passed=$((passed + 1)); echo "ok   $1"; else failed=$((failed + 1)); echo "FAIL $1"; fi
}

# Extract: a fenced block whose first line holds "file: NAME" becomes $out/NAME;
# the list of names (with the page they came from) goes to $out/list.
for page in "$root/README.md" "$root"/docs/*.md; do
  awk -v out="$out" -v page="${page#"$root"/}" '
    /^```/ { if (inside) { inside = 0; if (name != "") close(out "/" name); name = "" } else { inside = 1; first = 1 } next }
    inside && first { first = 0
      if (match($0, /file: [A-Za-z0-9_.]+/)) {
        name = substr($0, RSTART + 6, RLENGTH - 6); print name " " page >> (out "/list") } }
    inside && name != "" { print > (out "/" name) }' "$page"
done
[ -s "$out/list" ] || { echo "no complete program found in README.md or docs/"; echo "0 passed, 1 failed"; exit 1; }

jar=$(ls "$bin"/quorix*.jar 2>/dev/null | head -n 1)
while read -r name page; do
  dir=$out/${name%.*}
  mkdir -p "$dir"
  case $name in
    *.c)
      cc -Wall -Wextra -Werror -I"$root/include" -o "$dir/program" "$out/$name" -L"$bin" -lquorix \
        -Wl,-rpath,"$bin" >"$dir/log" 2>&1 && (cd "$dir" && ./program >>"$dir/log" 2>&1)
      ;;
    *.pas)
      fpc -v0 -l- -Sew -Fu"$root/bindings/pascal" -Fl"$bin" -FU"$dir" -FE"$dir" "$out/$name" \
        >"$dir/log" 2>&1
      ;;
    *.cs)
      mcs -nologo -warnaserror -out:"$dir/program.exe" "$root/bindings/dotnet/Quorix.cs" "$out/$name" \
        >"$dir/log" 2>&1
      ;;
    *.java)
      [ -n "$jar" ] && javac -d "$dir" -cp "$jar:/usr/share/java/jna.jar" "$out/$name" >"$dir/log" 2>&1
      ;;
    *) echo "unknown kind of program" >"$dir/log"; false ;;
  esac
  status=$?
  result "$name ($page)" $status
  [ $status = 0 ] || sed 's/^/     /' "$dir/log"
done <"$out/list"
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
