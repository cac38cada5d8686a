#!/bin/sh
# The packages as integrators use them, away from the source and build trees:
# the .deb unpacked into a fresh root and a consumer project built against it
# twice (CMake's find_package, then pkg-config), run, its signed report checked
# by the installed quorix program; lintian on the .deb; each Windows zip (win32,
# win64) unpacked into an empty folder, a C consumer and the Free Pascal
# bindings' test built with nothing but its contents, run under Wine with its
# DLLs (the win64 ones under wine64); the Java test with
# the .deb's jar and the Lazarus test with the zip's package, both against the
# .deb's libraries; the NuGet package's exact contents and metadata, then
# installed by nuget into an empty folder, the C# test built by xbuild against
# only what was installed and run on Mono with the package's Linux libraries,
# and the same cases under xunit on .NET 10 in a project that gets quorix by
# `dotnet add package Quorix` alone.
# usage: tests/package/test_packages.sh PACKAGES-FOLDER BUILD-FOLDER
#        (BUILD-FOLDER holds fpc-win32/ and fpc-win64/, Free Pascal for Windows)
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
# is shown on failure, and the check's own status is the command's.
check() {
  what=$1
  shift
  if "$@" >"$log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: $what"
    sed 's/^/  /' "$log" | tail -n 40
    return 1
  fi
}
# What runs under Wine is left out, and named, where this machine cannot run it.
no_wine=${QUORIX_NO_WINE-$(sh "$root/tools/can-run-win32.sh")}
not_here() {
  skipped=$((skipped + 1))
  echo "NOT RUN here: $1 ($no_wine)"
}
wine_check() { if [ -n "$no_wine" ]; then not_here "$1"; else check "$@"; fi; }
skipped=0
one() { # the single package matching a pattern
  set -- "$packages"/$1
  [ $# -eq 1 ] && [ -f "$1" ] && echo "$1"
}

deb=$(one 'quorix_*_amd64.deb') || { echo "no single .deb in $packages"; exit 1; }
zip=$(one 'quorix-*-win32.zip') || { echo "no single win32 zip in $packages"; exit 1; }
zip64=$(one 'quorix-*-win64.zip') || { echo "no single win64 zip in $packages"; exit 1; }
# The NuGet package is made where the .NET SDK is installed.
if command -v dotnet >/dev/null 2>&1; then
  nupkg=$(one 'Quorix.*.nupkg') || { echo "no single Quorix nupkg in $packages"; exit 1; }
else
  nupkg=""
fi
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
  usr/share/quorix/bindings/dotnet/Quorix.cs usr/share/quorix/bindings/pascal/lazquorix.lpk \
  usr/share/java/quorix.jar usr/share/doc/quorix/copyright \
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

# ---- the Windows zips ---------------------------------------------------------
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-quorix}"
wine() { sh "$root/tools/wine-run.sh" "$@"; }
# A Windows program of the zips that ran, for tools/test-all.sh's count.
tally() { [ -z "${QUORIX_WINDOWS_TALLY:-}" ] || echo "$1" >> "$QUORIX_WINDOWS_TALLY"; }

# windows_zip TARGET ZIP TOOL-PREFIX MSVC-MACHINE OBJECT-FORMAT: one zip checked as an
# integrator of that bitness uses it; the 32-bit one runs under Wine where the
# kernel allows, the 64-bit one under wine64 everywhere.
windows_zip() {
  target=$1 archive=$2 prefix=$3 machine=$4 format=$5
  unzipped=$work/zip-$target
  check "the $target zip unpacks into an empty folder" unzip -q "$archive" -d "$unzipped"
  top=$unzipped/$(basename "$archive" .zip)
  for f in quorix.dll sign_bema.dll quorix.exe include/quorix.h lib/libquorix_host.a quorix.def \
    MSVC.txt bindings/pascal/quorix.pas bindings/pascal/lazquorix.lpk bindings/pascal/lazquorix.pas \
    bindings/dotnet/Quorix.cs bindings/java/quorix.jar README.md LICENSE; do
    check "the $target zip holds $f" test -f "$top/$f"
  done
  check "the $target zip's MSVC.txt gives the import library recipe" \
    grep -qF "lib /def:quorix.def /machine:$machine /out:quorix.lib" "$top/MSVC.txt"
  check "the $target zip's binaries are all of its bitness" same_machine "$prefix" "$top" "$format"
  check "the $target zip's programs and DLLs import only Windows' own DLLs" \
    system_imports_only "$prefix" "$top"
  check "each $target Windows binary carries its version resource, alone" version_resources "$top"

  wdir=$work/run-$target
  mkdir -p "$wdir"
  check "$target consumer built with the zip's header and import library" \
    windows_consumer "$prefix" "$top" "$wdir"
  if [ "$target" = win32 ] && [ -n "$no_wine" ]; then
    not_here "the win32 consumer and the zip's quorix.exe under Wine"
  else
    check "the $target consumer runs under Wine and the zip's quorix.exe checks its report" \
      windows_run "$top" "$wdir" && tally "$target package: C consumer and quorix.exe check"
  fi

  if [ "$target" = win32 ] && [ -n "$no_wine" ]; then
    check "the Free Pascal bindings' test builds with the win32 zip's unit" pascal "$target" "$top"
    not_here "the win32 Free Pascal bindings' test, built with the zip's unit, under Wine"
  else
    check "the Free Pascal bindings' test, built with the $target zip's unit, passes under Wine" \
      pascal "$target" "$top" run && tally "$target package: Free Pascal test"
  fi
}
same_machine() { # prefix top format
  for f in quorix.dll sign_bema.dll quorix.exe lib/libquorix_host.a; do
    formats=$("$1-objdump" -f "$2/$f" | sed -n 's/.*file format //p' | sort -u)
    [ "$(echo "$formats" | grep -cvxE "pei?-$3")" = 0 ] || { echo "$f: $formats"; return 1; }
  done
}
# What a bare Windows has; nothing of MinGW's runtime.
system_imports_only() { # prefix top
  for f in quorix.dll sign_bema.dll quorix.exe; do
    "$1-objdump" -p "$2/$f" | sed -n 's/^[[:space:]]*DLL Name: //p' |
      grep -viE '^(kernel32|msvcrt|bcrypt|advapi32|user32|shell32|quorix)\.dll$' && return 1
  done
  return 0
}
# One version resource each (a runtime library's own would hide ours), ours.
version_resources() { # top
  for f in quorix.dll sign_bema.dll quorix.exe; do
    strings -el "$1/$f" >"$work/strings"
    [ "$(grep -cx VS_VERSION_INFO "$work/strings")" = 1 ] &&
      grep -A1 -x CompanyName "$work/strings" | grep -qx quorix &&
      grep -A1 -x FileVersion "$work/strings" | grep -qx '1\.0\.0\.0' ||
      { echo "$f: not one version resource of quorix 1.0.0.0"; return 1; }
  done
}
windows_consumer() { # prefix top folder
  "$1-gcc" -Wall -Wextra -Werror -I"$2/include" -o "$3/consumer.exe" \
    "$consumer/consumer.c" "$2/lib/libquorix_host.a" &&
    cp "$2/quorix.dll" "$2/sign_bema.dll" "$3/"
}
windows_run() { # top folder
  (cd "$2" && wine consumer.exe .) || return 1
  (cd "$2" && wine "$1/quorix.exe" check consumer-report.txt --key "Mercearia Exemplo.xml")
}
pascal() { # target top [run]
  sh "$root/tools/fpc-windows.sh" "$build" "$1" || return 1
  dir=$work/pascal-$1
  mkdir -p "$dir/units" "$dir/test"
  cp "$root/bindings/pascal/test_quorix.pas" "$dir/"
  "$build/fpc-$1/fpc" -v0 -l- -O2 -Sew -Fu"$2/bindings/pascal" -FU"$dir/units" -FE"$dir" \
    "$dir/test_quorix.pas" || return 1
  # The unit compiled is the zip's, not the source tree's.
  test -f "$dir/units/quorix.ppu" || return 1
  cp "$2/quorix.dll" "$2/sign_bema.dll" "$root/bindings/expected_report.txt" "$dir/test/"
  [ -z "${3:-}" ] || (cd "$dir/test" && wine "$dir/test_quorix.exe")
}
windows_zip win32 "$zip" i686-w64-mingw32 x86 i386
windows_zip win64 "$zip64" x86_64-w64-mingw32 x64 x86-64
# A 64-bit host beside the vendors' 32-bit signing library (here the win32
# zip's): keys made with the win64 zip's own, then signing must fail and say
# that the library could not be loaded (ERROR_BAD_EXE_FORMAT), not crash or
# report success.
wrong_bitness_signer() {
  dir=$work/mixed-signer
  mkdir -p "$dir"
  top64=$work/zip-win64/$(basename "$zip64" .zip)
  cp "$top64/quorix.exe" "$top64/quorix.dll" "$top64/sign_bema.dll" "$dir/"
  (cd "$dir" && wine quorix.exe keygen --name Chave) || return 1
  cp "$work/zip-win32/$(basename "$zip" .zip)/sign_bema.dll" "$dir/"
  printf 'E1relatorio\r\n' >"$dir/report.txt"
  (cd "$dir" && wine quorix.exe sign report.txt --private-key Chave.chave) >"$dir/out" 2>&1
  status=$?
  cat "$dir/out"
  [ $status -eq 2 ] && grep -q 'biblioteca de assinatura sign_bema (erro do sistema 193)' "$dir/out" &&
    [ "$(cat "$dir/report.txt")" = "$(printf 'E1relatorio\r')" ]
}
check "the 64-bit quorix.exe refuses to sign with a 32-bit sign_bema.dll, saying why" \
  wrong_bitness_signer && tally "win64 package: 32-bit signing library refused"
# Later checks use the 32-bit zip's Lazarus package.
top=$work/zip-win32/$(basename "$zip" .zip)

# ---- Java and Lazarus, from the packages, on Linux ----------------------------
# The .deb's jar names jna.jar beside it, where libjna-java puts it.
java_from_deb() {
  ln -sf /usr/share/java/jna.jar "$sysroot/usr/share/java/jna.jar"
  mkdir -p "$work/java/classes" "$work/java/run"
  javac --release 17 -encoding UTF-8 -cp "$sysroot/usr/share/java/quorix.jar" \
    -d "$work/java/classes" "$root/bindings/java/test/TestQuorix.java" || return 1
  cp "$root/bindings/expected_report.txt" "$work/java/run/"
  # A UTF-8 locale, as a Linux host's JVM needs for its accented file names.
  (cd "$work/java/run" && LC_ALL=C.UTF-8 java -Djna.library.path="$libdir" \
    -cp "$sysroot/usr/share/java/quorix.jar:$work/java/classes" TestQuorix)
}
check "the Java bindings' test, with the .deb's quorix.jar alone on its class path, passes" \
  java_from_deb
check "the Lazarus package of the zip, required by the test project, passes against the .deb" \
  sh "$root/tools/lazarus-test.sh" "$top/bindings/pascal" "$libdir" "$work/lazarus"

# ---- the NuGet package -------------------------------------------------------
# The quorix program of the .deb, for the C# cases' `quorix check`; the test
# processes themselves run with no LD_LIBRARY_PATH.
cli=$work/quorix-cli
printf '#!/bin/sh\nLD_LIBRARY_PATH=%s exec %s "$@"\n' "$libdir" "$sysroot/usr/bin/quorix" >"$cli"
chmod +x "$cli"
if [ -z "$nupkg" ]; then
  skipped=$((skipped + 1))
  echo "NOT RUN here: the NuGet package, its xunit test on .NET and its Mono test (no dotnet: the .NET SDK is not installed; see docs/bindings.md)"
else
  version=$(basename "$nupkg" .nupkg)
  version=${version#Quorix.}
  # The package's files, exactly.
  nupkg_files() {
    unzip -Z1 "$nupkg" | grep -vE '^(_rels/|package/|\[Content_Types\]\.xml$)' | sort >"$work/nupkg-files"
    {
      echo Quorix.nuspec README.md LICENSE build/net40/Quorix.targets
      for tfm in net40 netstandard2.0; do echo "lib/$tfm/Quorix.dll lib/$tfm/Quorix.xml"; done
      echo runtimes/linux-x64/native/libquorix.so runtimes/linux-x64/native/libsign_bema.so.1
      echo runtimes/win-x86/native/quorix.dll runtimes/win-x86/native/sign_bema.dll
      echo runtimes/win-x64/native/quorix.dll runtimes/win-x64/native/sign_bema.dll
    } | tr ' ' '\n' | sort | diff - "$work/nupkg-files"
  }
  check "the NuGet package holds exactly the binding, its documentation and the native libraries" \
    nupkg_files
  nuspec_metadata() {
    unzip -p "$nupkg" Quorix.nuspec >"$work/Quorix.nuspec"
    deb_version=$(dpkg-deb -f "$deb" Version)
    for want in "<version>$deb_version</version>" '<license type="file">LICENSE</license>' \
      '<readme>README.md</readme>' '<tags>paf-ecf ecf fiscal brasil report pos</tags>' \
      '<description>The C# binding of quorix' '<group targetFramework=".NETStandard2.0" />' \
      '<group targetFramework=".NETFramework4.0" />'; do
      grep -qF "$want" "$work/Quorix.nuspec" || { echo "Quorix.nuspec lacks $want"; return 1; }
    done
  }
  check "the NuGet package's metadata: the .deb's version, licence, README, tags, both frameworks" \
    nuspec_metadata

  # The Mono run: a .NET Framework 4 project the packages.config way.
  installed=$work/nuget-installed
  nuget_install() {
    mkdir -p "$installed" "$work/nuget-home"
    HOME=$work/nuget-home nuget install Quorix -Source "$packages" -OutputDirectory "$installed" \
      -NonInteractive -NoCache || return 1
    [ -d "$installed/Quorix.$version" ]
  }
  check "nuget installs the package from a local folder into an empty folder" nuget_install
  package=$installed/Quorix.$version
  dotnet_out=$work/dotnet/bin
  dotnet_consumer() {
    xbuild /nologo /verbosity:quiet /p:QuorixPackage="$package" /p:OutputPath="$dotnet_out/" \
      /p:BaseIntermediateOutputPath="$work/dotnet/obj/" "$root/tests/package/dotnet/Consumer.csproj" ||
      return 1
    # Quorix.targets put the Windows libraries of an x86 program beside it.
    cmp "$package/runtimes/win-x86/native/quorix.dll" "$dotnet_out/quorix.dll" &&
      cmp "$package/runtimes/win-x86/native/sign_bema.dll" "$dotnet_out/sign_bema.dll"
  }
  check "xbuild builds the C# test against the installed package; its targets copy the DLLs" \
    dotnet_consumer
  # An x64 program gets the 64-bit DLLs, once the package has them.
  x64_consumer() {
    xbuild /nologo /verbosity:quiet /p:QuorixPackage="$package" /p:PlatformTarget=x64 \
      /p:OutputPath="$work/dotnet/bin64/" /p:BaseIntermediateOutputPath="$work/dotnet/obj64/" \
      "$root/tests/package/dotnet/Consumer.csproj" || return 1
    cmp "$package/runtimes/win-x64/native/quorix.dll" "$work/dotnet/bin64/quorix.dll" &&
      cmp "$package/runtimes/win-x64/native/sign_bema.dll" "$work/dotnet/bin64/sign_bema.dll"
  }
  [ ! -d "$package/runtimes/win-x64" ] ||
    check "the targets copy the 64-bit DLLs beside an x64 program" x64_consumer
  dotnet_run() {
    mkdir -p "$work/dotnet/run"
    cp "$root/bindings/expected_report.txt" "$work/dotnet/run/"
    (cd "$work/dotnet/run" && LD_LIBRARY_PATH=$package/runtimes/linux-x64/native QUORIX_CLI=$cli \
      mono "$dotnet_out/TestQuorix.exe")
  }
  check "the C# test runs on Mono with the package's linux-x64 libraries" dotnet_run
  sed -n '$s/^/  Mono: /p' "$log"

  # The .NET run: a test project that knows the package only by its name, in a
  # folder of its own, restoring from the package's folder and the machine's
  # NuGet folder into package caches of its own (a stale Quorix of the same
  # version elsewhere cannot stand in), built once and run with no
  # LD_LIBRARY_PATH.
  xunit=$work/xunit
  xunit_test() {
    cp -r "$root/tests/package/dotnet/xunit" "$xunit" &&
      cp "$root/bindings/dotnet/TestQuorix.cs" "$root/bindings/expected_report.txt" "$xunit/" ||
      return 1
    {
      echo '<?xml version="1.0" encoding="utf-8"?>'
      # The machine's NuGet folder holds xunit and the test SDK; without it
      # they come from the sources the user's own configuration names.
      echo '<configuration><packageSources>'
      [ ! -d /opt/nuget/packages ] ||
        echo '  <clear /><add key="machine" value="/opt/nuget/packages" />'
      echo "  <add key=\"quorix\" value=\"$packages\" />"
      echo '</packageSources></configuration>'
    } >"$xunit/nuget.config"
    (
      cd "$xunit" || exit 1
      unset LD_LIBRARY_PATH
      export NUGET_PACKAGES=$xunit/packages DOTNET_CLI_HOME=$xunit/home DOTNET_NOLOGO=1 \
        DOTNET_CLI_TELEMETRY_OPTOUT=1 DOTNET_SKIP_FIRST_TIME_EXPERIENCE=1 QUORIX_CLI=$cli
      dotnet add package Quorix || exit 1
      grep -F "<PackageReference Include=\"Quorix\" Version=\"$version\" />" \
        QuorixPackageTests.csproj || { echo "dotnet add package did not add Quorix $version"; exit 1; }
      dotnet build --no-restore -nologo -c Release || exit 1
      dotnet test --no-build -nologo -c Release
    )
  }
  check "the xunit test, with the package as its only reference to quorix, passes on .NET 10" \
    xunit_test
  grep -E '^(Passed|Failed)!' "$log" | sed 's/^/  .NET: /'
fi

if [ "$skipped" -gt 0 ]; then
  echo "$passed passed, $failed failed, $skipped skipped"
else
  echo "$passed passed, $failed failed"
fi
[ "$failed" -eq 0 ]
