#!/bin/sh
# wine_run.sh PREFIX PROGRAM ARGS...: runs a Windows program with wine64 in a
# private X server (xvfb-run), then waits for the wine server to finish so the
# next run starts clean. Everything it creates lives under PREFIX.
set -u
prefix=$1
case $prefix in /*) ;; *) prefix=$(pwd)/$prefix ;; esac  # wine wants it absolute
shift
WINE=${WINE64:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver}
[ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine)
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko installers: nothing here needs them, and they would prompt.
export WINEDLLOVERRIDES="mscoree=;mshtml="
export HOME="${HOME:-$prefix/..}"
export WINE WINESERVER
exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
  sh -c '"$WINE" "$@" </dev/null; rc=$?; "$WINESERVER" -w; exit $rc' wine_run "$@"
