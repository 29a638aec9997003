#!/bin/sh
# wine_prefix.sh PREFIX: creates the wine prefix the COM tests run in, once.
# A prefix left half-made by an interrupted run is removed and made again.
set -u
here=$(cd "$(dirname "$0")" && pwd)
prefix=$1
case $prefix in /*) ;; *) prefix=$(pwd)/$prefix ;; esac  # wine wants it absolute
if [ -f "$prefix/.folio-ready" ] && [ -f "$prefix/system.reg" ]; then
  exit 0
fi
rm -rf "$prefix"
mkdir -p "$prefix"
"$here/wine_run.sh" "$prefix" wineboot --init
rc=$?
if [ $rc -ne 0 ] || [ ! -f "$prefix/system.reg" ]; then
  echo "wine_prefix: wineboot failed (exit $rc)" >&2
  exit 1
fi
touch "$prefix/.folio-ready"
echo "wine_prefix: ready at $prefix"
