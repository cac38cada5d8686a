#!/bin/sh
# Whether this machine can run the cross build's 32-bit Windows programs under
# Wine: Wine's own loader is a 32-bit x86 Linux program, and some virtual
# machines' kernels run 64-bit user code only (execve of an i386 program fails
# with "Exec format error"). Exits 0 when it can; otherwise prints why and
# exits 1.
loader=/usr/lib/i386-linux-gnu/ld-linux.so.2
if [ ! -x "$loader" ] || ! command -v wine >/dev/null; then
  echo "Wine with its 32-bit libraries (wine32:i386) is not installed"
  exit 1
fi
# Run directly: a launcher such as timeout would hand a refused program to
# the shell as a script.
if ! "$loader" --version >/dev/null 2>&1; then
  echo "this machine's kernel does not run 32-bit x86 programs (Exec format error)"
  exit 1
fi
exit 0
