#!/bin/sh
# Builds and runs every test: the native Linux build, the same under
# AddressSanitizer + UndefinedBehaviorSanitizer, the thread test under
# ThreadSanitizer, the 32-bit Windows DLL under
# Wine, signed files crossing between the two builds, the Pascal and C# host
# bindings driven by real compilers' programs on both builds, and a short run of
# every fuzzing harness (QUORIX_FUZZ_SECONDS each, 30 by default), then the
# Debian package and the Windows zip made and used as integrators use them.
# Warnings are errors in every tree here.
# usage: tools/test-all.sh            (build trees go to ./build)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${QUORIX_BUILD_DIR:-$root/build}
jobs=${QUORIX_JOBS:-2}

sh "$root/tools/install-deps.sh"

step() { printf '\n==== %s ====\n' "$*"; }

step "native build"
cmake -S "$root" -B "$out/native" -DCMAKE_BUILD_TYPE=Release -DQUORIX_WERROR=ON
cmake --build "$out/native" -j"$jobs"
step "native tests"
(cd "$out/native" && ctest --output-on-failure)

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
(cd "$out/windows" && ctest --output-on-failure)

step "signed files and side files across the two builds"
bash "$root/signer/tests/interop.sh" "$out/native/bin" "$out/windows/bin"
sh "$root/tests/side_files_interop.sh" "$out/native/bin" "$out/windows/bin"

step "host bindings: Free Pascal (native, valgrind, Wine) and C# (Mono)"
sh "$root/tools/test-bindings.sh" "$out/native/bin" "$out/windows/bin" "$out"

step "packages: the .deb and the Windows zip, installed and used"
sh "$root/tools/package.sh"
sh "$root/tests/package/test_packages.sh" "$out/packages" "$out"

step "fuzzing harnesses, ${QUORIX_FUZZ_SECONDS:-30} s each (libFuzzer, ASan + UBSan)"
sh "$root/tools/fuzz.sh" "${QUORIX_FUZZ_SECONDS:-30}"

step "all tests passed"
