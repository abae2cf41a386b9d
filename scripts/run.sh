#!/usr/bin/env bash
# Builds Jotwell.exe and starts it under Wine with the sample entry file. Settings live in a
# Wine prefix under build/, so they survive from one run to the next. Without a display it
# starts Xvfb, says so, drags an entry into Wine's notepad, prints what arrived and saves a
# screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
source scripts/wine-build.sh
jotwell_wine_build "$(nproc)" Jotwell jw_gettext jw_window

if [ -z "${DISPLAY:-}" ]; then
  echo "No display: running on a virtual X display (Xvfb) instead, with a demonstration drop."
  exec bash scripts/demo_drop.sh "$JOTWELL_WINE_BUILD"
fi

export WINEPREFIX=${WINEPREFIX:-$PWD/build/wine-run} WINEDEBUG=${WINEDEBUG:--all}
# Edits are saved at once, so the program works on a copy of the shipped sample.
[ -f build/Sample.txt ] || cp samples/Sample.txt build/Sample.txt
exec wine "$JOTWELL_WINE_BUILD/Jotwell.exe" "$(winepath -w build/Sample.txt)"
