#!/bin/sh
# Makes the packages an integrator installs:
#   build/packages/quorix_VERSION_amd64.deb    (Debian 12, x86-64: libraries, header,
#                                               CMake package, quorix.pc, the quorix program)
#   build/packages/quorix-VERSION-win32.zip    (the 32-bit Windows DLLs, quorix.exe, import
#                                               library, .def, header, bindings)
#   build/packages/quorix-VERSION-win64.zip    (the same for 64-bit Windows hosts)
#   build/packages/Quorix.VERSION.nupkg        (the C# binding for .NET and .NET Framework, with
#                                               the win-x86, win-x64 and linux-x64 libraries;
#                                               made only where dotnet is installed)
# from Release trees of their own (build/pkg-native, build/pkg-windows,
# build/pkg-windows64), without tests or benchmarks. Needs what tools/install-deps.sh installs.
# usage: tools/package.sh            (QUORIX_BUILD_DIR: another build folder)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
out=${QUORIX_BUILD_DIR:-$root/build}
jobs=${QUORIX_JOBS:-2}
common="-DCMAKE_BUILD_TYPE=Release -DQUORIX_TESTS=OFF -DQUORIX_BENCH=OFF -DQUORIX_WERROR=ON
  -DQUORIX_JAVA=ON"

# The package's paths are the installed ones: /usr, with Debian's multiarch
# library folder (GNUInstallDirs picks it for that prefix).
# Debian's hardening flags for what goes into the .deb.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cmake -S "$root" -B "$out/pkg-native" $common -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $cppflags" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $cppflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DCMAKE_SHARED_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build "$out/pkg-native" -j"$jobs"
for target in i686:pkg-windows x86_64:pkg-windows64; do
  cmake -S "$root" -B "$out/${target#*:}" $common \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-${target%:*}.cmake"
  cmake --build "$out/${target#*:}" -j"$jobs"
done

(cd "$out/pkg-native" && cpack -G DEB)
(cd "$out/pkg-windows" && cpack -G ZIP)
(cd "$out/pkg-windows64" && cpack -G ZIP)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/pkg-native/CMakeCache.txt")
arch=$(dpkg --print-architecture)
rm -rf "$out/packages"
mkdir -p "$out/packages"
cp "$out/pkg-native/quorix_${version}_$arch.deb" "$out/pkg-windows/quorix-$version-win32.zip" \
  "$out/pkg-windows64/quorix-$version-win64.zip" "$out/packages/"

# The NuGet package, made by dotnet pack from bindings/dotnet/Quorix.csproj:
# the binding for netstandard2.0 and net40 and, under runtimes/RID/native, the
# libraries of each platform, stripped. The Linux library goes in as
# libquorix.so, the name a DllImport of "quorix" probes for (Mono and .NET
# alike); it loads libsign_bema.so.1 from its own folder.
# The 64-bit Windows DLLs come from the 64-bit tree above.
win64_required=yes
win64_bin=$out/pkg-windows64/bin
nuget=$out/nuget
if ! command -v dotnet >/dev/null 2>&1; then
  echo "package.sh: NOT MADE: Quorix.$version.nupkg (no dotnet: the .NET SDK is not installed; see docs/bindings.md)"
else
  rm -rf "$nuget"
  native=$nuget/runtimes
  mkdir -p "$native/win-x86/native" "$native/linux-x64/native"
  for f in quorix.dll sign_bema.dll; do
    i686-w64-mingw32-strip --strip-unneeded -o "$native/win-x86/native/$f" "$out/pkg-windows/bin/$f"
  done
  if [ -f "$win64_bin/quorix.dll" ] && [ -f "$win64_bin/sign_bema.dll" ]; then
    mkdir -p "$native/win-x64/native"
    for f in quorix.dll sign_bema.dll; do
      x86_64-w64-mingw32-strip --strip-unneeded -o "$native/win-x64/native/$f" "$win64_bin/$f"
    done
  elif [ "$win64_required" = yes ]; then
    echo "package.sh: no 64-bit Windows quorix.dll and sign_bema.dll in $win64_bin" >&2
    exit 1
  else
    echo "package.sh: Quorix.$version.nupkg carries no runtimes/win-x64 ($win64_bin has no DLLs)"
  fi
  strip --strip-unneeded -o "$native/linux-x64/native/libquorix.so" "$out/pkg-native/bin/libquorix.so.1"
  strip --strip-unneeded -o "$native/linux-x64/native/libsign_bema.so.1" \
    "$out/pkg-native/bin/libsign_bema.so.1"
  # dotnet keeps its caches out of the user's home and the source tree;
  # the packages it restores to build the binding stay for the next run.
  commit=$(git -C "$root" rev-parse HEAD 2>/dev/null || true)
  DOTNET_CLI_HOME=$out/dotnet-home NUGET_PACKAGES=$out/dotnet-packages DOTNET_NOLOGO=1 \
    DOTNET_CLI_TELEMETRY_OPTOUT=1 DOTNET_SKIP_FIRST_TIME_EXPERIENCE=1 \
    dotnet pack "$root/bindings/dotnet/Quorix.csproj" -nologo -c Release \
    --artifacts-path "$nuget/artifacts" -o "$out/packages" -p:Version="$version" \
    -p:QuorixNativeFolder="$nuget" -p:QuorixCommit="$commit"
fi

echo "package.sh: packages in $out/packages:"
ls -l "$out/packages"
