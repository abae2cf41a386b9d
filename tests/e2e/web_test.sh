#!/usr/bin/env bash
# The web commands in the real program: opening a web input setting file enables or
# grays the "&Web" menu by whether it stores any field, and the tag index report
# (Ctrl+Alt+D) writes an empty file when no browser window is open, twice in a row
# (the first run must have freed the worker). Wine has no HTML engine, so no page
# can be filled or listed here.
. "$(dirname "$0")/lib.sh"
jw_setup "$1"

TITLE='Sample.txt - Jotwell'
printf 'entry\tone\n' >"$JW_TMP/Sample.txt"
printf '; tables only: nothing to fill\n[Order]\n[$T]\nk=v\n' >"$JW_TMP/no_fields.txt"
printf '[Order:main]\r\nname=Smith\r\n' >"$JW_TMP/fields.txt"
# Nothing listens on this loopback port: the DevTools targets add no window.
jw_reg add "$JW_KEY\\WebInput" /v DevToolsPort /t REG_DWORD /d 9 /f

jw_start "$(jw_winpath "$JW_TMP/Sample.txt")"
main=$(jw_wait_window "^$TITLE\$" 60) || jw_fail "Jotwell did not start"

menu_state() { jw_tool jw_menu state "$TITLE" 1 | tr -d '\r'; }
wait_menu_state() {  # expected -> polls for up to 10 s
    local start=$SECONDS got=""
    while [ $((SECONDS - start)) -lt 10 ]; do
        got=$(menu_state)
        [ "$got" = "$1" ] && return 0
        sleep 0.2
    done
    echo "menu state: '$got', expected '$1'" >&2
    return 1
}

# Types a full path into a file dialog and confirms it.
answer_file_dialog() {  # title-regex path
    local dialog
    dialog=$(jw_wait_window "$1" 20) || jw_fail "no dialog matching $1"
    sleep 0.5
    xdotool windowfocus --sync "$dialog" 2>/dev/null || xdotool windowfocus "$dialog"
    eval "$(xdotool getwindowgeometry --shell "$dialog")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + 12))
    xdotool key ctrl+a
    xdotool type --delay 20 "$(jw_winpath "$2")"
    xdotool key Return
    jw_wait_no_window "$1" 20 || jw_fail "dialog $1 stayed open"
}

jw_log "Web menu at start: $(menu_state)"
[ -n "$(menu_state)" ] || jw_fail "cannot read the menu of another process"

# Command 32787 with a file that stores no field: the Web menu is grayed.
jw_tool jw_menu command "$TITLE" 32787 || jw_fail "cannot send command 32787"
answer_file_dialog '^Open$' "$JW_TMP/no_fields.txt"
wait_menu_state grayed || jw_fail "Web menu not grayed after a file without fields"

# ... and with a file that does: enabled again.
jw_tool jw_menu command "$TITLE" 32787 || jw_fail "cannot send command 32787"
answer_file_dialog '^Open$' "$JW_TMP/fields.txt"
wait_menu_state enabled || jw_fail "Web menu not enabled after a file with fields"

# Ctrl+Alt+D: the save dialog runs on the worker thread; no browser window is open,
# so the report file is created and stays empty.
for n in 1 2; do
    report="$JW_TMP/report$n.txt"
    xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
    eval "$(xdotool getwindowgeometry --shell "$main")"
    # A click activates the window again after the dialogs (no window manager here).
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 20)) click 1
    sleep 0.3
    xdotool key ctrl+alt+d
    answer_file_dialog '^Save As$' "$report"
    start=$SECONDS
    until [ -f "$report" ] || [ $((SECONDS - start)) -ge 10 ]; do sleep 0.2; done
    [ -f "$report" ] || jw_fail "report $n was not written"
    [ ! -s "$report" ] || jw_fail "report $n is not empty: $(od -c "$report" | head -3)"
done
# No message box was left behind by the runs.
! xdotool search --name '^Jotwell$' >/dev/null 2>&1 || jw_fail "a message box is showing"
echo "web_test: OK"
