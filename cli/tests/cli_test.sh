#!/usr/bin/env bash
# The quorix program as a user runs it: each row runs the real program in one
# scratch folder (rows build on the files of the rows before) and compares its
# exit status, standard output and standard error byte for byte.
# usage: cli_test.sh QUORIX SIDEFILE_TOOL [RUNNER]   (RUNNER: tools/wine-run.sh for Windows)
set -u
absolute() { echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; }
quorix=$(absolute "$1") sidefile=$(absolute "$2") runner=${3:+$(absolute "$3")}
work=$(mktemp -d "${TMPDIR:-/tmp}/quorix-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/run"
# UTF-8 arguments reach Wine's wide command line intact only under a UTF-8 locale.
export LC_ALL=en_US.UTF-8
if [ -n "$runner" ]; then sep='\'; windows=1; else sep=/; windows=0; fi

run() { (cd "$work/run" && $runner "$quorix" "$@"); }
# run_to OUT ERR ARGS...: run, its outputs into the two files. Now and then,
# on a loaded machine, Wine fails to start a program at all: status 1 and not
# a byte written. The program never fails without saying why, so under Wine
# such a run is started a second time; natively it stands.
run_to() {
  local out=$1 err=$2
  shift 2
  run "$@" >"$out" 2>"$err"
  local rc=$?
  if [ $rc -ne 0 ] && [ -n "$runner" ] && [ ! -s "$out" ] && [ ! -s "$err" ]; then
    run "$@" >"$out" 2>"$err"
    rc=$?
  fi
  return $rc
}
passed=0 failed=0
verdict() {
  if [ "$1" = ok ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $2"; fi
}

# t STATUS STDOUT STDERR ARGS...: exact status and output.
# h STATUS TEXT ARGS...: exact status, TEXT somewhere in the standard output.
t() {
  local status=$1 out=$2 err=$3
  shift 3
  run_to "$work/out" "$work/err" "$@"
  local rc=$?
  printf '%s' "$out" >"$work/out.expected"
  printf '%s' "$err" >"$work/err.expected"
  if [ $rc -eq "$status" ] && cmp -s "$work/out" "$work/out.expected" &&
    cmp -s "$work/err" "$work/err.expected"; then
    verdict ok
  else
    verdict fail "quorix $* (status $rc, expected $status)"
    diff "$work/out.expected" "$work/out" | sed 's/^/  stdout /'
    diff "$work/err.expected" "$work/err" | sed 's/^/  stderr /'
  fi
}
h() {
  local status=$1 text=$2
  shift 2
  run_to "$work/out" "$work/err" "$@"
  local rc=$?
  if [ $rc -eq "$status" ] && grep -qF -- "$text" "$work/out"; then verdict ok; else
    verdict fail "quorix $* (status $rc, expected $status and: $text)"
  fi
}
# that CONDITION DESCRIPTION: a fact about the files the rows left.
that() { if (cd "$work/run" && eval "$1"); then verdict ok; else verdict fail "$2"; fi; }

run --version >/dev/null 2>&1 # a first Wine start may report on its prefix

# Usage and help.
t 0 $'quorix 1.0.0\n' '' --version
t 2 '' $'quorix: falta o comando; veja quorix --help\n'
t 2 '' $'quorix: argumento inesperado: foo\n' foo
t 2 '' $'quorix: falta o comando de sidefile: show ou write\n' sidefile
t 2 '' $'quorix: falta a opção --private-key\n' sign r.txt
h 0 'Uso: quorix keygen --name NOME [--dir PASTA]' --help
h 0 'Estado de saída: 0 assinatura válida; 1 assinatura inválida ou ausente; 2 uso' verify --help

# keygen: the private file owner-only, the public XML file by the library.
dev='Padaria Pão Dourado'
t 2 '' $'quorix: --name: o caractere U+0151 ("ő") não existe no Windows-1252\n' keygen --name 'Dev ő'
badname=$'quorix: --name: o nome do desenvolvedor também dá nome aos arquivos: não pode ser vazio, ter / \\ : nem ser um nome de dispositivo (CON, NUL, COM1...)\n'
t 2 '' "$badname" keygen --name con.txt
t 2 '' "$badname" keygen --name a/b
t 2 '' $'quorix: Nome do desenvolvedor inválido como nome de arquivo: Dev..X\n' keygen --name Dev..X
t 2 '' $'quorix: Nome do desenvolvedor inválido como nome de arquivo: Dev..X\n' keygen --name Dev..X --dir "novas${sep}chaves"
that '[ -z "$(ls)" ]' 'refused key pairs leave no file, and no folder made for them'
t 0 "chave privada: novas${sep}chaves${sep}Dev.chave"$'\n'"chave pública: novas${sep}chaves${sep}Dev.xml"$'\n' '' keygen --name Dev --dir "novas${sep}chaves"
that '[ -f novas/chaves/Dev.chave ] && [ -f novas/chaves/Dev.xml ] && rm -r novas' 'keygen --dir makes the missing folders'
t 0 "chave privada: .$sep$dev.chave"$'\n'"chave pública: .$sep$dev.xml"$'\n' '' keygen --name "$dev"
t 2 '' "quorix: .$sep$dev.chave: já existe; apague-o ou escolha outro nome"$'\n' keygen --name "$dev"
modulus=$(sed -n 's/^modulo=\([0-9A-F]\{256\}\)$/\1/p' "$work/run/$dev.chave")
that '[ "$(head -1 "$dev.chave")" = "quorix-chave-privada 1" ] && [ ${#modulus} = 256 ] &&
  grep -qE "^expoente_privado=[0-9A-F]{256}$" "$dev.chave" && [ $(wc -l <"$dev.chave") = 3 ]' \
  'private key file: header, modulus, private exponent'
that 'grep -qF "<nome>Padaria P&#227;o Dourado</nome>" "$dev.xml" &&
  grep -qF "<modulo>$modulus</modulo>" "$dev.xml" && grep -qF "<expoente_publico>010001<" "$dev.xml"' \
  'public-key XML file: name in Windows-1252, the modulus of the private key file'
[ $windows = 1 ] || that '[ "$(stat -c %a "$dev.chave")" = 600 ]' 'private key file is mode 0600'

# sign and verify.
printf 'linha 1\r\nlinha 2\r\n' >"$work/run/r.txt"
printf 'sem fim de linha' >"$work/run/nolf.txt"
t 0 '' '' sign r.txt --private-key "$dev.chave"
that '[ $(wc -c <r.txt) = 279 ] && tail -c 261 r.txt | LC_ALL=C grep -qaxE "EAD[0-9A-F]{256}."' \
  'signing appends one EAD line'
t 0 $'r.txt: assinatura válida\n' '' verify r.txt --key "$dev.xml"
t 0 $'r.txt: assinatura válida\n' '' verify r.txt --modulus "$(echo "$modulus" | tr A-F a-f)"
sed 's/linha 2/linha 3/' "$work/run/r.txt" >"$work/run/tampered.txt"
t 1 $'tampered.txt: assinatura inválida ou ausente\n' '' verify tampered.txt --key "$dev.xml"
t 1 $'nolf.txt: assinatura inválida ou ausente\n' '' verify nolf.txt --modulus "$modulus"
t 2 '' $'quorix: r.txt: o arquivo já termina com um registro EAD\n' sign r.txt --private-key "$dev.chave"
t 2 '' $'quorix: nolf.txt: o arquivo não termina com uma quebra de linha\n' sign nolf.txt --private-key "$dev.chave"
t 2 '' $'quorix: r.txt: não é um arquivo de chave privada do quorix\n' sign nolf.txt --private-key r.txt
t 2 '' $'quorix: nada.chave: arquivo não encontrado\n' sign nolf.txt --private-key nada.chave
t 2 '' $'quorix: nada.txt: arquivo não encontrado\n' verify nada.txt --key "$dev.xml"
t 2 '' $'quorix: dê a chave pública com --key ou com --modulus (só uma delas)\n' verify r.txt
t 2 '' $'quorix: dê a chave pública com --key ou com --modulus (só uma delas)\n' verify r.txt --key "$dev.xml" --modulus "$modulus"
t 2 '' $'quorix: --modulus: são precisos 256 dígitos hexadecimais\n' verify r.txt --modulus "${modulus}0"
t 2 '' $'quorix: r.txt: não é um arquivo de chave pública (falta <expoente_publico>)\n' verify r.txt --key r.txt
that '[ "$(wc -c <nolf.txt)" = 16 ]' 'a refused signing leaves the file as it was'

# md5: every file, past one that cannot be read.
printf 'abc' >"$work/run/abc.txt"
: >"$work/run/empty.txt"
t 2 $'900150983CD24FB0D6963F7D28E17F72  abc.txt\nD41D8CD98F00B204E9800998ECF8427E  empty.txt\n' \
  $'quorix: nada.txt: arquivo não encontrado\n' md5 abc.txt nada.txt empty.txt

# sidefile: the software-house data through JSON, accented text both ways.
cat >"$work/run/sh.json" <<'JSON'
{
  "CNPJ": "11.222.333/0001-81",
  "INSCESTADUAL": "110.042.490.114",
  "INSCMUNICIPAL": "",
  "RAZAOSOCIAL": "Padaria Pão Dourado Ltda",
  "ENDERECO": "Rua São João, 10 – Açaí €",
  "TELEFONE": "(11) 5555-1234\tramal 2",
  "CONTATO": "José Conceição",
  "SOFTWARE": "Caixa Rápida PDV",
  "VERSAO": "2.1.0",
  "FILE": "caixa.exe",
  "MD5": "0123456789ABCDEF0123456789ABCDEF",
  "VERSAO ER": "01.06",
  "LAUDO": "LAUDO-123",
  "FILE AUX": [
    "relatórios.dll",
    "tef.dll",
    "leitor.dll"
  ],
  "MD5 AUX": [
    "AAAABBBBCCCCDDDDEEEEFFFF00001111"
  ]
}
JSON
sed 's/Açaí/Açaí ő/' "$work/run/sh.json" >"$work/run/bad.json"
t 2 '' $'quorix: bad.json: ENDERECO: o caractere U+0151 ("ő") não existe no Windows-1252\n' sidefile write sh.ini --from bad.json
sed 's/Açaí/Açaí •/' "$work/run/sh.json" >"$work/run/bullet.json"
t 2 '' $'quorix: Arquivo Inválido\nsh.ini\nTexto que o arquivo não guarda intacto: valor da chave ENDERECO, posição 25, caractere de código 149\n' \
  sidefile write sh.ini --from bullet.json
that '[ ! -e sh.ini ]' 'a refused text writes no side file'
t 0 '' '' sidefile write sh.ini --from sh.json
t 0 "$(cat "$work/run/sh.json")"$'\n' '' sidefile show sh.ini --json
t 0 $'CNPJ=11.222.333/0001-81\nINSCESTADUAL=110.042.490.114\nINSCMUNICIPAL=\nRAZAOSOCIAL=Padaria Pão Dourado Ltda\nENDERECO=Rua São João, 10 – Açaí €\nTELEFONE=(11) 5555-1234\\x09ramal 2\nCONTATO=José Conceição\nSOFTWARE=Caixa Rápida PDV\nVERSAO=2.1.0\nFILE=caixa.exe\nMD5=0123456789ABCDEF0123456789ABCDEF\nVERSAO ER=01.06\nLAUDO=LAUDO-123\nFILE AUX0=relatórios.dll\nFILE AUX1=tef.dll\nFILE AUX2=leitor.dll\nMD5 AUX0=AAAABBBBCCCCDDDDEEEEFFFF00001111\n' \
  '' sidefile show sh.ini
that '$runner "$sidefile" read sh.ini | grep -qxF "ENDERECO=Rua S\xE3o Jo\xE3o, 10 \x96 A\xE7a\xED \x80"' \
  'inside the side file the texts are Windows-1252'
sed -e '/"tef.dll",/d' -e '/"leitor.dll"/d' -e 's/"relatórios.dll",/"relatórios.dll"/' \
  "$work/run/sh.json" >"$work/run/short.json"
t 0 '' '' sidefile write sh.ini --from short.json
that '[ "$($runner "$quorix" sidefile show sh.ini | grep "^FILE AUX")" = "FILE AUX0=relatórios.dll" ]' \
  'a shorter list replaces a longer one'
printf '{"CNPJ": "1", "CNJP": "2"}' >"$work/run/typo.json"
printf '{"CNPJ": "1",' >"$work/run/broken.json"
printf '{"INSCESTADUAL": ""}' >"$work/run/nocnpj.json"
sed 's/"tef.dll"/""/' "$work/run/sh.json" >"$work/run/hole.json"
t 2 '' $'quorix: typo.json: chave desconhecida: CNJP\n' sidefile write x.ini --from typo.json
t 2 '' $'quorix: broken.json: JSON inválido perto do byte 14\n' sidefile write x.ini --from broken.json
t 2 '' $'quorix: hole.json: FILE AUX: a lista não pode ter textos vazios\n' sidefile write x.ini --from hole.json
t 2 '' $'quorix: nocnpj.json: falta a chave CNPJ\n' sidefile write x.ini --from nocnpj.json
t 2 '' $'quorix: nada.ini: arquivo não encontrado\n' sidefile show nada.ini

# total: a serial number with accents, stored as its Windows-1252 bytes.
t 0 '' '' total set gt.ini 'ECF-Ção' 1234,56
t 0 $'1234.56\n' '' total get gt.ini 'ECF-Ção'
t 0 '' '' total set gt.ini ECF-2 -12.25
t 0 $'-12.25\n' '' total get gt.ini ECF-2
t 0 $'0\n' '' total get gt.ini ECF-3
that 'LC_ALL=C grep -qaF "$(printf "[\272\270\273\242<X\344]")" gt.ini' \
  'the section of a serial number is its scrambled Windows-1252 bytes'
t 2 '' $'quorix: VALOR: "12.5.1" não é um número (ex.: 1234.56 ou 1234,56)\n' total set gt.ini ECF-2 12.5.1
t 2 '' $'quorix: SERIE: o caractere U+0151 ("ő") não existe no Windows-1252\n' total set gt.ini 'ECF ő' 1
t 2 '' $'quorix: Número de Fabricação ECF Inválido\n' total get gt.ini ''
t 2 '' $'quorix: nada.ini: arquivo não encontrado\n' total get nada.ini ECF-2
that '[ ! -e nada.ini ]' 'reading a missing side file makes none'
# The register keeps 15 significant digits: more is refused, never rounded.
digits() { echo "quorix: VALOR: \"$1\" tem $2 algarismos significativos; o totalizador guarda até 15, e gravaria outro número: arredonde-o"; }
t 2 '' "$(digits 1234567890123456 16)"$'\n' total set gt.ini ECF-2 1234567890123456
t 2 '' "$(digits 12345678901234567890 19)"$'\n' total set gt.ini ECF-2 12345678901234567890
t 2 '' "$(digits -0,0012345678901234567 17)"$'\n' total set gt.ini ECF-2 -0,0012345678901234567
t 0 $'-12.25\n' '' total get gt.ini ECF-2
t 0 '' '' total set gt.ini ECF-4 123456789012345000
t 0 $'123456789012345000\n' '' total get gt.ini ECF-4
t 0 '' '' total set gt.ini ECF-4 0,00000000000000123456789012345
t 0 $'0.00000000000000123456789012345\n' '' total get gt.ini ECF-4
# An accented folder and file name: the file the user named, on both builds.
mkdir "$work/run/pastá"
t 0 '' '' total set "pastá${sep}relatório.ini" ECF-1 7
t 0 $'7\n' '' total get "pastá${sep}relatório.ini" ECF-1
that '[ -f pastá/relatório.ini ] && [ "$(ls pastá)" = relatório.ini ]' 'an accented name is the name the user typed'

# --man-pages: the manual pages, in a folder it makes, say what --help says.
t 2 '' $'quorix: --man-pages: falta o valor\n' --man-pages
[ $windows = 1 ] || t 2 '' $'quorix: --man-pages: não foi possível criar a pasta r.txt/man1 (um nome do caminho é um arquivo, não uma pasta)\n' --man-pages r.txt/man1
t 0 '' '' --man-pages "man${sep}man1"
cat >"$work/man_vs_help.py" <<'PY'
# Each manual page's synopsis lines and option groups against --help's.
import os, re, subprocess, sys
runner, quorix = sys.argv[1:3]
def help_of(*words):
    argv = ([runner] if runner else []) + [quorix, *words, "--help"]
    # Wine now and then fails to start a program at all; a second start tells.
    done = subprocess.run(argv, capture_output=True, text=True)
    if done.returncode != 0 and runner:
        done = subprocess.run(argv, capture_output=True, text=True)
    done.check_returncode()
    return done.stdout.splitlines()
def unroff(line):
    return line.replace("\\-", "-").replace("\\e", "\\").replace("\\&", "")
def help_usage(lines):
    i = next(i for i, l in enumerate(lines) if l.startswith("Uso: "))
    out = [lines[i][5:]]
    while lines[i + 1].startswith("     "): i += 1; out.append(lines[i][5:])
    return out
def help_groups(lines):
    # Blocks between blank lines after the usage lines, up to the first that
    # is not a group: a title ending in ":" over indented option lines.
    blocks, groups = [[]], []
    for l in lines[lines.index("") + 1:]:
        if l: blocks[-1].append(l)
        elif blocks[-1]: blocks.append([])
    for b in blocks:
        if not b or not b[0].endswith(":") or not all(l.startswith("  ") for l in b[1:]): break
        groups.append((b[0][:-1], [l.split()[0] for l in b[1:] if re.match(r"^  \S", l)]))
    return [g for g in groups if g[0] != "Comandos"]
def sections(page):
    out, name = {}, None
    for l in page:
        if l.startswith(".SH "): name = unroff(l[4:]); out[name] = []
        elif name: out[name].append(unroff(l))
    return out
def man_groups(lines):
    groups = []
    for i, l in enumerate(lines):
        if l.startswith(".SS "): groups.append((l[4:], []))
        elif l == ".TP" and groups: groups[-1][1].append(lines[i + 1][3:].split()[0])
    return groups
bad = 0
for name in sorted(os.listdir(sys.argv[3])):
    page = sections(open(os.path.join(sys.argv[3], name), encoding="utf-8").read().splitlines())
    words = [] if name == "quorix.1" else [name[7:-2]]
    usage = [l for l in page["SINOPSE"] if l != ".br"]
    leaves = [(words, page["OPÇÕES"])] + [(s.split(), page[s]) for s in page if s.startswith(words[0] + " ")] if words else [(words, page["OPÇÕES"])]
    checks = [(name + " SINOPSE", usage, help_usage(help_of(*words)))]
    checks += [(name + " " + " ".join(w), man_groups(body), help_groups(help_of(*w))) for w, body in leaves]
    for what, man, shown in checks:
        if man != shown: bad += 1; print(what, "man:", man, "--help:", shown)
sys.exit(bad != 0)
PY
that 'python3 "$work/man_vs_help.py" "$runner" "$quorix" man/man1' 'manual pages: synopses and option groups as --help shows them'

# build, check, show: a report from JSON, read back; damaged copies of it.
cat >"$work/run/rel.json" <<'EOF'
{"contribuinte": {"cnpjCpf": "11.222.333/0001-81", "stateRegistration": "110.042.490.114",
  "municipalRegistration": "", "companyName": "Padaria Pão Dourado Ltda"},
 "linhas": [
  {"registro": "Header", "recordType": "E1"},
  {"registro": "RelacaoMercadoriaEstoque", "recordType": "E2", "productCode": "1001",
   "productDescription": "Pão francês", "unitOfMeasure": "KG", "stockQuantity": 12.35,
   "stockDate": "2024-05-31"},
  {"registro": "quorix_RelacaoMercadoriaEstoque", "recordType": "E2", "productCode": "1002",
   "productDescription": "Café", "unitOfMeasure": "UN", "stockQuantity": -3,
   "stockDate": "2024-05-31"},
  {"registro": "Totally", "recordType": "E9", "countedType": "E2"}]}
EOF
t 0 $'e.txt: 4 linhas e a assinatura (EAD)\n' '' build rel.json --out e.txt --private-key "$dev.chave"
t 0 $'e.txt: 5 linhas, nenhum problema\n' '' check e.txt --key "$dev.xml"
t 0 $'e.txt: 5 linhas, nenhum problema (assinatura não verificada)\n' '' check e.txt
h 0 'linha 2: mercadoria em estoque (103 caracteres)' show e.txt
h 0 '  87-95    quantidade em estoque                       -3,00' show e.txt
h 0 '  96-103   data do estoque                             31/05/2024' show e.txt
h 0 '"valor": 12.35' show e.txt --json
t 0 '' '' show e.txt --html e.html
that 'grep -q "title=\"data do estoque (96-103): 31/05/2024\">20240531</span>" e.html' \
  'the HTML page shows each field with its value on hover'
sed 's/"Café"/"Café ✓"/' "$work/run/rel.json" >"$work/run/glyph.json"
sed 's/"Café"/"  "/' "$work/run/rel.json" >"$work/run/refused.json"
sed 's/"Totally"/"Totaly"/' "$work/run/rel.json" >"$work/run/kind.json"
t 2 '' $'quorix: linha 3 (quorix_RelacaoMercadoriaEstoque), productDescription: o caractere U+2713 ("✓") não existe no Windows-1252\n' \
  build glyph.json --out g.txt --private-key "$dev.chave"
t 2 '' $'quorix: linha 3 (quorix_RelacaoMercadoriaEstoque) recusada: Descrição Produto Inválida\n' \
  build refused.json --out g.txt --private-key "$dev.chave"
t 2 '' 'quorix: linha 4: registro desconhecido "Totaly" (um de: Header, HeaderAnexoVI, Totally, RelacaoDavEmitido, RelacaoMercadoriaEstoque, RelacaoMercadoriaServicos, RelacaoReducoesZ, DetalheReducaoZ, RelacaoCupomFiscal, DetalheCupomFiscal, RelacaoDemaisDoctosEcf, DetalheDemaisDoctosEcf, RelacaoMovimentoDiario)'$'\n' \
  build kind.json --out g.txt --private-key "$dev.chave"
that '[ ! -e g.txt ]' 'a refused build writes no file'

# Each damage gives its own finding at its line and field, and the signature's.
damage() { sed "$2" "$work/run/e.txt" >"$work/run/$1.txt"; }
damage letter '2s/^\(.\{88\}\)./\1A/'
damage date '2s/20240531/20240231/'
damage cnpj '1s/11222333000181/11222333000182/'
damage short '3s/CAFE  /CAFE /'
damage removed '3d'
damage byte '2s/KG/KX/'
damage noead '$d'
(cd "$work/run" && cat e.txt && tail -1 e.txt) >"$work/run/twice.txt"
signature=$'assinatura (posições 4-259): a assinatura não confere com a chave pública (arquivo alterado depois de assinado, ou outra chave)\n'
t 1 $'letter.txt:2: quantidade em estoque (posições 87-95): "00A001235" não é um valor (dígitos, com "-" à frente se negativo)\nletter.txt:5: '"$signature" '' check letter.txt --key "$dev.xml"
t 1 $'date.txt:2: data do estoque (posições 96-103): "20240231" não é uma data válida (AAAAMMDD)\ndate.txt:5: '"$signature" '' check date.txt --key "$dev.xml"
t 1 $'cnpj.txt:1: CNPJ/CPF do contribuinte (posições 3-16): "11222333000182": dígitos verificadores errados\n' '' check cnpj.txt
t 1 $'short.txt:3: linha (posições 1-102): comprimento 102 não é o de nenhum tipo de registro (36, 72, 84, 94, 101, 103, 105, 106, 148, 149, 191, 268, 310)\n' '' check short.txt
t 1 $'removed.txt:3: quantidade de registros do tipo totalizado (posições 31-36): a quantidade 2 não confere com nenhum tipo de registro das linhas anteriores (E1: 1, E2: 1)\n' '' check removed.txt
t 1 "byte.txt:5: $signature" '' check byte.txt --modulus "$modulus"
t 1 $'noead.txt:5: EAD (posições 1-259): falta a linha EAD (assinatura) no fim do arquivo\n' '' check noead.txt --key "$dev.xml"
t 1 $'twice.txt:5: EAD (posições 1-259): linha EAD antes do fim do arquivo: só a última linha pode ser a EAD\ntwice.txt:6: '"$signature" '' check twice.txt --key "$dev.xml"
h 1 '"problema": "falta a linha EAD (assinatura) no fim do arquivo"' check noead.txt --json
t 2 $'e.txt: 5 linhas, nenhum problema (assinatura não verificada)\n' $'quorix: nada.txt: arquivo não encontrado\n' \
  check nada.txt e.txt
t 2 '' 'quorix: '"$(printf 'd\xc3\xaa')"$' a chave pública com --key ou com --modulus (só uma delas)\n' \
  check e.txt --key "$dev.xml" --modulus "$modulus"

# layouts: one kind by its export (with or without quorix_) or its Portuguese
# name; an unknown name lists the valid ones; the JSON's shape.
h 0 'totalizador de registros (quorix_Totally): tipo de 2 caracteres, linha de 36 caracteres' layouts Totally
h 0 '  31-36    6    N  quantidade de registros do tipo totalizado' layouts quorix_Totally
that '[ "$($runner "$quorix" layouts "Redução Z" | grep -c "^[^ ].*(quorix_")" = 1 ]' \
  'layouts "Redução Z" shows that one kind only'
h 0 '8. stockDate: diferente de zero → "Data Estoque Inválido "' layouts RelacaoMercadoriaEstoque
h 0 '  5. periodStart: diferente de zero; periodEnd: diferente de zero; periodStart: não depois de periodEnd → "Período Inválido " + periodStart (DD/MM/AAAA) + " e/ou " + periodEnd (DD/MM/AAAA)' layouts HeaderAnexoVI
t 2 '' $'quorix: tipo de registro desconhecido: "cupom"; os válidos:\n  cabeçalho de identificação (quorix_Header)\n  identificação do Anexo VI (quorix_HeaderAnexoVI)\n  totalizador de registros (quorix_Totally)\n  DAV emitido (quorix_RelacaoDavEmitido)\n  mercadoria em estoque (quorix_RelacaoMercadoriaEstoque)\n  tabela de mercadorias e serviços (quorix_RelacaoMercadoriaServicos)\n  Redução Z (quorix_RelacaoReducoesZ)\n  detalhe da Redução Z (quorix_DetalheReducaoZ)\n  cupom fiscal (quorix_RelacaoCupomFiscal)\n  item do cupom fiscal (quorix_DetalheCupomFiscal)\n  demais documentos do ECF (quorix_RelacaoDemaisDoctosEcf)\n  detalhe de pagamento (quorix_DetalheDemaisDoctosEcf)\n  movimento diário (quorix_RelacaoMovimentoDiario)\n' layouts cupom
t 2 '' $'quorix: dê --markdown, --json ou --html (só um deles)\n' layouts --json --markdown
# A page that cannot replace its file leaves what was there and no temporary file.
mkdir "$work/run/pasta"
t 2 '' $'quorix: Não foi possível gravar o arquivo pasta (é uma pasta)\n' layouts --html pasta
that '[ -z "$(ls -A pasta)" ] && [ -z "$(ls -A | grep quorix-)" ]' 'a refused page leaves no file'
run layouts --json >"$work/run/layouts.json" 2>/dev/null
that 'python3 -c "
import json, sys
kinds = json.load(open(\"layouts.json\"))
assert len(kinds) == 13 and len({k[\"lineLength\"] for k in kinds}) == 13
for k in kinds:
    end = 1
    for f in k[\"fields\"]:
        assert f[\"position\"] == end and f[\"kind\"] in \"NXDH\" and f[\"name\"] and f[\"source\"]
        end += f[\"width\"]
    assert end - 1 == k[\"lineLength\"], k[\"export\"]
stock = [k for k in kinds if k[\"export\"] == \"quorix_RelacaoMercadoriaEstoque\"][0]
assert stock[\"fields\"][-1] == {\"position\": 96, \"width\": 8, \"name\": \"data do estoque\", \"kind\": \"D\", \"source\": \"stockDate\", \"rendering\": \"AAAAMMDD\"}
"' 'layouts --json: 13 kinds whose fields run from position 1 to the line length'

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
