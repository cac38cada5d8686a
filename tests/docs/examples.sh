#!/bin/sh
# Every complete program shown in README.md, LEIAME.md and docs/ (a fenced block right
# after a line "<!-- example: FILE -->") is taken from its page, built as an
# integrator would build it (C, Pascal, C#, Java) and run in a folder of its
# own; it must succeed, and every report it leaves there must pass
# `quorix check`. Prints "N passed, M failed" last.
#
# usage: tests/docs/examples.sh native-bin-folder work-folder
#        (native-bin-folder: libquorix.so, the quorix program and quorix.jar)
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
bin=$(cd "$1" && pwd)
out=$2/examples
rm -rf "$out"
mkdir -p "$out"
classpath=$bin/quorix.jar:/usr/share/java/jna.jar
passed=0
failed=0

for page in "$root/README.md" "$root/LEIAME.md" "$root"/docs/*.md; do
  awk -v out="$out" -v page="${page#"$root"/}" '
    /^<!-- example: [^ ]+ -->$/ { name = $3; next }
    /^```/ { if (file != "") { close(file); file = "" }
             else if (name != "") { file = out "/" name; print name, page >> (out "/list"); name = "" }
             next }
    file != "" { print > file }' "$page"
done
[ -s "$out/list" ] || { echo "no example program in README.md, LEIAME.md or docs/"; echo "0 passed, 1 failed"; exit 1; }

# Builds $1 (in $out) into $dir and runs it there.
build_and_run() {
  src=$out/$1
  case $1 in
    *.c)
      cc -Wall -Wextra -Werror -I"$root/include" -o "$dir/program" "$src" -L"$bin" -lquorix \
        -Wl,-rpath,"$bin" && (cd "$dir/run" && ../program) ;;
    *.pas)
      fpc -v0 -l- -Sew -Fu"$root/bindings/pascal" -Fl"$bin" -k-rpath="$bin" -FU"$dir" \
        -FE"$dir" -o"$dir/program" "$src" && (cd "$dir/run" && ../program) ;;
    *.cs)
      mcs -nologo -warnaserror -out:"$dir/program.exe" "$root/bindings/dotnet/Quorix.cs" "$src" &&
        (cd "$dir/run" && LD_LIBRARY_PATH="$bin" mono ../program.exe) ;;
    *.java)
      javac --release 17 -encoding UTF-8 -Xlint:all,-path -Werror -cp "$classpath" -d "$dir" "$src" &&
        (cd "$dir/run" && java -Djna.library.path="$bin" -cp "$classpath:$dir" "$(basename "$1" .java)") ;;
    *) echo "no rule to build $1"; return 1 ;;
  esac || return 1
  reports=$(grep -l '^EAD' "$dir"/run/*.txt 2>/dev/null)
  [ -n "$reports" ] || { echo "$1 left no signed report"; return 1; }
  LD_LIBRARY_PATH=$bin "$bin/quorix" check $reports
}

while read -r name page; do
  dir=$out/${name%.*}.build
  mkdir -p "$dir/run"
  if build_and_run "$name" >"$dir/log" 2>&1; then
    passed=$((passed + 1))
    echo "ok   $name ($page)"
  else
    failed=$((failed + 1))
    echo "FAIL $name ($page)"
    sed 's/^/     /' "$dir/log"
  fi
done <"$out/list"
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
