#!/usr/bin/env bash
# The web commands in the real program: opening a web input setting file enables or
# grays the "&Web" menu by whether it stores any field, a line whose element number is
# none is told in a box owned by the main window, the file's path is loaded again at
# the next start, and the tag index report
# (Ctrl+Alt+D) writes an empty file when no browser window is open, twice in a row
# (the first run must have freed the worker). Wine has no HTML engine, so no page
# can be filled or listed here (web_chromium_test.sh does that over DevTools).
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
. "$here/web_lib.sh"
jw_setup "$1"

TITLE='Sample.txt - Jotwell'
printf 'entry\tone\n' >"$JW_TMP/Sample.txt"
printf '; tables only: nothing to fill\n[Order]\n[$T]\nk=v\n' >"$JW_TMP/no_fields.txt"
printf '[Order:main]\r\nname=Smith\r\n' >"$JW_TMP/fields.txt"
# Nothing listens on this loopback port: the DevTools targets add no window.
jw_reg add "$JW_KEY\\WebInput" /v DevToolsPort /t REG_DWORD /d 9 /f

jw_start "$(jw_winpath "$JW_TMP/Sample.txt")"
main=$(jw_wait_window "^$TITLE\$" 60) || jw_fail "Jotwell did not start"
jw_log "Web menu at start: $(jww_menu_state "$TITLE")"
[ -n "$(jww_menu_state "$TITLE")" ] || jw_fail "cannot read the menu of another process"

# A file that stores no field grays the Web menu; one that does enables it again.
jww_open_setting_file "$TITLE" "$JW_TMP/no_fields.txt"
jww_wait_menu_state "$TITLE" grayed || jw_fail "Web menu not grayed after a file without fields"
jww_open_setting_file "$TITLE" "$JW_TMP/fields.txt"
jww_wait_menu_state "$TITLE" enabled || jw_fail "Web menu not enabled after a file with fields"

# A "#" without a number would have stood for element 0, the whole page: the line is told and ignored.
printf '[Order:main]\nname=Smith\n#top=wiped\n' >"$JW_TMP/bad_number.txt"
jww_open_setting_file "$TITLE" "$JW_TMP/bad_number.txt"
jw_tool jw_window wait 'class:#32770' shown 10 || jw_fail "no message for the line without a number"
box=$(jw_tool jw_window boxtext 'class:#32770' | tr -d '\r')
[[ "$box" == *"Line 3 "* && "$box" == *'"#top"'* ]] || jw_fail "the message does not name line 3 and its reference: $box"
[ "$(jw_tool jw_window owner 'class:#32770')" = "$(jw_tool jw_window find "$TITLE")" ] \
    || jw_fail "the message box is not owned by the main window"
jw_tool jw_window post 'class:#32770' 0x0111 1 0
jw_tool jw_window wait 'class:#32770' gone 10 || jw_fail "the message box stayed"
jww_wait_menu_state "$TITLE" enabled || jw_fail "Web menu not enabled after a file with a valid field"

# The save dialog runs on the worker thread; with no browser window open the file is
# created and stays empty.
for n in 1 2; do
    report="$JW_TMP/report$n.txt"
    jww_write_report "$main" "$report"
    [ ! -s "$report" ] || jw_fail "report $n is not empty: $(od -c "$report" | head -3)"
done
! xdotool search --name '^Jotwell$' >/dev/null 2>&1 || jw_fail "a message box is showing"

# The setting file's path outlives the program: the next start loads it and enables the menu.
jw_tool jw_window post "$TITLE" 0x111 57665 0 >/dev/null || jw_fail "cannot exit"
jw_wait_exit "$JW_PID" 30 || jw_fail "Jotwell did not exit"
jw_start "$(jw_winpath "$JW_TMP/Sample.txt")"
jw_wait_window "^$TITLE\$" 60 >/dev/null || jw_fail "Jotwell did not start again"
# That file still has its line without a number, told again; the menu is enabled before.
jw_tool jw_window wait 'class:#32770' shown 20 || jw_fail "no message for the line at the next start"
jww_wait_menu_state "$TITLE" enabled || jw_fail "Web menu not enabled by the file of the last run"
jw_tool jw_window post 'class:#32770' 0x0111 1 0
jw_tool jw_window wait 'class:#32770' gone 10 || jw_fail "the message box stayed"
echo "web_test: OK"
