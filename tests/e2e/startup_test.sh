#!/usr/bin/env bash
# Start-up: a single instance, the start-up file (command line, last used, missing file),
# the recent-file list kept across runs (a folder no code page spells too), and the about box.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/drop_lib.sh"
jw_setup "$1"

WM_COMMAND=0x111; ID_APP_EXIT=57665; ID_APP_ABOUT=57664; IDOK=1

exit_jotwell() {  # title
    jw_tool jw_window post "$1" $WM_COMMAND $ID_APP_EXIT 0 >/dev/null || jw_fail "no window '$1' to exit"
    jw_wait_exit "$JW_PID" 30 || jw_fail "Jotwell did not exit"
}

jw_log "no file and no recent file: a new untitled document"
jw_start
jw_wait_window '^Untitled - Jotwell$' 60 >/dev/null || jw_fail "no Untitled window"

jw_log "a second instance ends silently and leaves the first alone"
first=$JW_PID
timeout 60 wine "$JW_BIN/Jotwell.exe" || jw_fail "second instance did not end cleanly"
[ "$(xdotool search --name 'Jotwell' 2>/dev/null | wc -l)" -ge 1 ] || jw_fail "first instance gone"
kill -0 "$first" || jw_fail "first instance gone"
exit_jotwell "Untitled - Jotwell"

jw_log "a command-line file opens and becomes the recent file"
printf 'alpha\\tfirst\r\nbeta' > "$JW_TMP/list.txt"
list=$(jw_winpath "$JW_TMP/list.txt")
jw_start "$list"
jw_wait_window '^list.txt - Jotwell$' 30 >/dev/null || jw_fail "list.txt did not open"
exit_jotwell "list.txt - Jotwell"
[ "$(jw_reg_value "$JW_KEY\\Recent File List" File1)" = "$list" ] || jw_fail "File1 is not the opened file"

jw_log "without arguments the last file opens again"
jw_start
jw_wait_window '^list.txt - Jotwell$' 30 >/dev/null || jw_fail "the recent file did not open"

jw_log "the about box shows the build date"
jw_tool jw_window post "list.txt - Jotwell" $WM_COMMAND $ID_APP_ABOUT 0 >/dev/null
jw_wait_window '^About Jotwell$' 30 >/dev/null || jw_fail "no about box"
about=$(jw_tool jw_wintext "About Jotwell" | tr -d '\r')
echo "$about" | grep -Eq 'Update : [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4}$' || jw_fail "no update line in: $about"
echo "$about" | grep -q 'Jotwell Version 2.02' || jw_fail "no version line"
jw_tool jw_window post "About Jotwell" $WM_COMMAND $IDOK 0 >/dev/null
jw_wait_no_window '^About Jotwell$' 30 || jw_fail "about box did not close"
exit_jotwell "list.txt - Jotwell"

jw_log "a recent file that is gone: the framework's message, then a new document"
rm "$JW_TMP/list.txt"
jw_start
for _ in $(seq 150); do
    text=$(jw_tool jw_wintext --class '#32770' Jotwell 2>/dev/null | tr -d '\r')
    [ -n "$text" ] && break
    sleep 0.2
done
echo "$text" | grep -qF "$list was not found." || jw_fail "no 'was not found.' message: $text"
jw_tool jw_window post 'class:#32770' $WM_COMMAND $IDOK 0 >/dev/null
jw_wait_window '^Untitled - Jotwell$' 30 >/dev/null || jw_fail "no new document after the failed open"
[ "$(jw_reg_value "$JW_KEY\\Recent File List" File1)" = "$list" ] || jw_fail "the stale path left the recent list"
exit_jotwell "Untitled - Jotwell"

# opens_edits_reopens FOLDER: a list in FOLDER opens from the command line, an Insert reaches
# the file, and the next start without arguments opens it again from the recent files.
opens_edits_reopens() {
    local folder=$1 start
    mkdir -p "$folder"
    printf 'alpha\r\nbeta' > "$folder/list.txt"
    jwd_start "$folder/list.txt"
    jwd_select 0
    jw_tool jw_menu command "$JWD_TITLE" 32772 >/dev/null || jw_fail "cannot send Insert"  # ID_INSERT_LINE
    start=$SECONDS
    until [ "$(od -An -c "$folder/list.txt" | tr -d ' \n')" = '\r\nalpha\r\nbeta' ]; do
        [ $((SECONDS - start)) -lt 10 ] || jw_fail "the edit did not reach $folder: $(od -An -c "$folder/list.txt")"
        sleep 0.2
    done
    exit_jotwell "list.txt - Jotwell"
    jw_start
    jw_wait_window '^list.txt - Jotwell$' 30 >/dev/null || jw_fail "the recent file in $folder did not open again"
    exit_jotwell "list.txt - Jotwell"
}

jw_log "a list in a folder no code page spells opens from the command line, takes an edit, reopens as recent"
opens_edits_reopens "$JW_TMP/Łódź 東京"

jw_log "the same under code page 932, in a Polish folder"
# Wine reads its command line through the Unix locale: without a ja_JP.UTF-8 locale it would
# be ASCII, so the test makes one of its own (LOCPATH).
wineserver -k; wineserver -w
mkdir -p "$JW_TMP/locales"
localedef -i ja_JP -f UTF-8 "$JW_TMP/locales/ja_JP.UTF-8" >/dev/null 2>&1 || jw_fail "cannot make a ja_JP.UTF-8 locale"
{ export LOCPATH=$JW_TMP/locales LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8; } 2>/dev/null
opens_edits_reopens "$JW_TMP/Zażółć gęślą"
echo "startup: all checks passed"
