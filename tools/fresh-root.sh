#!/bin/sh
# The README's first command on a machine that has nothing of ours: a minimal
# Debian 12 root made with debootstrap (from the mirror this machine's apt
# uses, with this machine's apt sources and nothing of its packages), the
# checkout copied in, and `sh tools/demo.sh` run there as root. It passes when
# the demo signs every report and `quorix check` finds no problem in any, and
# when the demo installed nothing that only the tests need.
#
# usage: tools/fresh-root.sh [folder]        (default ./build/fresh-root)
# Needs root (debootstrap, mount, chroot); not being root is a failure.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
target=${1:-${QUORIX_BUILD_DIR:-$src/build}/fresh-root}
start=$(date +%s)

say() { echo "fresh-root: $*"; }
if [ "$(id -u)" -ne 0 ]; then
  say "needs root to make and enter a Debian root (debootstrap, chroot); FAILED, not run" >&2
  exit 1
fi
command -v debootstrap >/dev/null || sh "$src/tools/install-deps.sh" test

codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
# The first source of this machine that serves the release's main component.
mirror=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null |
  awk -v suite="$codename" '
    /^URIs:/ { uri = $2 } /^Suites:/ { has = 0; for (i = 2; i <= NF; i++) if ($i == suite) has = 1 }
    /^$/ { if (has && uri != "" && !found) { print uri; found = 1 } uri = ""; has = 0 }
    END { if (has && uri != "" && !found) print uri }')
[ -n "$mirror" ] || mirror=$(awk -v suite="$codename" '$1 == "deb" && $3 == suite { print $2; exit }' \
  /etc/apt/sources.list 2>/dev/null || true)
[ -n "$mirror" ] || { say "no apt source of this machine serves $codename" >&2; exit 1; }

mounted() { grep -q " $target/proc " /proc/mounts; }
cleanup() { if mounted; then umount "$target/proc" || umount -l "$target/proc"; fi; }
trap cleanup EXIT INT TERM
cleanup
rm -rf "$target"
mkdir -p "$target"

say "debootstrap $codename from $mirror into $target"
debootstrap --variant=minbase "$codename" "$target" "$mirror" >"$target.debootstrap.log" 2>&1 || {
  tail -n 20 "$target.debootstrap.log" >&2
  say "debootstrap FAILED" >&2
  exit 1
}
# The machine's own apt sources (release, updates, security) and name service.
rm -f "$target/etc/apt/sources.list"
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list; do
  [ -f "$f" ] && cp "$f" "$target$f"
done
cp /etc/resolv.conf "$target/etc/resolv.conf"
mkdir -p "$target/root/quorix"
tar -C "$src" --exclude=./build --exclude=./.git -cf - . | tar -C "$target/root/quorix" -xf -
mount -t proc proc "$target/proc"
made=$(date +%s)

say "running sh tools/demo.sh inside"
log=$target.demo.log
status=0
chroot "$target" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  HOME=/root LANG=C.UTF-8 sh -c 'cd /root/quorix && sh tools/demo.sh' >"$log" 2>&1 || status=$?
tail -n 3 "$log"

fail() { say "FAILED: $*" >&2; tail -n 30 "$log" >&2; exit 1; }
[ "$status" = 0 ] || fail "the demo exited with $status (whole output in $log)"
reports=$(ls "$target/root/quorix/build/demo-output"/quorix-demo-*.txt | wc -l)
grep -qx "demo: $reports reports signed in /root/quorix/build/demo-output; quorix check found no problem in any" "$log" ||
  fail "the demo's last line does not say that all $reports reports were signed and checked"
[ "$(grep -c ': [0-9]* linhas, nenhum problema$' "$log")" = "$reports" ] ||
  fail "quorix check did not find every one of the $reports reports sound"
# The main job must not have pulled in what only the tests need.
for p in wine wine64 g++-mingw-w64-i686 g++-mingw-w64-x86-64 clang fp-compiler-3.2.2 mono-mcs lintian googletest; do
  chroot "$target" dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" &&
    fail "the demo installed $p, which only the tests need"
done
[ -z "$(chroot "$target" dpkg --print-foreign-architectures)" ] || fail "the demo added a foreign architecture"

if grep -q "own versions (apt-get -t" "$log"; then path="fallback (the release's own versions)"; else path=normal; fi
cleanup
rm -rf "$target"
end=$(date +%s)
say "passed: $reports reports signed and checked in a fresh $codename root; install path: $path;" \
  "$((end - start)) s ($((made - start)) s making the root, $((end - made)) s for the demo)"
