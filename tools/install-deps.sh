#!/bin/sh
# Installs what building and testing both forms of quorix needs on Debian 12:
# the native toolchain, GoogleTest/Benchmark sources, OpenSSL, the CLI11 and
# nlohmann-json headers (the quorix program), the mingw-w64 cross compiler,
# Wine (32-bit), clang with libFuzzer and its sanitizer runtimes, the locales
# the regional tests run under, and for the host bindings Free Pascal (with its
# sources, to build the win32 cross compiler), Mono's C# compiler and runtime,
# and valgrind; for making and testing the packages dpkg-dev (dpkg-shlibdeps),
# lintian, pkgconf, zip and unzip.
# Does nothing that is already in place; must run as root when it has work.
set -eu

packages="build-essential cmake googletest libbenchmark-dev libssl-dev openssl xxd locales
          libcli11-dev nlohmann-json3-dev
          g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 clang libclang-rt-14-dev
          fp-compiler-3.2.2 fp-units-rtl-3.2.2 fpc-source-3.2.2 mono-mcs mono-runtime valgrind
          dpkg-dev lintian pkgconf zip unzip"
locales="pt_BR.UTF-8 en_US.UTF-8 de_DE.UTF-8"

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
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
if [ -n "$missing" ]; then
  echo "install-deps: installing$missing"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  # A mirror in the middle of a sync fails an index now and then: try again,
  # and go on with the indexes that did arrive (the install says what is missing).
  for try in 1 2 3; do
    apt-get update -q && break
    sleep 10
  done
  for try in 1 2 3; do
    apt-get install -y -q $missing && break
    [ "$try" = 3 ] && exit 1
    sleep 10
    apt-get update -q || true
  done
fi
if [ -n "$need_locales" ]; then
  for l in $locales; do
    sed -i -E "s/^# *($l .*)/\\1/" /etc/locale.gen
    grep -q "^$l " /etc/locale.gen || echo "$l UTF-8" >> /etc/locale.gen
  done
  locale-gen
fi
