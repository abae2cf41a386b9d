#!/usr/bin/env bash
# A demonstration on a virtual display: Jotwell starts with the sample entry file and a
# screenshot is saved to build/jotwell.png.
source "$(dirname "$0")/lib.sh"
jw_setup "$1"
out=$(cd "$(dirname "$0")/../.." && pwd)/build
cp "$(dirname "$0")/../../samples/Sample.txt" "$JW_TMP/Sample.txt"
jw_start "$(jw_winpath "$JW_TMP/Sample.txt")"
jw_wait_window '^Sample.txt - Jotwell$' 60 >/dev/null || jw_fail "Jotwell did not start"
sleep 1
jw_screenshot "$out/jotwell.png" && echo "Screenshot of Jotwell: $out/jotwell.png"
jw_tool jw_post "Sample.txt - Jotwell" 0x111 57665
jw_wait_exit "$JW_PID" 30
