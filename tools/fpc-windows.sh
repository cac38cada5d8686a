#!/bin/sh
# Builds, once, Free Pascal for a Windows target from Debian's Free Pascal
# sources (fpc-source-3.2.2): Debian ships neither Windows target's run-time
# units. win32 needs a cross compiler too, built from the same sources; win64
# is the installed x86-64 compiler's own CPU, which only lacks the units. The
# result is cached under <build>/fpc-<target> and rebuilt only when the Free
# Pascal packages change; <build>/fpc-<target>/fpc runs the compiler for that
# target with its units (no fpc.cfg: the host's names Linux unit paths).
#
# usage: tools/fpc-windows.sh [build-folder] [win32|win64]   (default ./build win32)
# then:  <build>/fpc-<target>/fpc [options] program.pas
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
target=${2:-win32}
out=${1:-$root/build}/fpc-$target
src=/usr/share/fpcsrc/3.2.2
messages=/usr/lib/x86_64-linux-gnu/fpc/3.2.2/msg/errore.msg
version=$(dpkg-query -W -f='${Version} ' fpc-source-3.2.2 fp-compiler-3.2.2)
case $target in
  win32) cpu=i386 ;;
  win64) cpu=x86_64 ;;
  *) echo "usage: $0 [build-folder] [win32|win64]" >&2; exit 2 ;;
esac

if [ -x "$out/fpc" ] && [ "$(cat "$out/stamp" 2>/dev/null)" = "$version" ]; then
  exit 0
fi
echo "fpc-windows: building the $cpu-$target compiler's run-time units in $out"
rm -rf "$out"
mkdir -p "$out/src" "$out/obj/utils" "$out/obj/compiler" "$out/units"
out=$(cd "$out" && pwd)
log=$out/build.log
run() {
  "$@" >>"$log" 2>&1 || { tail -n 30 "$log" >&2; echo "fpc-windows: failed, see $log" >&2; exit 1; }
}
cp -r "$src/rtl" "$out/src/"
if [ "$target" = win32 ]; then compiler=$out/ppcross386; else compiler=$(command -v ppcx64); fi

if [ "$target" = win32 ]; then
  # The packaged sources lack the compiler's message texts; make them from
  # the installed English message file.
  cp -r "$src/compiler" "$out/src/"
  cd "$out/src/compiler"
  run ppcx64 -FU"$out/obj/utils" -FE"$out/obj/utils" -Fuutils utils/msg2inc.pp
  run "$out/obj/utils/msg2inc" "$messages" msg msg
  run ppcx64 -di386 -Fui386 -Fux86 -Fusystems -Fuutils -Fii386 -Fix86 -Fi. -Sg -Sc \
    -FU"$out/obj/compiler" -o"$compiler" pp.pas
fi

# The run-time units, in the order they need each other.
cd "$out/src/rtl/$target"
cross="$compiler -n -O2 -T$target -P$cpu -FU$out/units -Fu$out/units"
for d in ../inc ../$cpu ../win ../x86 ../win/wininc ../objpas ../objpas/sysutils \
  ../objpas/classes ../objpas/fgl ../common; do
  cross="$cross -Fi$d -Fu$d"
done
run $cross -Us -Sg system.pp
for unit in ../inc/uuchar.pp ../objpas/objpas.pp ../inc/heaptrc.pp buildrtl.pp; do
  run $cross "$unit"
done

cat > "$out/fpc" <<END
#!/bin/sh
exec "$compiler" -n -T$target -P$cpu -Fu"$out/units" "\$@"
END
chmod +x "$out/fpc"
rm -rf "$out/src" "$out/obj"
printf '%s' "$version" > "$out/stamp"
