#!/bin/sh
# Builds the Pascal bindings' test as a Lazarus project that requires the
# package lazquorix (bindings/pascal/test_quorix.lpi), with lazbuild and a
# configuration of its own, and runs it natively against libquorix.so. The
# project's folder holds no quorix.pas: the unit can only come from the package.
#
# usage: tools/lazarus-test.sh PACKAGE-FOLDER LIBRARY-FOLDER WORK-FOLDER
#        (PACKAGE-FOLDER holds lazquorix.lpk; lazbuild compiles it there)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
package=$(cd "$1" && pwd)
library=$(cd "$2" && pwd)
work=$3
rm -rf "$work"
mkdir -p "$work/project" "$work/run"
cp "$root/bindings/pascal/test_quorix.lpi" "$root/bindings/pascal/test_quorix.pas" "$work/project/"
cp "$root/bindings/expected_report.txt" "$work/run/"

# lazbuild talks a lot even with -q; its words are shown only when it fails.
lazbuild() {
  command lazbuild -q --pcp="$work/config" "$@" >"$work/lazbuild.log" 2>&1 ||
    { tail -n 30 "$work/lazbuild.log"; return 1; }
}
lazbuild --add-package-link "$package/lazquorix.lpk"
QUORIX_LIBRARY_PATH=$library lazbuild "$work/project/test_quorix.lpi"
units=$work/project/lib/$(uname -m)-linux
if [ -e "$units/quorix.ppu" ] || [ ! -e "$package/lib/$(uname -m)-linux/quorix.ppu" ]; then
  echo "lazarus-test: the quorix unit was not taken from the package" >&2
  exit 1
fi
(cd "$work/run" && LD_LIBRARY_PATH=$library "$units/test_quorix")
