#!/bin/sh
# Runs a Windows program of the cross build under Wine, in a prefix of our own
# so that tests never depend on (or disturb) the user's ~/.wine.
: "${WINEPREFIX:=${HOME}/.wine-quorix}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers on first start.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec wine "$@"
