#!/bin/sh
# A side file written by one build reads back identically on the other: each
# build writes the sample software-house data and grand totals, the two files
# must be the same bytes, each build reads both files, and all four readings
# must be exactly the expected text. Reading stores the defaults a file
# lacked, so the two files are compared again afterwards. The file's name is
# the Windows-1252 text "relat\xF3rio.ini": both builds must name by it the
# same file, relatório.ini.
# usage: side_files_interop.sh <linux-bin-dir> <windows-bin-dir>
set -eu
linux=$1 windows=$2
here=$(cd "$(dirname "$0")" && pwd)
wine_run="$here/../tools/wine-run.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/quorix-side-interop.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/linux" "$work/windows"

# Both run from the file's folder with a bare file name: each build must look
# for it in the current folder.
name='relat\xF3rio.ini' side=$(printf 'relat\303\263rio.ini')
lin() { (cd "$work/$1" && "$linux/quorix_sidefile" "$2" "$name"); }
win() { (cd "$work/$1" && "$wine_run" "$windows/quorix_sidefile.exe" "$2" "$name"); }

passed=0 failed=0
check() {
  if [ "$1" = ok ]; then passed=$((passed + 1)); echo "ok: $2"
  else failed=$((failed + 1)); echo "FAIL: $2"; fi
}
same_file() {
  if cmp -s "$1" "$2"; then check ok "$3"; else check fail "$3"; od -c "$1" | head -20; od -c "$2" | head -20; fi
}

cat > "$work/expected" <<'TEXT'
FILE AUX[0]=relat\xF3rios.dll
FILE AUX[1]=tef.dll
FILE AUX[2]==[;]\x09#
MD5 AUX[0]=aaaabbbbccccddddeeeeffff00001111
MD5 AUX[1]=22223333444455556666777788889999
CNPJ=11.222.333/0001-81
INSCESTADUAL=110.042.490.114
INSCMUNICIPAL=
RAZAOSOCIAL=Software House Exemplo Ltda
ENDERECO=Rua das Flores, 100 - S\xE3o Paulo
TELEFONE=(11) 5555-1234
CONTATO=Jo\xE3o da Silva "JS"
SOFTWARE=Caixa R\xE1pida PDV
VERSAO=2.1.0
FILE=caixa.exe
MD5=0123456789abcdef0123456789abcdef
VERSAO ER=01.06
LAUDO=LAUDO-123
TOTAL BE0909SC556100001234=123456789
TOTAL ecf-2=-42
TOTAL ECF 3=1000000000000000
TOTAL NEVER WRITTEN=0
TEXT

LC_ALL=C; export LC_ALL
lin linux write
win windows write
for build in linux windows; do
  if [ "$(ls -A "$work/$build")" = "$side" ]; then check ok "the $build build names the file $side"
  else check fail "the $build build names the file $side"; ls -Ab "$work/$build"; fi
done
same_file "$work/linux/$side" "$work/windows/$side" "both builds write the same side file"

win linux read > "$work/windows-reads-linux"
lin windows read > "$work/linux-reads-windows"
lin linux read > "$work/linux-reads-linux"
win windows read > "$work/windows-reads-windows"
for reading in windows-reads-linux linux-reads-windows linux-reads-linux windows-reads-windows; do
  if cmp -s "$work/expected" "$work/$reading"; then check ok "$reading"
  else check fail "$reading"; diff "$work/expected" "$work/$reading" || true; fi
done
same_file "$work/linux/$side" "$work/windows/$side" "both files hold the same after both builds read them"

echo "side files across builds: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
