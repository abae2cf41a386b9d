#!/usr/bin/env bash
# Demonstration without a display: Jotwell and Wine's notepad on a private Xvfb, one real
# drag of an entry into notepad; prints what arrived and saves build/demo-drop.png.
# Usage: scripts/demo_drop.sh [BUILD_DIR]  (default build/win, the folder holding Jotwell.exe)
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/e2e/lib.sh"
source "$root/tests/e2e/drop_lib.sh"
jw_setup "${1:-$root/build/win}"
shot=$root/build/demo-drop.png

entries=$JW_TMP/demo.txt
jwd_write_entries "$entries" 'Dear customer,\nthank you for your message.\tgreeting' 'Best regards,\nJotwell\tclosing'
jwd_start "$entries"
(cd "$JW_TMP" && exec wine notepad.exe >/dev/null 2>&1) &
jwd_wait_title "Untitled - Notepad" 60 >/dev/null || jw_fail "notepad did not start"
jw_tool jw_window move "Untitled - Notepad" 460 60 520 360 || jw_fail "cannot move notepad"
sleep 0.5
# shellcheck disable=SC2086
jwd_drag 0 $(jwd_window_point "Untitled - Notepad" 0 20)
jwd_wait_notepad_text $'Dear customer,\r\nthank you for your message.' 10 || jw_fail "nothing arrived in notepad"
echo "Dragged row 0 of $(basename "$entries") from Jotwell into notepad; notepad now holds:"
jw_tool jw_gettext text Notepad Edit | tr -d '\r' | sed 's/^/    | /'
echo
mkdir -p "$(dirname "$shot")"
jw_screenshot "$shot" && echo "screenshot: $shot" || echo "no screenshot (ImageMagick's import failed)"
