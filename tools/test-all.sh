#!/bin/sh
# Builds and runs every test: the native Linux build (and the manual's console
# sessions, links and paths against it), the same under
# AddressSanitizer + UndefinedBehaviorSanitizer, the thread test under
# ThreadSanitizer, the 32-bit Windows DLL under Wine, signed files crossing
# between the two builds, the Pascal, Lazarus, C# and Java host bindings driven
# by real compilers' programs, and a short run of
# every fuzzing harness (QUORIX_FUZZ_SECONDS each, 30 by default), then the
# Debian package, the Windows zip and the NuGet package made and used as
# integrators use them, and last the demo run from nothing in a fresh Debian
# root (tools/fresh-root.sh).
# Warnings are errors in every tree here.
# usage: tools/test-all.sh            (build trees go to ./build)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${QUORIX_BUILD_DIR:-$root/build}
jobs=${QUORIX_JOBS:-2}

sh "$root/tools/install-deps.sh" test

step() { printf '\n==== %s ====\n' "$*"; }
# The DLL's programs run under Wine, whose loader is a 32-bit x86 program:
# where the kernel runs 64-bit code only, they are built and checked without
# running, and each part left out is named here and at the end.
QUORIX_NO_WINE=$(sh "$root/tools/can-run-win32.sh") || true
export QUORIX_NO_WINE
not_run=""
not_here() {
  echo "NOT RUN here: $1 ($QUORIX_NO_WINE)"
  not_run="$not_run
  - $1"
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

step "Windows build (mingw-w64 i686)"
cmake -S "$root" -B "$out/windows" -DCMAKE_BUILD_TYPE=Release -DQUORIX_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
cmake --build "$out/windows" -j"$jobs"
step "Windows tests under Wine"
if [ -z "$QUORIX_NO_WINE" ]; then
  (cd "$out/windows" && ctest --output-on-failure)
else
  not_here "the Windows test programs under Wine (the checks that need no Wine run below)"
  (cd "$out/windows" && ctest --output-on-failure \
    -R '^(export_table|program_holds_no_library_state|record_tables_compile_checks|layering_refuses_upward_include)$')
fi

step "signed files and side files across the two builds"
if [ -z "$QUORIX_NO_WINE" ]; then
  bash "$root/signer/tests/interop.sh" "$out/native/bin" "$out/windows/bin"
  sh "$root/tests/side_files_interop.sh" "$out/native/bin" "$out/windows/bin"
else
  not_here "signed files and side files crossing between the Linux and Windows builds"
fi

step "host bindings: Free Pascal (native, valgrind, Wine), Lazarus, C# (Mono), Java (JNA)"
sh "$root/tools/test-bindings.sh" "$out/native/bin" "$out/windows/bin" "$out"

step "packages: the .deb and the Windows zip, installed and used"
sh "$root/tools/package.sh"
sh "$root/tests/package/test_packages.sh" "$out/packages" "$out"

step "fuzzing harnesses, ${QUORIX_FUZZ_SECONDS:-30} s each (libFuzzer, ASan + UBSan)"
sh "$root/tools/fuzz.sh" "${QUORIX_FUZZ_SECONDS:-30}"

step "the README's first command on a fresh Debian root (debootstrap; needs root)"
sh "$root/tools/fresh-root.sh"

if [ -z "$not_run" ]; then
  step "all tests passed"
else
  step "all tests passed that this machine can run"
  echo "Not run here, since $QUORIX_NO_WINE:$not_run"
  echo "(the bindings' and packages' Windows runs are listed in their own steps above)"
fi
