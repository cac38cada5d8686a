#!/bin/sh
# Makes the packages an integrator installs:
#   build/packages/quorix_VERSION_amd64.deb    (Debian 12, x86-64: libraries, header,
#                                               CMake package, quorix.pc, the quorix program)
#   build/packages/quorix-VERSION-win32.zip    (the 32-bit Windows DLLs, quorix.exe, import
#                                               library, .def, header, bindings)
#   build/packages/quorix-VERSION-win64.zip    (the same for 64-bit Windows hosts)
#   build/packages/Quorix.VERSION.nupkg        (the C# binding for .NET Framework 4, with the
#                                               win-x86 and linux-x64 libraries)
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

# The NuGet package, from the same two trees. Quorix.dll is compiled against
# .NET Framework 4.0's reference assemblies, so it uses nothing newer. The
# Linux library goes in as libquorix.so, the name a DllImport of "quorix"
# probes for (Mono and .NET alike); it finds libsign_bema.so.1 beside itself.
nuget=$out/nuget
rm -rf "$nuget"
mkdir -p "$nuget/lib/net40" "$nuget/build/net40" "$nuget/runtimes/win-x86/native" \
  "$nuget/runtimes/linux-x64/native"
api=/usr/lib/mono/4.0-api
mcs -nologo -warnaserror -optimize -target:library -nostdlib -lib:"$api" -r:mscorlib.dll \
  -r:System.dll -out:"$nuget/lib/net40/Quorix.dll" "$root/bindings/dotnet/Quorix.cs"
for f in quorix.dll sign_bema.dll; do
  i686-w64-mingw32-strip --strip-unneeded -o "$nuget/runtimes/win-x86/native/$f" \
    "$out/pkg-windows/bin/$f"
done
strip --strip-unneeded -o "$nuget/runtimes/linux-x64/native/libquorix.so" \
  "$out/pkg-native/bin/libquorix.so.1"
strip --strip-unneeded -o "$nuget/runtimes/linux-x64/native/libsign_bema.so.1" \
  "$out/pkg-native/bin/libsign_bema.so.1"
cp "$root/packaging/nuget/Quorix.targets" "$nuget/build/net40/"
# NuGet reads the manifest under the name its format gives it.
cp "$root/packaging/nuget/Quorix.package.xml" "$nuget/Quorix.nuspec"
cp "$root/README.md" "$root/LICENSE" "$nuget/"
# NuGet keeps its own settings under HOME; a build leaves the user's alone.
HOME=$nuget nuget pack "$nuget/Quorix.nuspec" -Version "$version" -OutputDirectory "$out/packages" \
  -NoPackageAnalysis -NonInteractive

echo "package.sh: packages in $out/packages:"
ls -l "$out/packages"
