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
# Debian's wine starts the prefix's server with no persistence (-p0): it ends
# the moment the prefix's last program does, and a program started in that
# instant now and then fails to start at all (status 1 and no output, or "wine
# client error ... Connection reset by peer"). A server started here stays a
# minute after the last program instead, so a test program's runs share one
# server (and one start of the prefix's own processes); where one runs
# already, this start finds it and ends at once. A prefix's first program
# makes the prefix (with the usual server).
# keep_server LOADER
keep_server() {
  [ -d "$WINEPREFIX" ] || return 0
  for server in /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver32; do
    [ -x "$server" ] || continue
    # Status 0: started here, not found running. The prefix's own processes
    # (services, devices) start now as well, with none of the caller's
    # files: they live as long as the server, and would otherwise hold the
    # first program's output open for that minute.
    if "$server" -p60 </dev/null >/dev/null 2>&1; then
      "$1" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
    fi
    return 0
  done
}
program=${1-}
[ -f "$program" ] || program="$program.exe"
if [ "$(machine "$program")" = 8664 ]; then
  WINEPREFIX=${WINEPREFIX64:-${WINEPREFIX%/}64}
  export WINEPREFIX
  for loader in /usr/lib/wine/wine64 "$(command -v wine64)"; do
    [ -x "$loader" ] && keep_server "$loader" && exec "$loader" "$@"
  done
  echo "wine-run.sh: $1 is a 64-bit program and wine64 is not installed" >&2
  exit 127
fi
export WINEPREFIX
keep_server wine
exec wine "$@"
