#!/bin/sh
# The packages as integrators use them, away from the source and build trees:
# the .deb unpacked into a fresh root and a consumer project built against it
# twice (CMake's find_package, then pkg-config), run, its signed report checked
# by the installed quorix program; lintian on the .deb; the zip unpacked into
# an empty folder, a C consumer and the Free Pascal bindings' test built with
# nothing but its contents, run under Wine with its DLLs.
# usage: tests/package/test_packages.sh PACKAGES-FOLDER BUILD-FOLDER
#        (BUILD-FOLDER holds fpc-win32/, the Free Pascal cross compiler)
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
packages=$(cd "$1" && pwd) || exit 2
build=$(cd "$2" && pwd) || exit 2
work=$build/package-test
rm -rf "$work"
mkdir -p "$work"
log=$work/step.log
passed=0 failed=0

# check DESCRIPTION COMMAND...: passes when the command succeeds; its output
# is shown on failure.
check() {
  what=$1
  shift
  if "$@" >"$log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: $what"
    sed 's/^/  /' "$log" | tail -n 40
  fi
}
one() { # the single package matching a pattern
  set -- "$packages"/$1
  [ $# -eq 1 ] && [ -f "$1" ] && echo "$1"
}

deb=$(one 'quorix_*_amd64.deb') || { echo "no single .deb in $packages"; exit 1; }
zip=$(one 'quorix-*-win32.zip') || { echo "no single win32 zip in $packages"; exit 1; }
consumer=$root/tests/package/consumer

# ---- the Debian package ------------------------------------------------------
sysroot=$work/root
libdir=$sysroot/usr/lib/x86_64-linux-gnu
check "dpkg -x unpacks the .deb" dpkg -x "$deb" "$sysroot"
for f in usr/bin/quorix usr/include/quorix.h \
  usr/lib/x86_64-linux-gnu/libquorix.so usr/lib/x86_64-linux-gnu/libquorix.so.1 \
  usr/lib/x86_64-linux-gnu/libsign_bema.so.1 \
  usr/lib/x86_64-linux-gnu/cmake/quorix/quorixConfig.cmake \
  usr/lib/x86_64-linux-gnu/cmake/quorix/quorixConfigVersion.cmake \
  usr/lib/x86_64-linux-gnu/pkgconfig/quorix.pc usr/share/quorix/bindings/pascal/quorix.pas \
  usr/share/quorix/bindings/dotnet/Quorix.cs usr/share/doc/quorix/copyright \
  usr/share/doc/quorix/changelog.gz usr/share/doc/quorix/README.md \
  usr/share/doc/quorix/docs/host-api.md; do
  check "the .deb holds /$f" test -e "$sysroot/$f"
done
sonames() {
  for lib in libquorix.so.1 libsign_bema.so.1; do
    objdump -p "$libdir/$lib" | awk -v lib="$lib" '$1 == "SONAME" && $2 == lib { found = 1 }
      END { if (!found) { print lib ": no SONAME " lib; exit 1 } }' || return 1
  done
}
check "each library's SONAME is its installed name" sonames
no_search_paths() {
  ! objdump -p "$sysroot/usr/bin/quorix" "$libdir/libquorix.so.1" "$libdir/libsign_bema.so.1" |
    grep -E 'R(UN)?PATH'
}
check "no installed binary carries a library search path" no_search_paths
depends_on_libssl() { dpkg-deb -f "$deb" Depends | grep -E '(^|, )libssl3( |,|$)'; }
check "the .deb depends on libssl3" depends_on_libssl
man_pages() {
  commands=$(LD_LIBRARY_PATH=$libdir "$sysroot/usr/bin/quorix" --help | awk '/^Comandos:/ { on = 1; next } on && /^  [a-z]/ { print $1 }')
  [ -n "$commands" ] || { echo "quorix --help lists no command"; return 1; }
  for page in quorix $(printf 'quorix-%s ' $commands); do
    file=$sysroot/usr/share/man/man1/$page.1.gz
    [ -f "$file" ] || { echo "no manual page $page(1)"; return 1; }
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$page(1): $warnings"; return 1; }
  done
}
check "a manual page for quorix and each of its commands, each rendering cleanly" man_pages
check "lintian finds no error in the .deb" lintian --fail-on error "$deb"
sed 's/^/  lintian: /' "$log"

# run_consumer NAME PROGRAM: runs it in a fresh folder against the unpacked
# libraries, then the installed quorix program checks the report it signed
# (lines, fields and signature) and refuses a copy with one byte changed.
run_consumer() {
  dir=$work/run-$1
  mkdir -p "$dir"
  LD_LIBRARY_PATH=$libdir "$2" "$dir" || return 1
  LD_LIBRARY_PATH=$libdir "$sysroot/usr/bin/quorix" check "$dir/consumer-report.txt" \
    --key "$dir/Mercearia Exemplo.xml" || return 1
  sed '1s/^E1/E2/' "$dir/consumer-report.txt" >"$dir/changed.txt"
  LD_LIBRARY_PATH=$libdir "$sysroot/usr/bin/quorix" verify "$dir/changed.txt" \
    --key "$dir/Mercearia Exemplo.xml"
  [ $? -eq 1 ]
}

cmake_consumer() {
  cmake -S "$consumer" -B "$work/cmake-consumer" -DCMAKE_PREFIX_PATH="$sysroot/usr" \
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF &&
    cmake --build "$work/cmake-consumer" &&
    grep -q "^quorix_DIR:PATH=$libdir/cmake/quorix\$" "$work/cmake-consumer/CMakeCache.txt"
}
check "consumer built with find_package(quorix CONFIG) from the unpacked .deb" cmake_consumer
check "the find_package consumer runs and its signed report checks" \
  run_consumer cmake "$work/cmake-consumer/consumer"

# The package's .pc says /usr; the sysroot variable moves it under the root,
# and system folders are kept in the flags because they are not this machine's.
pkgconfig_consumer() {
  flags=$(PKG_CONFIG_LIBDIR=$libdir/pkgconfig PKG_CONFIG_SYSROOT_DIR=$sysroot \
    PKG_CONFIG_ALLOW_SYSTEM_CFLAGS=1 PKG_CONFIG_ALLOW_SYSTEM_LIBS=1 \
    pkg-config --cflags --libs quorix) || return 1
  echo "pkg-config: $flags"
  # shellcheck disable=SC2086
  cc -Wall -Wextra -Werror -o "$work/pkgconfig-consumer" "$consumer/consumer.c" $flags
}
check "consumer built with pkg-config from the unpacked .deb" pkgconfig_consumer
check "the pkg-config consumer runs and its signed report checks" \
  run_consumer pkgconfig "$work/pkgconfig-consumer"

# ---- the Windows zip ---------------------------------------------------------
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-quorix}"
wine() { sh "$root/tools/wine-run.sh" "$@"; }
unzipped=$work/zip
check "the zip unpacks into an empty folder" unzip -q "$zip" -d "$unzipped"
top=$unzipped/$(basename "$zip" .zip)
for f in quorix.dll sign_bema.dll quorix.exe include/quorix.h lib/libquorix_host.a quorix.def \
  MSVC.txt bindings/pascal/quorix.pas bindings/dotnet/Quorix.cs README.md LICENSE; do
  check "the zip holds $f" test -f "$top/$f"
done
check "MSVC.txt gives the import library recipe" \
  grep -qF 'lib /def:quorix.def /machine:x86 /out:quorix.lib' "$top/MSVC.txt"
# What a bare Windows has; nothing of MinGW's runtime.
system_imports_only() {
  for f in quorix.dll sign_bema.dll quorix.exe; do
    i686-w64-mingw32-objdump -p "$top/$f" | sed -n 's/^[[:space:]]*DLL Name: //p' |
      grep -viE '^(kernel32|msvcrt|bcrypt|advapi32|user32|shell32|quorix)\.dll$' && return 1
  done
  return 0
}
check "the zip's programs and DLLs import only Windows' own DLLs" system_imports_only
# One version resource each (a runtime library's own would hide ours), ours.
version_resources() {
  for f in quorix.dll sign_bema.dll quorix.exe; do
    strings -el "$top/$f" >"$work/strings"
    [ "$(grep -cx VS_VERSION_INFO "$work/strings")" = 1 ] &&
      grep -A1 -x CompanyName "$work/strings" | grep -qx quorix &&
      grep -A1 -x FileVersion "$work/strings" | grep -qx '1\.0\.0\.0' ||
      { echo "$f: not one version resource of quorix 1.0.0.0"; return 1; }
  done
}
check "each Windows binary carries its version resource, alone" version_resources

wdir=$work/run-windows
mkdir -p "$wdir"
windows_consumer() {
  i686-w64-mingw32-gcc -Wall -Wextra -Werror -I"$top/include" -o "$wdir/consumer.exe" \
    "$consumer/consumer.c" "$top/lib/libquorix_host.a" &&
    cp "$top/quorix.dll" "$top/sign_bema.dll" "$wdir/"
}
check "Windows consumer built with the zip's header and import library" windows_consumer
windows_run() {
  (cd "$wdir" && wine consumer.exe .) || return 1
  (cd "$wdir" && wine "$top/quorix.exe" check consumer-report.txt --key "Mercearia Exemplo.xml")
}
check "the Windows consumer runs under Wine and the zip's quorix.exe checks its report" windows_run

pascal() {
  sh "$root/tools/fpc-win32.sh" "$build" || return 1
  mkdir -p "$work/pascal/units" "$work/pascal/test"
  cp "$root/bindings/pascal/test_quorix.pas" "$work/pascal/"
  "$build/fpc-win32/ppcross386" -n -v0 -l- -O2 -Sew -Twin32 -Pi386 -Fu"$build/fpc-win32/units" \
    -Fu"$top/bindings/pascal" -FU"$work/pascal/units" -FE"$work/pascal" \
    "$work/pascal/test_quorix.pas" || return 1
  # The unit compiled is the zip's, not the source tree's.
  test -f "$work/pascal/units/quorix.ppu" || return 1
  cp "$top/quorix.dll" "$top/sign_bema.dll" "$root/bindings/expected_report.txt" "$work/pascal/test/"
  (cd "$work/pascal/test" && wine "$work/pascal/test_quorix.exe")
}
check "the Free Pascal bindings' test, built with the zip's unit, passes under Wine" pascal

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
