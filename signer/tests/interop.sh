#!/usr/bin/env bash
# Files signed by one build must validate with the other, with keys made on
# either side, and both must reject the same tampered files. Raw RSA is
# deterministic, so both builds must also write byte-identical signed files.
# usage: interop.sh <linux-bin-dir> <windows-bin-dir>
set -uo pipefail

if [ $# -ne 2 ]; then
  echo "usage: interop.sh <linux-bin-dir> <windows-bin-dir>" >&2
  exit 2
fi
linux_bin=$(cd "$1" && pwd) || exit 2
windows_bin=$(cd "$2" && pwd) || exit 2
for f in "$linux_bin/signfile" "$windows_bin/signfile.exe"; do
  [ -f "$f" ] || { echo "missing $f" >&2; exit 2; }
done

# The cross build's own runner, with its Wine prefix and quiet settings, so
# no second Wine prefix gets created.
wine_run=$(cd "$(dirname "$0")/../../tools" && pwd)/wine-run.sh

work=$(mktemp -d "${TMPDIR:-/tmp}/quorix-sign-interop.XXXXXX")
trap 'rm -rf "$work"' EXIT
# Relative paths only: the Windows program sees the same files through its
# current directory without any path translation.
cd "$work" || exit 2

L() { "$linux_bin/signfile" "$@"; }
W() { sh "$wine_run" "$windows_bin/signfile.exe" "$@"; }

passed=0
failed=0
check() {  # check <description> <wanted exit status> <command...>
  local what=$1 want=$2
  shift 2
  "$@" >stdout.log 2>stderr.log
  local got=$?
  # A crash can exit with 1 too; a verdict only counts when signfile says it.
  local verdict_ok=1
  case "$*" in
    *" validate "*)
      local word=$([ "$want" -eq 0 ] && echo valid || echo invalid)
      [ "$(head -n 1 stdout.log | tr -d '\r')" = "$word" ] || verdict_ok=0 ;;
  esac
  if [ "$got" -eq "$want" ] && [ "$verdict_ok" -eq 1 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: $what (exit $got, wanted $want)" >&2
    sed 's/^/  /' stdout.log stderr.log >&2
  fi
}
same() {  # same <description> <file> <file>
  if cmp -s "$2" "$3"; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAIL: $1" >&2; fi
}
key_format() {  # key_format <file>: 256 upper-case hex digits, nothing else
  [ "$(wc -c <"$1")" -eq 256 ] && ! grep -q '[^0-9A-F]' "$1"
}

make_report() {
  printf 'Z1|0001|%s\r\n' "$1" >"$2"
  head -c 3000000 /dev/urandom | base64 -w 76 | sed 's/$/\r/' >>"$2"
  printf 'Z9|end\r\n' >>"$2"
}

check "linux genkey" 0 L genkey lin.pub lin.priv
check "windows genkey" 0 W genkey win.pub win.priv
for k in lin.pub lin.priv win.pub win.priv; do
  check "$k holds 256 upper-case hex digits" 0 key_format "$k"
done

for keys in lin win; do
  make_report "$keys" base.txt
  cp base.txt by_linux.txt
  cp base.txt by_windows.txt
  check "$keys keys: linux signs" 0 L sign $keys.pub $keys.priv by_linux.txt
  check "$keys keys: windows signs" 0 W sign $keys.pub $keys.priv by_windows.txt
  same "$keys keys: both builds write the same signed file" by_linux.txt by_windows.txt
  check "$keys keys: windows validates linux's file" 0 W validate $keys.pub $keys.priv by_linux.txt
  check "$keys keys: linux validates windows's file" 0 L validate $keys.pub $keys.priv by_windows.txt

  other=$([ $keys = lin ] && echo win || echo lin)
  check "$keys keys: linux rejects the other public key" 1 L validate $other.pub $keys.priv by_windows.txt
  check "$keys keys: windows rejects the other public key" 1 W validate $other.pub $keys.priv by_linux.txt

  cp by_linux.txt tampered.txt
  printf '#' | dd of=tampered.txt bs=1 seek=4000 conv=notrunc status=none
  check "$keys keys: linux rejects changed content" 1 L validate $keys.pub $keys.priv tampered.txt
  check "$keys keys: windows rejects changed content" 1 W validate $keys.pub $keys.priv tampered.txt

  cp by_windows.txt tampered.txt
  size=$(wc -c <tampered.txt)
  digit=$(tail -c 100 tampered.txt | head -c 1)
  printf '%s' "$([ "$digit" = 0 ] && echo 1 || echo 0)" |
    dd of=tampered.txt bs=1 seek=$((size - 100)) conv=notrunc status=none
  check "$keys keys: linux rejects a changed signature digit" 1 L validate $keys.pub $keys.priv tampered.txt
  check "$keys keys: windows rejects a changed signature digit" 1 W validate $keys.pub $keys.priv tampered.txt
done

: >empty_w.txt
: >empty_l.txt
check "windows signs an empty file" 0 W sign lin.pub lin.priv empty_w.txt
check "linux signs an empty file" 0 L sign lin.pub lin.priv empty_l.txt
same "both builds sign an empty file alike" empty_w.txt empty_l.txt
check "linux validates windows's signed empty file" 0 L validate lin.pub lin.priv empty_w.txt
check "windows validates linux's signed empty file" 0 W validate lin.pub lin.priv empty_l.txt

echo "interop: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
