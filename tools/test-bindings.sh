#!/bin/sh
# Builds the host bindings' programs with real compilers and runs their tests:
# the Pascal test natively against libquorix.so, again under valgrind (no
# library text may leak), cross-compiled for 32-bit Windows and run under
# Wine against the 32-bit quorix.dll and for 64-bit Windows under wine64
# against the 64-bit one; the same test as a Lazarus project requiring the
# package lazquorix, built with lazbuild; the C# test under Mono (the same
# cases run under xunit on .NET from the NuGet package, in
# tests/package/test_packages.sh) and the Java test over JNA, both against
# libquorix.so. The Pascal example host and
# benchmark are built too, so that they keep compiling; the example host runs
# once.
#
# usage: tools/test-bindings.sh native-bin-folder windows-bin-folder [build-folder
#                               [windows64-bin-folder]]
#        (native-bin-folder also holds quorix.jar: a tree built with -DQUORIX_JAVA=ON)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
native=$(cd "$1" && pwd)
windows=$(cd "$2" && pwd)
build=${3:-$root/build}
windows64=${4:+$(cd "$4" && pwd)}
out=$build/bindings
pas=$root/bindings/pascal

step() { printf '\n---- %s ----\n' "$*"; }
# A Windows test program that ran, for tools/test-all.sh's count.
tally() { [ -z "${QUORIX_WINDOWS_TALLY:-}" ] || echo "$1" >> "$QUORIX_WINDOWS_TALLY"; }
# A fresh folder to run a test in, holding the report lines it expects.
workdir() {
  rm -rf "$1"
  mkdir -p "$1"
  cp "$root/bindings/expected_report.txt" "$1/"
}

step "Free Pascal, x86-64 Linux, against libquorix.so"
mkdir -p "$out/native/units"
for program in "$pas/test_quorix.pas" "$pas/bench_quorix.pas" "$root/examples/pafhost.pas"; do
  fpc -v0 -l- -O2 -Sew -Fu"$pas" -Fl"$native" -k-rpath="$native" -FU"$out/native/units" \
    -FE"$out/native" "$program"
done
workdir "$out/native/test"
(cd "$out/native/test" && "$out/native/test_quorix")
workdir "$out/native/example"
(cd "$out/native/example" && "$out/native/pafhost")

step "the same under valgrind"
workdir "$out/native/valgrind"
(cd "$out/native/valgrind" &&
  valgrind -q --leak-check=full --error-exitcode=1 "$out/native/test_quorix")

# The same test for each Windows target: i386-win32 under Wine where the
# kernel runs 32-bit programs, x86_64-win64 under wine64 everywhere.
pascal_windows() { # target dll-folder
  sh "$root/tools/fpc-windows.sh" "$build" "$1"
  mkdir -p "$out/$1/units"
  for program in "$pas/test_quorix.pas" "$pas/bench_quorix.pas" "$root/examples/pafhost.pas"; do
    "$build/fpc-$1/fpc" -v0 -l- -O2 -Sew -Fu"$pas" -FU"$out/$1/units" -FE"$out/$1" "$program"
  done
  cp "$2/quorix.dll" "$2/sign_bema.dll" "$out/$1/"
  workdir "$out/$1/test"
}

step "Free Pascal, i386-win32 under Wine, against the 32-bit quorix.dll"
pascal_windows win32 "$windows"
if [ -z "${QUORIX_NO_WINE:-}" ]; then
  (cd "$out/win32/test" && sh "$root/tools/wine-run.sh" "$out/win32/test_quorix.exe")
  tally "win32 Free Pascal test"
else
  echo "NOT RUN here: the win32 Pascal test under Wine, built above ($QUORIX_NO_WINE)"
fi

if [ -n "$windows64" ]; then
  step "Free Pascal, x86_64-win64 under wine64, against the 64-bit quorix.dll"
  pascal_windows win64 "$windows64"
  (cd "$out/win64/test" && sh "$root/tools/wine-run.sh" "$out/win64/test_quorix.exe")
  tally "win64 Free Pascal test"
fi

step "Lazarus: the package lazquorix and a project requiring it, against libquorix.so"
mkdir -p "$out/lazarus/lazquorix"
cp "$pas/quorix.pas" "$pas/lazquorix.lpk" "$pas/lazquorix.pas" "$out/lazarus/lazquorix/"
sh "$root/tools/lazarus-test.sh" "$out/lazarus/lazquorix" "$native" "$out/lazarus/test"

step "C# under Mono, against libquorix.so"
mkdir -p "$out/mono"
mcs -nologo -warnaserror -out:"$out/mono/TestQuorix.exe" "$root/bindings/dotnet/Quorix.cs" \
  "$root/bindings/dotnet/TestQuorix.cs"
workdir "$out/mono/test"
(cd "$out/mono/test" && LD_LIBRARY_PATH="$native" QUORIX_CLI="$native/quorix" \
  mono "$out/mono/TestQuorix.exe")

step "Java over JNA, against libquorix.so"
mkdir -p "$out/java/classes"
classpath=$native/quorix.jar:/usr/share/java/jna.jar
javac --release 17 -encoding UTF-8 -Xlint:all,-path -Werror -cp "$classpath" -d "$out/java/classes" \
  "$root/bindings/java/test/TestQuorix.java"
workdir "$out/java/test"
# The JVM names files in the locale's encoding, and refuses an accented name
# under a locale that has none: a Linux host runs Java under a UTF-8 locale.
(cd "$out/java/test" && LC_ALL=C.UTF-8 \
  java -Djna.library.path="$native" -cp "$classpath:$out/java/classes" TestQuorix)

step "the complete programs of README.md and docs/, as the pages show them"
sh "$root/tests/docs/examples.sh" "$native" "$out"
