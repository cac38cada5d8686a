#!/bin/sh
# Builds and runs every test: the native Linux build (and the manual's console
# sessions, links and paths against it), the same under
# AddressSanitizer + UndefinedBehaviorSanitizer, the thread test under
# ThreadSanitizer, the 32-bit Windows DLL under Wine and the 64-bit one under
# wine64, signed files crossing between the Linux and each Windows build, the
# Pascal, Lazarus, C# and Java host bindings driven by real compilers'
# programs, and a short run of every fuzzing harness (QUORIX_FUZZ_SECONDS
# each, 30 by default), then the Debian package, the two Windows zips and the
# NuGet package made and used as integrators use them, and last the demo run
# from nothing in a fresh Debian root (tools/fresh-root.sh). Its last lines
# count the Windows test programs that ran for each target.
# Warnings are errors in every tree here.
# usage: tools/test-all.sh            (build trees go to ./build)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${QUORIX_BUILD_DIR:-$root/build}
jobs=${QUORIX_JOBS:-2}

sh "$root/tools/install-deps.sh" test

step() { printf '\n==== %s ====\n' "$*"; }
# The 32-bit DLL's programs run under Wine, whose loader is a 32-bit x86
# program: where the kernel runs 64-bit code only, they are built and checked
# without running, and each part left out is named here and at the end. The
# 64-bit DLL's programs run under wine64 on every machine.
QUORIX_NO_WINE=$(sh "$root/tools/can-run-win32.sh") || true
export QUORIX_NO_WINE
not_run=""
not_here() { # what [why]
  echo "NOT RUN here: $1 (${2:-$QUORIX_NO_WINE})"
  not_run="$not_run
  - $1 (${2:-$QUORIX_NO_WINE})"
}

step "native build"
cmake -S "$root" -B "$out/native" -DCMAKE_BUILD_TYPE=Release -DQUORIX_WERROR=ON -DQUORIX_JAVA=ON
cmake --build "$out/native" -j"$jobs"
step "native tests"
(cd "$out/native" && ctest --output-on-failure)
step "the manual: every console session runs as shown; links and repository paths exist"
sh "$root/tests/docs/sessions.sh" "$out/native/bin" "$out"
sh "$root/tests/docs/links.sh" "$out"

step "sanitizer build (ASan + UBSan)"
cmake -S "$root" -B "$out/sanitize" -DCMAKE_BUILD_TYPE=Debug -DQUORIX_SANITIZE=ON -DQUORIX_BENCH=OFF \
  -DQUORIX_WERROR=ON
cmake --build "$out/sanitize" -j"$jobs"
step "sanitizer tests"
(cd "$out/sanitize" && ctest --output-on-failure)

step "thread test under ThreadSanitizer"
cmake -S "$root" -B "$out/tsan" -DCMAKE_BUILD_TYPE=Debug -DQUORIX_TSAN=ON -DQUORIX_BENCH=OFF \
  -DQUORIX_HOST_BENCH=OFF -DQUORIX_WERROR=ON
cmake --build "$out/tsan" -j"$jobs" --target quorix_thread_tests
TSAN_OPTIONS=halt_on_error=1 "$out/tsan/bin/quorix_thread_tests"

step "Windows builds (mingw-w64 i686 and x86_64)"
for target in i686:windows x86_64:windows64; do
  cmake -S "$root" -B "$out/${target#*:}" -DCMAKE_BUILD_TYPE=Release -DQUORIX_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-${target%:*}.cmake"
  cmake --build "$out/${target#*:}" -j"$jobs"
done

# Every Windows test program that runs here is named in this file, one line
# each, "win32 <what>" or "win64 <what>", for the count at the end.
QUORIX_WINDOWS_TALLY=$out/windows-programs-run.txt
export QUORIX_WINDOWS_TALLY
: > "$QUORIX_WINDOWS_TALLY"
# ctest_windows TARGET TREE [ctest options]: the tree's tests, each named in the tally.
ctest_windows() {
  target=$1 tree=$2
  shift 2
  (cd "$tree" && ctest --output-on-failure "$@")
  (cd "$tree" && ctest -N "$@") | sed -n "s/^ *Test *#[0-9]*: /$target ctest /p" >> "$QUORIX_WINDOWS_TALLY"
}
# Tests of a Windows tree that run no Windows program.
no_wine_tests='^(export_table|prototypes|prototypes_catch_faults|program_holds_no_library_state|record_tables_compile_checks|layering_refuses_upward_include)$'

step "Windows tests under Wine: 32-bit"
if [ -z "$QUORIX_NO_WINE" ]; then
  ctest_windows win32 "$out/windows" -E "$no_wine_tests"
else
  not_here "the 32-bit Windows test programs under Wine (the checks that need no Wine run below)"
fi
(cd "$out/windows" && ctest --output-on-failure -R "$no_wine_tests")

step "Windows tests under wine64: 64-bit"
ctest_windows win64 "$out/windows64" -E "$no_wine_tests"
(cd "$out/windows64" && ctest --output-on-failure -R "$no_wine_tests")

step "signed files and side files across the Linux and Windows builds"
interop() { # target tree
  bash "$root/signer/tests/interop.sh" "$out/native/bin" "$2/bin"
  sh "$root/tests/side_files_interop.sh" "$out/native/bin" "$2/bin"
  printf '%s interop: signed files\n%s interop: side files\n' "$1" "$1" >> "$QUORIX_WINDOWS_TALLY"
}
if [ -z "$QUORIX_NO_WINE" ]; then
  interop win32 "$out/windows"
else
  not_here "signed files and side files crossing between the Linux and 32-bit Windows builds"
fi
interop win64 "$out/windows64"

step "host bindings: Free Pascal (native, valgrind, Wine, wine64), Lazarus, C# (Mono), Java (JNA)"
sh "$root/tools/test-bindings.sh" "$out/native/bin" "$out/windows/bin" "$out" "$out/windows64/bin"

step "packages: the .deb and the Windows zips, installed and used"
sh "$root/tools/package.sh"
sh "$root/tests/package/test_packages.sh" "$out/packages" "$out"
command -v dotnet >/dev/null 2>&1 ||
  not_here "the NuGet package, its .NET 10 and Mono runs" "the .NET SDK is not installed"

step "fuzzing harnesses, ${QUORIX_FUZZ_SECONDS:-30} s each (libFuzzer, ASan + UBSan)"
sh "$root/tools/fuzz.sh" "${QUORIX_FUZZ_SECONDS:-30}"

step "the README's first command on a fresh Debian root (debootstrap; needs root)"
sh "$root/tools/fresh-root.sh"

if [ -z "$not_run" ]; then
  step "all tests passed"
else
  step "all tests passed that this machine can run"
  echo "Not run here:$not_run"
  echo "(the bindings' and packages' Windows runs are listed in their own steps above)"
fi
for target in win32 win64; do
  echo "Windows test programs run here for $target: $(grep -c "^$target " "$QUORIX_WINDOWS_TALLY")" \
    "(list: $QUORIX_WINDOWS_TALLY)"
done
