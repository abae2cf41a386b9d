#!/usr/bin/env bash
# Figure, printed and not asserted (a figure that cannot be measured ends the script with an
# error): the time from the hotkey (Ctrl+Alt+J typed in notepad with xdotool) to Jotwell's
# hidden window mapped on the X display, median and range of N calls.
# Clock: this machine's, around xdotool; the window is looked for every few milliseconds
# (xdotool search), so a figure carries that much resolution.
# Usage: hotkey_figures.sh BUILD_DIR [CALLS]   (run by scripts/figures.sh)
e2e=$(cd "$(dirname "$0")/../../tests/e2e" && pwd)
source "$e2e/lib.sh"
jw_setup "${1:?build folder}"
calls=${2:-20}
FRAME='- Jotwell'
W=jw_window

printf 'figure\r\n' >"$JW_TMP/entries.txt"
jw_start "$(jw_winpath "$JW_TMP/entries.txt")"
jw_tool $W wait "$FRAME" shown 60 || jw_fail "Jotwell did not start"
jw_tool $W move "$FRAME" 300 100 120 280 || jw_fail "cannot move Jotwell"
(cd "$JW_TMP" && exec wine notepad.exe >/dev/null 2>&1) &
jw_tool $W wait class:Notepad shown 60 || jw_fail "notepad did not start"
jw_tool $W move class:Notepad 0 0 200 300 || jw_fail "cannot move notepad"
notepad=$(jw_wait_window Notepad 10) || jw_fail "notepad has no X window"

now_us() { echo $(( $(date +%s%N) / 1000 )); }
times=()
for _ in $(seq "$calls"); do
    jw_tool $W post "$FRAME" 0x112 0xF060 0   # closing hides
    jw_tool $W wait "$FRAME" hidden 10 || jw_fail "Jotwell did not hide"
    xdotool mousemove 30 120 click 1
    xdotool windowfocus "$notepad" 2>/dev/null
    xdotool mousemove 350 200
    sleep 0.3
    start=$(now_us)
    xdotool key ctrl+alt+j
    until xdotool search --onlyvisible --name "entries.txt $FRAME" >/dev/null 2>&1; do
        [ $(( $(now_us) - start )) -lt 5000000 ] || jw_fail "the hotkey did not show Jotwell: visible=$(jw_tool $W visible "$FRAME") focus=$(jw_tool $W focus class:Notepad)"
    done
    times+=($(( $(now_us) - start )))
done
sorted=$(printf '%s\n' "${times[@]}" | sort -n)
median=$(echo "$sorted" | sed -n "$(( (calls + 1) / 2 ))p")
printf 'hotkey to window shown: median %d.%01d ms, min %d ms, max %d ms (%d calls)\n' \
    $((median / 1000)) $(( median % 1000 / 100 )) $(( $(echo "$sorted" | head -n1) / 1000 )) \
    $(( $(echo "$sorted" | tail -n1) / 1000 )) "$calls"
