#!/usr/bin/env bash
# The main job checked from outside: runs the demo host, takes the developer's
# modulus from the public-key XML file it wrote, and has the openssl tool
# recover each report's signature block (plain RSA, e = 65537), which must be
# 0x10 + the MD5 of the bytes before the EAD line + 111 zero bytes.
# usage: demo_openssl_check.sh <path to quorix_demo>
set -euo pipefail

demo=${1:?usage: demo_openssl_check.sh <path to quorix_demo>}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$demo" "$work" >"$work/demo.log" || fail "the demo failed: $(tail -5 "$work/demo.log")"
xml=$(ls "$work"/*.xml | head -1)
modulus=$(sed -n 's:.*<modulo>\([0-9A-F]*\)</modulo>.*:\1:p' "$xml")
[ ${#modulus} -eq 256 ] || fail "no 256-digit modulus in $xml"

cat >"$work/spki.cnf" <<CNF
asn1 = SEQUENCE:spki
[spki]
algorithm = SEQUENCE:rsa_alg
key = BITWRAP,SEQUENCE:rsa_key
[rsa_alg]
oid = OID:rsaEncryption
params = NULL
[rsa_key]
n = INTEGER:0x$modulus
e = INTEGER:65537
CNF
openssl asn1parse -genconf "$work/spki.cnf" -out "$work/pub.der" -noout

count=0
for report in "$work"/quorix-demo-*.txt; do
  size=$(stat -c %s "$report")
  body=$((size - 261))
  line=$(tail -c 261 "$report")
  [ "${line:0:3}" = EAD ] || fail "$(basename "$report"): last line is not an EAD record"
  printf '%s' "${line:3:256}" | xxd -r -p >"$work/sig.bin"
  openssl pkeyutl -verifyrecover -pubin -keyform DER -inkey "$work/pub.der" \
    -pkeyopt rsa_padding_mode:none -in "$work/sig.bin" -out "$work/recovered.bin"
  { printf '\x10'; head -c "$body" "$report" | openssl dgst -md5 -binary; head -c 111 /dev/zero; } \
    >"$work/expected.bin"
  cmp -s "$work/recovered.bin" "$work/expected.bin" || fail "$(basename "$report"): signature block differs"
  count=$((count + 1))
done
[ "$count" -gt 0 ] || fail "the demo wrote no report"
echo "demo openssl check: $count signed reports recover to 0x10 + MD5 + zeros"
