#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine with a private prefix and an X display.
# JOTWELL_WINEPREFIX picks the prefix (default: a fresh temporary one, removed afterwards);
# DISPLAY is used when set, otherwise a private Xvfb is started for the run.
set -u
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
cleanup_prefix=""
if [ -n "${JOTWELL_WINEPREFIX:-}" ]; then
  export WINEPREFIX=$JOTWELL_WINEPREFIX
else
  # A prefix made once next to the program and copied for each run (a fresh one takes ~10 s).
  template=$(cd "$(dirname "$1")" && pwd)/wine-template
  if [ ! -f "$template/system.reg" ]; then
    tmp=$(mktemp -d "$template.XXXXXX")
    WINEPREFIX=$tmp DISPLAY= wineboot -i >/dev/null 2>&1
    WINEPREFIX=$tmp wineserver -w
    mv -T "$tmp" "$template" 2>/dev/null || rm -rf "$tmp"
  fi
  WINEPREFIX=$(mktemp -d /tmp/jotwell-wine.XXXXXX)
  export WINEPREFIX
  cp -a "$template/." "$WINEPREFIX/"
  cleanup_prefix=$WINEPREFIX
fi
xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 70 130); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=:$n
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
    break
  done
fi
wine "$@"
rc=$?
if [ -n "$cleanup_prefix" ]; then
  wineserver -k >/dev/null 2>&1
  rm -rf "$cleanup_prefix"
fi
[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
exit $rc
