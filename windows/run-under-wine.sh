#!/usr/bin/env bash
# Runs a Windows program under Wine in the build's own prefix, quietly.
#
#   run-under-wine.sh WINE PREFIX [PROGRAM.exe ARGUMENTS...]
#   run-under-wine.sh WINE PREFIX --native PROGRAM ARGUMENTS...
#
# Without a program it only makes sure the prefix exists (creating one takes
# several seconds, so the tests share it). With --native it runs a Linux
# program that checks what a Wine run wrote. Exits 77, ctest's "skipped",
# when Wine is missing.
set -euo pipefail
wine=$1
prefix=$2
shift 2

if [[ -z "$wine" || ! -x "$wine" ]]; then
  echo "Skipped: Wine (wine64) not found"
  exit 77
fi

if [[ "${1:-}" == "--native" ]]; then
  shift
  exec "$@"
fi

export WINEPREFIX=$prefix
export HOME=${HOME:-$prefix}  # CI shells may have none; Wine wants one
export WINEDEBUG=-all
# No Mono or Gecko installers: nothing here needs .NET or HTML.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY

if [[ ! -f "$prefix/system.reg" ]]; then
  echo "Creating the Wine prefix $prefix"
  "$wine" wineboot --init >/dev/null 2>&1
  "$(dirname "$wine")/wineserver" -w 2>/dev/null || true
fi
if (($# == 0)); then
  exit 0
fi
exec "$wine" "$@"
