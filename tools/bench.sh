#!/bin/sh
# Times the library as a host calls it, natively (libquorix.so), as the
# 32-bit DLL under Wine and as the 64-bit DLL under wine64 (quorix.dll), each
# beside a hand-written snprintf line built for the same target, and prints
# the three in one table with the ratios the speed targets name. The 32-bit
# column is left empty where the kernel runs no 32-bit program. Reuses
# build/native, build/windows and build/windows64 when they exist.
# usage: tools/bench.sh [lines per timing run, 200000 by default]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${QUORIX_BUILD_DIR:-$root/build}
jobs=${QUORIX_JOBS:-2}
lines=${1:-200000}
: "${WINEPREFIX:=${HOME}/.wine-quorix}"
export WINEPREFIX
no_win32=$(sh "$root/tools/can-run-win32.sh") || true

cmake -S "$root" -B "$out/native" -DCMAKE_BUILD_TYPE=Release -DQUORIX_HOST_BENCH=ON >/dev/null
cmake --build "$out/native" -j"$jobs" --target host_bench >/dev/null
for target in i686:windows x86_64:windows64; do
  [ -z "$no_win32" ] || [ "$target" != i686:windows ] || continue
  cmake -S "$root" -B "$out/${target#*:}" -DCMAKE_BUILD_TYPE=Release -DQUORIX_HOST_BENCH=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-${target%:*}.cmake" >/dev/null
  cmake --build "$out/${target#*:}" -j"$jobs" --target host_bench >/dev/null
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
echo "native run..." >&2
TMPDIR=$tmp "$out/native/bin/host_bench" "$lines" >"$tmp/native.txt"
: >"$tmp/windows.txt"
if [ -z "$no_win32" ]; then
  echo "32-bit DLL under Wine..." >&2
  (cd "$out/windows/bin" && sh "$root/tools/wine-run.sh" ./host_bench.exe "$lines") |
    tr -d '\r' >"$tmp/windows.txt"
else
  echo "32-bit DLL not run: $no_win32" >&2
fi
echo "64-bit DLL under wine64..." >&2
(cd "$out/windows64/bin" && sh "$root/tools/wine-run.sh" ./host_bench.exe "$lines") |
  tr -d '\r' >"$tmp/windows64.txt"

# Each figure with its column: 1 native, 2 the 32-bit DLL, 3 the 64-bit DLL.
for c in 1:native 2:windows 3:windows64; do sed "s/^/${c%%:*} /" "$tmp/${c#*:}.txt"; done |
awk -v lines="$lines" '
  { v[$1, $2] = $3 }
  function f(x, d) { return sprintf("%." d "f", x) }
  # A figure of each column, "-" where a run is missing.
  function row(what, key, d,   c, out) {
    out = sprintf("%-44s", what)
    for (c = 1; c <= 3; c++) out = out sprintf(" %14s", ((c, key) in v) ? f(v[c, key], d) : "-")
    print out
  }
  function per(key, d,   c, out) { # lines per second, millions
    out = ""
    for (c = 1; c <= 3; c++) out = out sprintf(" %14s", ((c, key) in v) ? f(1e3 / v[c, key], d) : "-")
    return out
  }
  function ratio(c, a, b, d) {
    if (!((c, a) in v) || !((c, b) in v)) return "-"
    return f(v[c, a] / (v[c, b] ? v[c, b] : 1), d)
  }
  function ratios(what, a, b, d, target) {
    printf "%-56s %8s %8s %8s  %s\n", what, ratio(1, a, b, d), ratio(2, a, b, d), ratio(3, a, b, d), target
  }
  function versus(c, key) {
    return ((c, key) in v && (1, key) in v) ? f(v[c, key] / v[1, key], 2) : "-"
  }
  function dll(what, key, target) {
    printf "%-56s %8s %8s %8s  %s\n", what, "", versus(2, key), versus(3, key), target
  }
  END {
    printf "lines per timing run: %d, best of 5 runs (wall) and best processor time\n\n", lines
    printf "%-44s %14s %14s %14s\n", "", "native", "DLL 32 (Wine)", "DLL 64 (wine64)"
    row("item line (quorix_DetalheCupomFiscal), ns", "item_ns", 0)
    row("  processor ns", "item_cpu_ns", 0)
    row("header line (quorix_Header), ns", "header_ns", 0)
    row("  processor ns", "header_cpu_ns", 0)
    row("snprintf item line, ns", "printf_item_ns", 0)
    row("snprintf header line, ns", "printf_header_ns", 0)
    printf "%-44s%s\n", "item lines/s (M)", per("item_ns", 2)
    printf "%-44s%s\n", "header lines/s (M)", per("header_ns", 2)
    row("page faults, first 1,000,000-line report", "first_faults", 0)
    row("page faults, second report", "second_faults", 0)
    printf "%-44s", "first report memory / line bytes"
    for (c = 1; c <= 3; c++) printf " %14s", ratio(c, "buffer_bytes", "line_bytes", 3)
    print ""
    row("finishing 1,000,000 lines (write, sign), ms", "finish_ms", 0)
    row("floor: write + flush + one MD5 pass, ms", "floor_ms", 0)
    print ""
    printf "%-56s %8s %8s %8s  %s\n", "ratio", "native", "DLL 32", "DLL 64", "target"
    ratios("snprintf item / item line (wall)", "printf_item_ns", "item_ns", 2, ">= 5 (native)")
    ratios("snprintf item / item line (processor)", "printf_item_cpu_ns", "item_cpu_ns", 2, "")
    ratios("snprintf header / header line (wall)", "printf_header_ns", "header_ns", 2, "")
    dll("DLL / native, item line (wall)", "item_ns", "<= 1.2")
    dll("DLL / native, item line (processor)", "item_cpu_ns", "")
    dll("DLL / native, header line (wall)", "header_ns", "<= 1.2")
    ratios("second report faults / first report faults", "second_faults", "first_faults", 4, "about 0")
    ratios("report memory / line bytes", "buffer_bytes", "line_bytes", 3, "<= 1.25")
    ratios("finishing / floor", "finish_ms", "floor_ms", 2, "<= 1.5")
  }'
