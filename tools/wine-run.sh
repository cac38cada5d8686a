#!/bin/sh
# Runs a Windows program of a cross build under Wine, in a prefix of our own
# so that tests never depend on (or disturb) the user's ~/.wine.
# A 64-bit program runs under wine64 in a 64-bit prefix of its own (WINEPREFIX64,
# by default the 32-bit prefix's name followed by 64): the `wine` launcher picks
# the 32-bit loader whenever wine32 is installed, and that loader cannot start
# where the kernel runs no 32-bit program, which wine64 never needs.
: "${WINEPREFIX:=${HOME}/.wine-quorix}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers on first start.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# Wine gives a Windows file name to the system in the locale's encoding: a
# name past ASCII (relatório.txt) needs a UTF-8 locale.
case $(locale charmap 2>/dev/null) in
  UTF-8) ;;
  *) LC_ALL=C.UTF-8 && export LC_ALL ;;
esac

# The PE machine field: 8664 for x86-64, 014c for i386.
machine() {
  [ -f "$1" ] || return 0
  at=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$at" ] && od -An -tx2 -j$((at + 4)) -N2 "$1" 2>/dev/null | tr -d ' '
}
program=${1-}
[ -f "$program" ] || program="$program.exe"
if [ "$(machine "$program")" = 8664 ]; then
  WINEPREFIX=${WINEPREFIX64:-${WINEPREFIX%/}64}
  export WINEPREFIX
  for loader in /usr/lib/wine/wine64 "$(command -v wine64)"; do
    [ -x "$loader" ] && exec "$loader" "$@"
  done
  echo "wine-run.sh: $1 is a 64-bit program and wine64 is not installed" >&2
  exit 127
fi
export WINEPREFIX
exec wine "$@"
