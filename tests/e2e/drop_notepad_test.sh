#!/usr/bin/env bash
# End to end: real drags from Jotwell's rows onto Wine's notepad.exe (its "Edit" control,
# default Paste rule), and drags that must deliver nothing; the marks that keep a dropped
# text out of clipboard managers, and "Restore Clipboard after Drop".
# Usage: drop_notepad_test.sh BUILD_DIR (the folder holding Jotwell.exe and the tools)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
source "$here/drop_lib.sh"
jw_setup "${1:?build folder}"

entries=$JW_TMP/entries.txt
jwd_write_entries "$entries" 'first line\nsecond line\texplained first' 'beta\tabout beta' 'gamma\tthird'
jwd_start "$entries"
[ "$(jwd_listinfo)" = "count=4 selected=-1 focused=-1 editing=0" ] || jw_fail "rows: $(jwd_listinfo)"

jwd_start_notepad
target=$JWD_NOTEPAD_POINT

clip() { jw_tool jw_gettext clip; }
clip_is() {  # expected
    local got
    got=$(clip | od -An -c | tr -s ' \n' ' ')
    [ "$got" = "$(printf '%s' "$1" | od -An -c | tr -s ' \n' ' ')" ] || { echo "clipboard:$got" >&2; return 1; }
}

jw_log "1. a drop on notepad pastes the Text with each backslash-n as a line break"
# shellcheck disable=SC2086
jwd_drag 0 $target
jwd_wait_notepad_text $'first line\r\nsecond line' || jw_fail "notepad did not receive the entry's text"
clip_is $'first line\r\nsecond line' || jw_fail "the clipboard does not hold the delivered text"
# Clipboard managers and the system's history are told not to keep it; Copy's text is not marked.
marks='ExcludeClipboardContentFromMonitorProcessing CanIncludeInClipboardHistory CanUploadToCloudClipboard'
clip_marks() { jw_tool jw_gettext clipformats | tr -d '\r' | grep -E "^(${marks// /|})\$" | sort | tr '\n' ' '; }
[ "$(clip_marks)" = "CanIncludeInClipboardHistory CanUploadToCloudClipboard ExcludeClipboardContentFromMonitorProcessing " ] ||
    jw_fail "the dropped text lacks the clipboard managers' marks: $(clip_marks)"

jw_log "2. Ctrl held at the release replaces notepad's contents"
jw_tool jw_gettext settext Notepad Edit "old contents" || jw_fail "cannot set notepad"
# shellcheck disable=SC2086
jwd_drag 1 $target "" ctrl
jwd_wait_notepad_text 'beta' || jw_fail "Ctrl did not replace the contents"

jw_log "3. Shift held as the drag begins delivers the Explanation"
jw_tool jw_gettext settext Notepad Edit "" || jw_fail "cannot empty notepad"
# shellcheck disable=SC2086
jwd_drag 2 $target shift
jwd_wait_notepad_text 'third' || jw_fail "Shift did not deliver the Explanation"
clip_is 'third' || jw_fail "the clipboard does not hold the Explanation"

jw_log "4. drops that deliver nothing leave notepad and the clipboard as they were"
jw_tool jw_gettext settext Notepad Edit "untouched" || jw_fail "cannot set notepad"
jw_tool jw_gettext setclip "SENTINEL" || jw_fail "cannot set the clipboard"
check_nothing() {  # what
    sleep 0.8
    jwd_wait_notepad_text 'untouched' 2 || jw_fail "$1: notepad received something"
    clip_is 'SENTINEL' || jw_fail "$1: the clipboard changed"
}
# 4a. over Jotwell's own list (another row)
row2=$(jwd_row_point 2)
# shellcheck disable=SC2086
jwd_drag 0 $row2
check_nothing "drop over Jotwell's list"
# 4b. over Jotwell's title bar
jwd_drag 1 150 8
check_nothing "drop over Jotwell's title bar"
# 4c. Escape during the drag, released over notepad
jwd_select 0
JWD_BEFORE_RELEASE='xdotool windowfocus "$JWD_XWIN"; xdotool key Escape; sleep 0.2'
# shellcheck disable=SC2086
jwd_press_drag 0 $target
JWD_BEFORE_RELEASE=""
check_nothing "drop after Escape"
# (A drag that begins on a row that is not selected cannot be made with the mouse here:
# Wine's single-selection list selects the row on the press. tests/win/JotwellViewTest.cpp
# sends LVN_BEGINDRAG for an unselected row instead.)

jw_log "5. after all that a drop still works"
jw_tool jw_gettext settext Notepad Edit "" || jw_fail "cannot empty notepad"
# shellcheck disable=SC2086
jwd_drag 1 $target
jwd_wait_notepad_text 'beta' || jw_fail "the last drop did not arrive"

jw_log "6. Restore Clipboard after Drop: notepad gets the text and the clipboard what it held, within two seconds"
jw_tool jw_menu command "$JWD_TITLE" 32841 || jw_fail "no Restore Clipboard after Drop command"  # ID_RESTORE_CLIPBOARD
[ "$(jw_reg_value "$JW_KEY\\Option" RestoreClipboard)" = 0x1 ] || jw_fail "the option was not saved as on"
jw_tool jw_gettext settext Notepad Edit "" || jw_fail "cannot empty notepad"
jw_tool jw_gettext setclip "HELD BEFORE" || jw_fail "cannot set the clipboard"
# Row 0: a click on the row still selected from the last drop would start its label editor.
# shellcheck disable=SC2086
jwd_drag 0 $target
released=$(date +%s%N)
jw_tool jw_gettext unmarked 5 >/dev/null || jw_fail "the clipboard was not put back"
restored_ms=$(( ($(date +%s%N) - released) / 1000000 ))
[ "$restored_ms" -lt 2000 ] || jw_fail "put back only after $restored_ms ms"
jwd_wait_notepad_text $'first line\r\nsecond line' || jw_fail "with the option on, notepad did not receive the text"
clip_is 'HELD BEFORE' || jw_fail "the clipboard does not hold what it held before"

jw_log "7. with the option on, a copy made by another program meanwhile is not overwritten"
# A drop on notepad's title bar: nothing reads the clipboard, so the put-back waits two seconds.
jw_tool jw_gettext settext Notepad Edit "untouched" || jw_fail "cannot set notepad"
read -r nl nt nw nh < <(jw_tool jw_window rect class:Notepad | tr -d '\r')
jwd_drag 2 $((nl + nw / 2)) $((nt + 8))
[ -n "$(clip_marks)" ] || jw_fail "the drop on the title bar put nothing on the clipboard"
jw_tool jw_gettext setclip "COPIED MEANWHILE" || jw_fail "cannot copy meanwhile"
sleep 2.5
clip_is 'COPIED MEANWHILE' || jw_fail "the put-back overwrote a copy made meanwhile"
jwd_wait_notepad_text 'untouched' 2 || jw_fail "the title bar drop changed notepad's text"
echo "PASS drop_notepad_test"
