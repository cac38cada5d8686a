#!/bin/sh
# tools/check_prototypes.py must fail on each fault below, made in a copy of
# the files it reads, and pass on the untouched copy.
# usage: prototype_faults.sh <python> <source root>
set -u
python=$1 root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
files="include/quorix.h exports/quorix.def bindings/pascal/quorix.pas bindings/dotnet/Quorix.cs
  bindings/java/src/quorix/Exports.java bindings/java/src/quorix/Paf.java"
failed=0 passed=0
# case FILE SED-SCRIPT EXPECTED-FAIL-TEXT (an empty script: the copy must pass)
case_() {
  rm -rf "$work/root"
  for f in $files; do mkdir -p "$work/root/$(dirname "$f")" && cp "$root/$f" "$work/root/$f"; done
  [ -z "$2" ] || sed -i "$2" "$work/root/$1"
  out=$("$python" "$root/tools/check_prototypes.py" "$work/root" 2>&1)
  status=$?
  if { [ -z "$3" ] && [ $status -eq 0 ]; } ||
     { [ -n "$3" ] && [ $status -ne 0 ] && echo "$out" | grep -qF "$3"; }; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf "FAIL: %s with '%s': expected %s, got (%s):\n" "$1" "$2" "${3:-success}" "$status"
    echo "$out"
  fi
}
case_ include/quorix.h '' ''
case_ include/quorix.h 's/quorix_bool(QUORIX_CALL \*clear)/quorix_bool(*clear)/' \
  'include/quorix.h: list functions are not all QUORIX_CALL'
case_ bindings/pascal/quorix.pas '/quorix_Totally/,/external/s/stdcall/cdecl/' \
  'quorix.pas: exports are mixed: cdecl, stdcall on win32'
case_ bindings/pascal/quorix.pas 's/^\(  TListAppend = .*\) stdcall;/\1/' \
  'quorix.pas: list functions are mixed: default, stdcall on win32'
case_ bindings/dotnet/Quorix.cs '0,/UnmanagedFunctionPointer(CallingConvention.StdCall)/s//UnmanagedFunctionPointer(CallingConvention.Cdecl)/' \
  'Quorix.cs: list functions are mixed: Cdecl, StdCall on win32'
case_ bindings/dotnet/Quorix.cs 's/Call = CallingConvention.StdCall;/Call = CallingConvention.Cdecl;/' \
  'Quorix.cs: exports are cdecl on win32'
case_ bindings/java/src/quorix/Exports.java 's/STDCALL = Platform.isWindows() && !Platform.is64Bit();/STDCALL = Platform.isWindows();/' \
  'bindings/java: exports are stdcall on win64, the header'"'"'s x64'
case_ bindings/java/src/quorix/Paf.java 's/(StdCallAppendList) Paf::appendList/(AppendList) Paf::appendList/' \
  'bindings/java: list functions are not chosen by STDCALL'
echo "$passed passed, $failed failed"
[ $failed -eq 0 ]
