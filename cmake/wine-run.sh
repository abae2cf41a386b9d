#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine with a private prefix and an X display.
# JOTWELL_WINEPREFIX picks the prefix (default: a fresh temporary one, removed afterwards);
# DISPLAY is used when set, otherwise a private Xvfb is started for the run.
set -u
source "$(dirname "$0")/wine-session.sh"
own_prefix=""
if [ -n "${JOTWELL_WINEPREFIX:-}" ]; then
  export WINEPREFIX=$JOTWELL_WINEPREFIX
else
  own_prefix=$(mktemp -d /tmp/jotwell-wine.XXXXXX)
  wine_session_prefix "$(cd "$(dirname "$1")" && pwd)" "$own_prefix"
fi
[ -n "${DISPLAY:-}" ] || wine_session_display 70 130
wine "$@"
rc=$?
wine_session_end "$own_prefix"
exit $rc
