#!/usr/bin/env bash
# Jotwell.exe must load on Windows 7: the loader refuses a program that imports a
# function the system lacks. Lists the exe's imports and fails on any function of
# this list, each of them missing from Windows 7 (such functions are looked up at
# run time instead, and their feature is off where they are missing).
# Usage: windows7_imports.sh OBJDUMP EXE
set -euo pipefail
objdump=${1:-i686-w64-mingw32-objdump}
exe=$2
missing_on_7=(
  WinHttpWebSocketCompleteUpgrade WinHttpWebSocketSend WinHttpWebSocketReceive
  WinHttpWebSocketShutdown WinHttpWebSocketClose WinHttpWebSocketQueryCloseStatus
  GetDpiForWindow GetDpiForSystem GetSystemMetricsForDpi SetProcessDpiAwarenessContext
  GetWindowDpiAwarenessContext SetThreadDpiAwarenessContext GetThreadDpiAwarenessContext
  AreDpiAwarenessContextsEqual
  LogicalToPhysicalPointForPerMonitorDPI PhysicalToLogicalPointForPerMonitorDPI EnableNonClientDpiScaling
  SetThreadDescription GetSystemTimePreciseAsFileTime CreateFile2
)
# Rows of the import tables: "<hint> <name>" below each "DLL Name:" line.
imports=$("$objdump" -p "$exe" | awk '/DLL Name:/ { dll = $3 } /^\t[0-9a-f]+\t +[0-9]+  / { print dll ": " $3 }')
[ -n "$imports" ] || { echo "FAIL: no imports read from $exe"; exit 1; }
grep -q 'KERNEL32.dll: CreateThread' <<<"$imports" || { echo "FAIL: the import list was not read right"; exit 1; }
bad=0
for name in "${missing_on_7[@]}"; do
  if grep -qx "[^:]*: $name" <<<"$imports"; then
    echo "FAIL: $(basename "$exe") imports $name, which Windows 7 lacks"
    bad=1
  fi
done
# Windows 8 and later also answer through API-set DLLs and shcore.dll; Windows 7 has neither.
if grep -iqE '^(api-ms-win-|ext-ms-win-|shcore\.dll)' <<<"$imports"; then
  echo "FAIL: imports from a DLL Windows 7 lacks: $(grep -ioE '^(api-ms-win-[^:]*|ext-ms-win-[^:]*|shcore\.dll)' <<<"$imports" | sort -u | tr '\n' ' ')"
  bad=1
fi
[ "$bad" -eq 0 ] && echo "ok: $(wc -l <<<"$imports") imports, none missing from Windows 7"
exit "$bad"
