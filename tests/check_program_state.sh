#!/bin/sh
# The quorix program reaches everything the library keeps between calls
# through the library, as any host does: its binary must define none of it
# (a second copy would check files against its own tables, beside a library
# of another version). It shares the stateless record tables and reader, and
# the porting layer, whose file replacement it uses for its own files.
# usage: check_program_state.sh <nm> <program>
set -eu
nm=$1 program=$2
defined=$("$nm" -C --defined-only "$program") || { echo "FAIL: $nm could not read $program"; exit 1; }
# A symbol table without the record tables is no evidence of anything.
printf '%s\n' "$defined" | grep -q 'quorix::upaf::reader::Read' \
  || { echo "FAIL: no quorix::upaf::reader::Read in $program: is it stripped?"; exit 1; }
# Names only (no address, no type), so that a pattern matches where a name
# starts: an inline template instantiated in the program (one that walks a
# report it is handed) names its return type first and is no copy of state.
found=$(printf '%s\n' "$defined" | sed 's/^[0-9a-fA-F]* *[A-Za-z] //' | grep -E \
  '^quorix::(upaf::(gProcess$|Process\(|ProcessState::|SpareBlocks::|ReportBuffer::)|(LastErrorText|SetLastError|SetLastErrorNoThrow|ChainLastError|LastErrorMessage)\(|upaf::(AssembleRecord|RunOwnChecks|CloseReport|TaxpayerCheck)\(|store::(Load|Get)SoftwareHouseData\(|store::ScrambledIni::|platform::ProfileFile::)' \
  || true)
if [ -n "$found" ]; then
  echo "FAIL: $program defines the library's state:"
  printf '%s\n' "$found"
  exit 1
fi
echo "OK: $program defines none of the library's state"
