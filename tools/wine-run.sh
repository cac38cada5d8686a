#!/bin/sh
# Runs a Windows program of the cross build under Wine, in a prefix of our own
# so that tests never depend on (or disturb) the user's ~/.wine.
: "${WINEPREFIX:=${HOME}/.wine-quorix}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers on first start.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# Wine gives a Windows file name to the system in the locale's encoding: a
# name past ASCII (relatório.txt) needs a UTF-8 locale.
case $(locale charmap 2>/dev/null) in
  UTF-8) ;;
  *) LC_ALL=C.UTF-8 && export LC_ALL ;;
esac
exec wine "$@"
