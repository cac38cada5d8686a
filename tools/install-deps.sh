#!/bin/sh
# Installs, on Debian 12, what one job of quorix needs and nothing more:
#
#   demo  the main job: the native toolchain, CMake, OpenSSL's library and the
#         header libraries of the quorix program (CLI11, nlohmann-json).
#   test  every test on top of that: GoogleTest and Google Benchmark sources,
#         the locales the regional tests run under, the mingw-w64 cross compilers
#         and Wine for the DLLs (32-bit and 64-bit), clang with libFuzzer and its sanitizer
#         runtimes, Free Pascal (with its sources, for the win32 and win64 units),
#         Lazarus' lazbuild (with the Lazarus sources it insists on), Mono with
#         nuget, the .NET Framework reference assemblies and xbuild (mono-devel),
#         OpenJDK with JNA, valgrind, what makes and checks the packages,
#         debootstrap for the fresh-machine check, and cram and npm for the
#         manual's console sessions and links. The .NET SDK (dotnet), which
#         makes the NuGet package and runs its test on .NET, does not come from
#         Debian's packages: where it is missing this says so, and the test
#         command leaves those steps out and names them.
#
# usage: tools/install-deps.sh [demo|test]      (default test; test holds demo)
#
# Does nothing when everything is in place; must run as root when it has work.
# A mirror caught in the middle of a sync (an index whose size disagrees with
# its release file, often the i386 security index) is retried briefly, then
# the release's own versions are installed (apt-get -t <codename>). When even
# that fails, the packages it could not get are named and the exit is non-zero.
set -eu

demo="build-essential cmake libssl-dev libcli11-dev nlohmann-json3-dev"
test="googletest libbenchmark-dev openssl xxd locales python3
      g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386
      g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine64
      clang clang-format libclang-rt-14-dev valgrind
      fp-compiler-3.2.2 fp-units-rtl-3.2.2 fpc-source-3.2.2 lcl-utils-2.2 lazarus-src-2.2
      mono-mcs mono-runtime mono-devel nuget openjdk-17-jdk-headless libjna-java
      dpkg-dev lintian man-db pkgconf zip unzip debootstrap python3-cram"
# The manual's link check runs remark from the npm registry. Some Node.js
# installations bring their own npm; Debian's is a package of its own.
command -v npm >/dev/null 2>&1 || test="$test npm"
test_locales="pt_BR.UTF-8 en_US.UTF-8 de_DE.UTF-8"

set_name=${1:-test}
case $set_name in
  demo) packages=$demo; locales="" ;;
  test) packages="$demo $test"; locales=$test_locales ;;
  *) echo "usage: $0 [demo|test]" >&2; exit 2 ;;
esac

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
missing_of() {
  out=""
  for p in $packages; do installed "$p" || out="$out $p"; done
  echo "$out"
}

if [ "$set_name" = test ] && ! command -v dotnet >/dev/null 2>&1; then
  echo "install-deps: no dotnet (the .NET SDK, not one of Debian's packages): the NuGet package and its .NET test will be left out (docs/bindings.md)"
fi

missing=$(missing_of)
need_locales=""
for l in $locales; do
  short=$(echo "$l" | sed 's/UTF-8/utf8/')
  locale -a 2>/dev/null | grep -qx "$short" || need_locales="$need_locales $l"
done
[ -z "$missing$need_locales" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: missing:$missing$need_locales; run as root to install them" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt_quiet="-q -o Dpkg::Use-Pty=0"

# A dpkg run cut short (by us earlier, or by anything) is finished first, and
# again after any failed install: nothing is left half-configured.
settle() {
  dpkg --configure -a >/dev/null 2>&1 || true
}

install_with() { # extra apt-get options...
  # shellcheck disable=SC2086
  apt-get install -y $apt_quiet --no-install-recommends "$@" $missing && return 0
  settle
  return 1
}

if [ -n "$missing" ]; then
  echo "install-deps ($set_name): installing$missing"
  case " $missing " in
    *:i386\ *) dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 ;;
  esac
  settle
  log=$(mktemp)
  trap 'rm -f "$log"' EXIT
  done_ok=""
  for try in 1 2 3; do
    # An index that fails still leaves the ones that arrived: try the install
    # anyway, it may not need the missing index at all.
    apt-get update $apt_quiet >/dev/null 2>&1 || echo "install-deps: try $try: a package index failed to download"
    if install_with >"$log" 2>&1; then done_ok=1; break; fi
    [ "$try" = 3 ] || sleep 5
  done
  if [ -z "$done_ok" ]; then
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    echo "install-deps: the mirror's indexes are out of step; installing ${codename:-the release}'s own versions (apt-get -t $codename)"
    if [ -n "$codename" ] && install_with -t "$codename" >"$log" 2>&1; then
      done_ok=1
    fi
  fi
  if [ -z "$done_ok" ]; then
    tail -n 20 "$log" >&2
    missing=$(missing_of)
    echo "install-deps: could not install:$missing" >&2
    exit 1
  fi
  echo "install-deps ($set_name): done"
fi
if [ -n "$need_locales" ]; then
  for l in $locales; do
    sed -i -E "s/^# *($l .*)/\\1/" /etc/locale.gen
    grep -q "^$l " /etc/locale.gen || echo "$l UTF-8" >> /etc/locale.gen
  done
  locale-gen >/dev/null
fi
