#!/usr/bin/env bash
# Proves that signatures are plain RSA: the openssl tool, given only the
# modulus and e = 65537, recovers from an EAD line the block 0x10 + MD5 of
# the bytes before the line + 111 zero bytes.
# usage: openssl_check.sh <path to signfile>
set -euo pipefail

signfile=${1:?usage: openssl_check.sh <path to signfile>}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

fail() { echo "FAIL: $*" >&2; exit 1; }

"$signfile" genkey pub.key priv.key
printf 'Z1|0001|report\r\n' >report.txt
head -c 300000 /dev/urandom >>report.txt
printf '\r\nZ9|end\r\n' >>report.txt
cp report.txt original.txt
"$signfile" sign pub.key priv.key report.txt >/dev/null
"$signfile" validate pub.key priv.key report.txt >/dev/null || fail "signfile rejects its own file"

size=$(stat -c %s original.txt)
[ "$(stat -c %s report.txt)" -eq $((size + 261)) ] || fail "signed file is not one EAD line longer"
cmp -n "$size" original.txt report.txt || fail "signing changed the content"
line=$(tail -c 261 report.txt)
[ "${line:0:3}" = EAD ] || fail "last line does not start with EAD"
[ "$(tail -c 2 report.txt | xxd -p)" = 0d0a ] || fail "last line does not end with CR LF"
sig=${line:3:256}
[[ $sig =~ ^[0-9A-F]{256}$ ]] || fail "signature is not 256 upper-case hex digits"

# SubjectPublicKeyInfo for (n, 65537), so that openssl knows the key.
cat >spki.cnf <<CNF
asn1 = SEQUENCE:spki
[spki]
algorithm = SEQUENCE:rsa_alg
key = BITWRAP,SEQUENCE:rsa_key
[rsa_alg]
oid = OID:rsaEncryption
params = NULL
[rsa_key]
n = INTEGER:0x$(cat pub.key)
e = INTEGER:65537
CNF
openssl asn1parse -genconf spki.cnf -out pub.der -noout
openssl pkey -pubin -inform DER -in pub.der -noout -text >pub.txt
grep -q 'Public-Key: (1024 bit)' pub.txt || fail "modulus is not 1024 bits"

printf '%s' "$sig" | xxd -r -p >sig.bin
openssl pkeyutl -verifyrecover -pubin -keyform DER -inkey pub.der \
  -pkeyopt rsa_padding_mode:none -in sig.bin -out recovered.bin

{ printf '\x10'; openssl dgst -md5 -binary original.txt; head -c 111 /dev/zero; } >expected.bin
cmp recovered.bin expected.bin || fail "recovered block differs from 0x10 + MD5 + zeros"

# And the library itself must reject the file once a byte changes.
printf 'X' | dd of=report.txt bs=1 seek=5 conv=notrunc status=none
if "$signfile" validate pub.key priv.key report.txt >/dev/null; then
  fail "a changed file still validates"
fi
echo "openssl check: signature recovers to 0x10 + MD5 + zeros with plain RSA"
