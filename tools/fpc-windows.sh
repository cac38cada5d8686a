#!/bin/sh
# Builds, once, a Free Pascal compiler for 32-bit Windows and its run-time
# units from Debian's Free Pascal sources (fpc-source-3.2.2): Debian ships no
# win32 target. The result is cached under <build>/fpc-win32 and rebuilt only
# when the Free Pascal packages change.
#
# usage: tools/fpc-win32.sh [build-folder]      (default ./build)
# then:  <build>/fpc-win32/ppcross386 -n -Twin32 -Pi386 -Fu<build>/fpc-win32/units program.pas
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build}/fpc-win32
src=/usr/share/fpcsrc/3.2.2
messages=/usr/lib/x86_64-linux-gnu/fpc/3.2.2/msg/errore.msg
version=$(dpkg-query -W -f='${Version} ' fpc-source-3.2.2 fp-compiler-3.2.2)

if [ -x "$out/ppcross386" ] && [ "$(cat "$out/stamp" 2>/dev/null)" = "$version" ]; then
  exit 0
fi
echo "fpc-win32: building the i386-win32 cross compiler and its units in $out"
rm -rf "$out"
mkdir -p "$out/src" "$out/obj/utils" "$out/obj/compiler" "$out/units"
log=$out/build.log
run() {
  "$@" >>"$log" 2>&1 || { tail -n 30 "$log" >&2; echo "fpc-win32: failed, see $log" >&2; exit 1; }
}
cp -r "$src/compiler" "$src/rtl" "$out/src/"

# The packaged sources lack the compiler's message texts; make them from the
# installed English message file.
cd "$out/src/compiler"
run ppcx64 -FU"$out/obj/utils" -FE"$out/obj/utils" -Fuutils utils/msg2inc.pp
run "$out/obj/utils/msg2inc" "$messages" msg msg
run ppcx64 -di386 -Fui386 -Fux86 -Fusystems -Fuutils -Fii386 -Fix86 -Fi. -Sg -Sc \
  -FU"$out/obj/compiler" -o"$out/obj/compiler/ppcross386" pp.pas

# The run-time units, in the order they need each other; -n keeps the host's
# fpc.cfg (Linux unit paths) out.
cd "$out/src/rtl/win32"
cross="$out/obj/compiler/ppcross386 -n -O2 -Twin32 -Pi386 -FU$out/units -Fu$out/units"
for d in ../inc ../i386 ../win ../x86 ../win/wininc ../objpas ../objpas/sysutils \
  ../objpas/classes ../objpas/fgl ../common; do
  cross="$cross -Fi$d -Fu$d"
done
run $cross -Us -Sg system.pp
for unit in ../inc/uuchar.pp ../objpas/objpas.pp ../inc/heaptrc.pp buildrtl.pp; do
  run $cross "$unit"
done

mv "$out/obj/compiler/ppcross386" "$out/ppcross386"
rm -rf "$out/src" "$out/obj"
printf '%s' "$version" > "$out/stamp"
