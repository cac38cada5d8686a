#!/bin/sh
# Times the library as a host calls it, natively (libquorix.so) and as the
# 32-bit DLL under Wine (quorix.dll), each beside a hand-written snprintf line
# built for the same target, and prints both in one table with the ratios the
# speed targets name. Reuses build/native and build/windows when they exist.
# usage: tools/bench.sh [lines per timing run, 200000 by default]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${QUORIX_BUILD_DIR:-$root/build}
jobs=${QUORIX_JOBS:-2}
lines=${1:-200000}
: "${WINEPREFIX:=${HOME}/.wine-quorix}"
export WINEPREFIX

cmake -S "$root" -B "$out/native" -DCMAKE_BUILD_TYPE=Release -DQUORIX_HOST_BENCH=ON >/dev/null
cmake --build "$out/native" -j"$jobs" --target host_bench >/dev/null
cmake -S "$root" -B "$out/windows" -DCMAKE_BUILD_TYPE=Release -DQUORIX_HOST_BENCH=ON \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$out/windows" -j"$jobs" --target host_bench >/dev/null

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
echo "native run..." >&2
TMPDIR=$tmp "$out/native/bin/host_bench" "$lines" >"$tmp/native.txt"
echo "Windows DLL under Wine..." >&2
(cd "$out/windows/bin" && sh "$root/tools/wine-run.sh" ./host_bench.exe "$lines") |
  tr -d '\r' >"$tmp/windows.txt"

awk -v lines="$lines" '
  FNR == 1 { file++ }
  file == 1 { n[$1] = $2 }
  file == 2 { w[$1] = $2 }
  function row(what, a, b) { printf "%-44s %14s %14s\n", what, a, b }
  function f(x, d) { return sprintf("%." d "f", x) }
  END {
    printf "lines per timing run: %d, best of 5 runs (wall) and best processor time\n\n", lines
    row("", "native", "DLL under Wine")
    row("item line (quorix_DetalheCupomFiscal), ns", f(n["item_ns"], 0), f(w["item_ns"], 0))
    row("  processor ns", f(n["item_cpu_ns"], 0), f(w["item_cpu_ns"], 0))
    row("header line (quorix_Header), ns", f(n["header_ns"], 0), f(w["header_ns"], 0))
    row("  processor ns", f(n["header_cpu_ns"], 0), f(w["header_cpu_ns"], 0))
    row("snprintf item line, ns", f(n["printf_item_ns"], 0), f(w["printf_item_ns"], 0))
    row("snprintf header line, ns", f(n["printf_header_ns"], 0), f(w["printf_header_ns"], 0))
    row("item lines/s (M)", f(1e3 / n["item_ns"], 2), f(1e3 / w["item_ns"], 2))
    row("header lines/s (M)", f(1e3 / n["header_ns"], 2), f(1e3 / w["header_ns"], 2))
    row("page faults, first 1,000,000-line report", n["first_faults"], w["first_faults"])
    row("page faults, second report", n["second_faults"], w["second_faults"])
    row("first report memory / line bytes", f(n["buffer_bytes"] / n["line_bytes"], 3),
        f(w["buffer_bytes"] / w["line_bytes"], 3))
    row("finishing 1,000,000 lines (write, sign), ms", f(n["finish_ms"], 0), f(w["finish_ms"], 0))
    row("floor: write + flush + one MD5 pass, ms", f(n["floor_ms"], 0), f(w["floor_ms"], 0))
    print ""
    printf "%-56s %8s %8s  %s\n", "ratio", "native", "DLL", "target"
    printf "%-56s %8s %8s  %s\n", "snprintf item / item line (wall)",
      f(n["printf_item_ns"] / n["item_ns"], 2), f(w["printf_item_ns"] / w["item_ns"], 2), ">= 5 (native)"
    printf "%-56s %8s %8s\n", "snprintf item / item line (processor)",
      f(n["printf_item_cpu_ns"] / n["item_cpu_ns"], 2), f(w["printf_item_cpu_ns"] / w["item_cpu_ns"], 2)
    printf "%-56s %8s %8s\n", "snprintf header / header line (wall)",
      f(n["printf_header_ns"] / n["header_ns"], 2), f(w["printf_header_ns"] / w["header_ns"], 2)
    printf "%-56s %8s %8s  %s\n", "DLL / native, item line (wall)", "",
      f(w["item_ns"] / n["item_ns"], 2), "<= 1.2"
    printf "%-56s %8s %8s\n", "DLL / native, item line (processor)", "",
      f(w["item_cpu_ns"] / n["item_cpu_ns"], 2)
    printf "%-56s %8s %8s  %s\n", "DLL / native, header line (wall)", "",
      f(w["header_ns"] / n["header_ns"], 2), "<= 1.2"
    printf "%-56s %8s %8s  %s\n", "second report faults / first report faults",
      f(n["second_faults"] / (n["first_faults"] ? n["first_faults"] : 1), 4),
      f(w["second_faults"] / (w["first_faults"] ? w["first_faults"] : 1), 4), "about 0"
    printf "%-56s %8s %8s  %s\n", "report memory / line bytes",
      f(n["buffer_bytes"] / n["line_bytes"], 3), f(w["buffer_bytes"] / w["line_bytes"], 3), "<= 1.25"
    printf "%-56s %8s %8s  %s\n", "finishing / floor",
      f(n["finish_ms"] / n["floor_ms"], 2), f(w["finish_ms"] / w["floor_ms"], 2), "<= 1.5"
  }' "$tmp/native.txt" "$tmp/windows.txt"
