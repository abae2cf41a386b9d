#!/usr/bin/env bash
# End to end: real drags from Jotwell onto the windows of tests/e2e/tools/jw_target.cpp,
# which log every message they receive; each rule method must deliver its exact message
# sequence, a target that stops answering must not hold Jotwell, a Ctrl-drop clears text
# fields only, and a drop while another program holds the clipboard sends nothing.
# Usage: drop_rules_test.sh BUILD_DIR
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
source "$here/drop_lib.sh"
jw_setup "${1:?build folder}"

# Rules, registered before the first start (so the defaults are not written: they are
# registered here as well).
K='HKCU\Software\Velmora\Jotwell\DestWnd'
jw_reg add "$K\\Paste\\0" /v ClassName /t REG_SZ /d Edit /f
jw_reg add "$K\\Paste\\1" /v ClassName /t REG_SZ /d JwPastePane /f
jw_reg add "$K\\Paste\\2" /v ClassName /t REG_SZ /d JwPopupPane /f
jw_reg add "$K\\Paste\\3" /v ClassName /t REG_SZ /d JwHungPane /f
jw_reg add "$K\\Paste\\4" /v ClassName /t REG_SZ /d RichEdit20W /f
jw_reg add "$K\\CtrlV\\0" /v ClassName /t REG_SZ /d "Internet Explorer_Server" /f
jw_reg add "$K\\CtrlV\\0" /v Param1 /t REG_DWORD /d 26 /f
jw_reg add "$K\\User\\0" /v ClassName /t REG_SZ /d JwUserPane /f
jw_reg add "$K\\User\\0" /v Param1 /t REG_DWORD /d 3 /f
jw_reg add "$K\\User\\0" /v Param2 /t REG_DWORD /d 9 /f
jw_reg add "$K\\Keybd\\0" /v ClassName /t REG_SZ /d JwNamedKeybd /f

entries=$JW_TMP/entries.txt
jwd_write_entries "$entries" 'alpha\nnext\tA' 'beta\tB' 'gamma'
jwd_start "$entries"

log=$JW_TMP/target.log
(cd "$JW_TMP" && exec wine "$JW_BIN/jw_target.exe" "$(jw_winpath "$log")" >/dev/null 2>&1) &
jwd_wait_grep "$log" READY 60 || jw_fail "jw_target did not start"
jwd_wait_title "JW Target Popup" 30 >/dev/null || true
jwd_wait_title "JW Target Hung" 30 >/dev/null || jw_fail "no hung target window"
sleep 0.5

mark() { wc -l <"$log"; }
# since MARK [filter]: the log lines after MARK that match the filter (grep -E), reduced
# to "class S|P message wParam lParam"; button messages lose their lParam (the point).
since() {
    tail -n +$(($1 + 1)) "$log" | tr -d "\r" | grep -E "${2:-.}" |
        awk '{ split($2, w, "|"); l = $7; if ($4 ~ /^0x020/) l = "pt"; print w[2], $3, $4, $6, l }' || true
}
expect_lines() {  # what actual expected
    if [ "$2" != "$3" ]; then
        printf 'expected:\n%s\nactual:\n%s\n' "$3" "$2" >&2
        jw_fail "$1"
    fi
}
# wait_since MARK PATTERN: polls (10 s) until a log line after MARK matches.
wait_since() {
    local start=$SECONDS
    until tail -n +$(($1 + 1)) "$log" | grep -q -- "$2"; do
        [ $((SECONDS - start)) -lt 10 ] || return 1
        sleep 0.1
    done
}
# Input and delivery messages: buttons, keys, WM_COMMAND, WM_PASTE, WM_USER range.
filter=' (S|P) (0x020[1-3]|0x010[0145]|0x0111|0x0302|0x04[0-9A-F][0-9A-F]) '

jw_log "1. CtrlV on \"Internet Explorer_Server\": Ctrl down, V down, WM_COMMAND 0x1001A, V up, Ctrl up"
m=$(mark)
# shellcheck disable=SC2086
jwd_drag 0 $(jwd_window_point "JW Target IE" 0 10)
jwd_wait_grep "$log" "Internet_Explorer_Server S 0x0101 WM_KEYUP 0x11" 10 || jw_fail "no Ctrl up arrived"
expect_lines "CtrlV sequence" "$(since "$m" "Internet_Explorer_Server$filter")" "$(printf '%s\n' \
    'Internet_Explorer_Server S 0x0201 0x1 pt' \
    'Internet_Explorer_Server S 0x0202 0x0 pt' \
    'Internet_Explorer_Server S 0x0100 0x11 0x1' \
    'Internet_Explorer_Server S 0x0100 0x56 0x1' \
    'Internet_Explorer_Server S 0x0111 0x1001A 0x0' \
    'Internet_Explorer_Server S 0x0101 0x56 0x1' \
    'Internet_Explorer_Server S 0x0101 0x11 0x1')"
[ "$(jw_tool jw_gettext clip)" = $'alpha\r\nnext' ] || jw_fail "the clipboard does not hold the text"

jw_log "2. a User rule (Param1 3, Param2 9): message 0x403 with wParam 9, lParam 0"
m=$(mark)
# shellcheck disable=SC2086
jwd_drag 1 $(jwd_window_point "JW Target User" 0 10)
jwd_wait_grep "$log" "JwUserPane S 0x0403" 10 || jw_fail "no 0x403 arrived"
expect_lines "User sequence" "$(since "$m" "JwUserPane$filter")" "$(printf '%s\n' \
    'JwUserPane S 0x0201 0x1 pt' \
    'JwUserPane S 0x0202 0x0 pt' \
    'JwUserPane S 0x0403 0x9 0x0')"

jw_log "3. a class without a rule: keyboard Ctrl+V to the focused window"
m=$(mark)
# shellcheck disable=SC2086
jwd_drag 0 $(jwd_window_point "JW Target Keybd" 0 10)
jwd_wait_grep "$log" "JwKeybdPane P 0x0101 WM_KEYUP 0x11" 10 || { tail -n 40 "$log" >&2; jw_fail; } || jw_fail "no keyboard Ctrl up reached the pane"
got=$(since "$m" "JwKeybdPane$filter" | awk '{ print $1, $2, $3, $4 }')
expect_lines "Keybd sequence" "$got" "$(printf '%s\n' \
    'JwKeybdPane S 0x0201 0x1' \
    'JwKeybdPane S 0x0202 0x0' \
    'JwKeybdPane P 0x0100 0x11' \
    'JwKeybdPane P 0x0100 0x56' \
    'JwKeybdPane P 0x0101 0x56' \
    'JwKeybdPane P 0x0101 0x11')"

jw_log "4. a borderless pop-up: no activation, the click and the delivery still happen"
m=$(mark)
# shellcheck disable=SC2086
jwd_drag 1 $(jwd_window_point "JW Target Popup")
jwd_wait_grep "$log" "JwPopupPane P 0x0302 WM_PASTE 0x0 0x0 text=beta" 10 || jw_fail "no WM_PASTE reached the pop-up"
expect_lines "pop-up sequence" "$(since "$m" "JwPopupPane$filter")" "$(printf '%s\n' \
    'JwPopupPane S 0x0201 0x1 pt' \
    'JwPopupPane S 0x0202 0x0 pt' \
    'JwPopupPane P 0x0302 0x0 0x0')"
since "$m" "JwPopupPane (S|P) 0x0006 WM_ACTIVATE 0x1" | grep -q . && jw_fail "the pop-up was activated"

jw_log "5. Paste on a registered class: WM_PASTE posted, the clipboard holds the text"
m=$(mark)
# shellcheck disable=SC2086
jwd_drag 2 $(jwd_window_point "JW Target Paste" 0 10)
jwd_wait_grep "$log" "JwPastePane P 0x0302 WM_PASTE 0x0 0x0 text=gamma" 10 || jw_fail "no WM_PASTE with the text"

jw_log "6. Alt held at the release: two clicks, then the delivery"
m=$(mark)
# shellcheck disable=SC2086
jwd_drag 1 $(jwd_window_point "JW Target User" 0 10) "" alt
jwd_wait_grep "$log" "JwUserPane S 0x0403" 10 || jw_fail "no 0x403 arrived after the Alt drop"
sleep 0.3
expect_lines "Alt sequence" "$(since "$m" "JwUserPane S (0x020[12]|0x0403) ")" "$(printf '%s\n' \
    'JwUserPane S 0x0201 0x1 pt' \
    'JwUserPane S 0x0202 0x0 pt' \
    'JwUserPane S 0x0201 0x1 pt' \
    'JwUserPane S 0x0202 0x0 pt' \
    'JwUserPane S 0x0403 0x9 0x0')"
xdotool key Escape  # leave any menu mode the Alt key may have started

jw_log "7. a target that stops answering in its click handler: the drop ends, Jotwell answers within seconds"
# shellcheck disable=SC2086
jwd_drag 0 $(jwd_window_point "JW Target Hung" 0 10)
jwd_wait_grep "$log" "JwHungPane S 0x0201 WM_LBUTTONDOWN" 10 || jw_fail "the click did not reach the hung target"
# A posted message is handled only once Jotwell is back in its message loop: SC_CLOSE hides it.
answered=$(jw_tool jw_window hides "$JWD_TITLE" 0x112 0xF060 0 20) ||
    jw_fail "Jotwell did not answer a posted message within 20 s"
answered=${answered%$'\r'}
jw_log "Jotwell answered $answered ms after the hung target got the click"
[ "$answered" -lt 6000 ] || jw_fail "Jotwell answered only after $answered ms"
jw_tool jw_window post "$JWD_TITLE" 0x8401 129 0x201  # the tray icon shows it again
jw_tool jw_window wait "$JWD_TITLE" shown 10 || jw_fail "Jotwell did not come back from the tray"
sleep 0.3

jw_log "8. the drop after it, onto a responsive window, delivers as before"
m=$(mark)
# shellcheck disable=SC2086
jwd_drag 1 $(jwd_window_point "JW Target Paste" 0 10)
jwd_wait_grep "$log" "JwPastePane P 0x0302 WM_PASTE 0x0 0x0 text=beta" 10 || jw_fail "no WM_PASTE after the hung drop"
expect_lines "Paste sequence after the hung drop" "$(since "$m" "JwPastePane$filter")" "$(printf '%s\n' \
    'JwPastePane S 0x0201 0x1 pt' \
    'JwPastePane S 0x0202 0x0 pt' \
    'JwPastePane P 0x0302 0x0 0x0')"
jw_log "9. a Ctrl-drop onto a file list (\"DirectUIHWND\"): the click and the keyboard Ctrl+V, no Ctrl+A or Delete"
m=$(mark)
# shellcheck disable=SC2086
jwd_drag 2 $(jwd_window_point "JW Target Files" 0 10) "" ctrl
wait_since "$m" "DirectUIHWND P 0x0101 WM_KEYUP 0x11" || jw_fail "no keyboard Ctrl up reached the file list"
sleep 0.3
got=$(since "$m" "DirectUIHWND$filter" | awk '{ print $1, $2, $3, $4 }')
expect_lines "Ctrl-drop on a file list" "$got" "$(printf '%s\n' \
    'DirectUIHWND S 0x0201 0x1' \
    'DirectUIHWND S 0x0202 0x0' \
    'DirectUIHWND P 0x0100 0x11' \
    'DirectUIHWND P 0x0100 0x56' \
    'DirectUIHWND P 0x0101 0x56' \
    'DirectUIHWND P 0x0101 0x11')"

jw_log "10. Shift held at the release: let go for the system before Ctrl+V"
# (A Windows key held by xdotool keeps the release from reaching Jotwell under Wine here; the
# Windows-layer test shows its release in the same hook order.)
# key events (from the low-level hook) after MARK: "+A0 -A0 +11 ..."
keys_since() { tail -n +$(($1 + 1)) "$log" | tr -d '\r' | awk '$2 == "LL-KEY" { printf "%s ", $3 }'; }
for held in shift:A0; do
    m=$(mark)
    # shellcheck disable=SC2086
    jwd_drag 0 $(jwd_window_point "JW Target Keybd" 0 10) "" "${held%%:*}"
    wait_since "$m" "JwKeybdPane P 0x0101 WM_KEYUP 0x11" || { tail -n +$((m + 1)) "$log" >&2; jw_fail "no keyboard Ctrl up reached the pane"; }
    sleep 0.5
    vk=${held#*:}
    got=$(keys_since "$m")
    jw_log "key events: $got"
    # Held before Ctrl+V, released by Jotwell before Ctrl goes down; the user's own release comes later.
    [[ "$got" == "+$vk "*"-$vk "*"+11 +56 -56 -11 "* ]] || jw_fail "${held%%:*} was not released before Ctrl+V: $got"
    # The pane sees the release, then Ctrl+V and nothing else pressed (0xE8, unassigned, means nothing).
    pane=$(since "$m" "JwKeybdPane P 0x0100 " | awk '$4 != "0xE8" { print $4 }' | tr '\n' ' ')
    [ "$pane" = "0x11 0x56 " ] || jw_fail "the pane got other keys pressed: $pane"
    xdotool key Escape
    m=$(mark)
done

jw_log "11. a drop over Jotwell's own window delivers nothing to anyone"
m=$(mark)
jw_tool jw_gettext setclip "SENTINEL"
# shellcheck disable=SC2086
jwd_drag 0 $(jwd_row_point 2)
sleep 1
[ -z "$(since "$m" "$filter")" ] || jw_fail "something was delivered: $(since "$m" "$filter")"
[ "$(jw_tool jw_gettext clip)" = "SENTINEL" ] || jw_fail "the clipboard changed"
jw_log "12. Ctrl-drops onto a spreadsheet's grid and a word processor's page: no Ctrl+A, no Delete"
# Rows alternate: a click on the row still selected from the drop before opens its label editor.
row=1
for pane in EXCEL7:Excel _WwG:Word; do
    cls=${pane%%:*}
    m=$(mark)
    # shellcheck disable=SC2086
    jwd_drag $row $(jwd_window_point "JW Target ${pane#*:}" 0 10) "" ctrl
    row=2
    wait_since "$m" "$cls P 0x0101 WM_KEYUP 0x11" || jw_fail "no keyboard Ctrl up reached $cls"
    sleep 0.3
    got=$(since "$m" "$cls$filter" | awk '{ print $1, $2, $3, $4 }')
    expect_lines "Ctrl-drop on $cls" "$got" "$(printf '%s\n' \
        "$cls S 0x0201 0x1" \
        "$cls S 0x0202 0x0" \
        "$cls P 0x0100 0x11" \
        "$cls P 0x0100 0x56" \
        "$cls P 0x0101 0x56" \
        "$cls P 0x0101 0x11")"
done
jw_log "    a rich edit field (\"RichEdit20W\", Paste rule) is still cleared"
m=$(mark)
# shellcheck disable=SC2086
jwd_drag 1 $(jwd_window_point "JW Target Rich" 0 10) "" ctrl
wait_since "$m" "RichEdit20W P 0x0302 WM_PASTE 0x0 0x0 text=beta" || jw_fail "no WM_PASTE with the text reached the rich edit field"
expect_lines "Ctrl-drop on RichEdit20W" "$(since "$m" "RichEdit20W$filter")" "$(printf '%s\n' \
    'RichEdit20W S 0x0201 0x1 pt' \
    'RichEdit20W S 0x0202 0x0 pt' \
    'RichEdit20W S 0x0100 0x11 0x1' \
    'RichEdit20W S 0x0100 0x41 0x1' \
    'RichEdit20W S 0x0101 0x41 0x1' \
    'RichEdit20W S 0x0101 0x11 0x1' \
    'RichEdit20W S 0x0100 0x2E 0x1' \
    'RichEdit20W S 0x0101 0x2E 0x1' \
    'RichEdit20W P 0x0302 0x0 0x0')"

jw_log "13. a Ctrl-drop while another program holds the clipboard for three seconds: nothing reaches the field"
# The field waits for the clipboard when it pastes: a paste sent meanwhile would read the old
# contents once the holder lets go, after a clearing.
jw_tool jw_gettext setclip "OLD CONTENTS"
hold=$JW_TMP/holder.out
: >"$hold"
m=$(mark)
JWD_BEFORE_RELEASE='(cd "$JW_TMP" && exec wine "$JW_BIN/clipboard_holder.exe" --for 3 >"$hold" 2>/dev/null) &
    jwd_wait_grep "$hold" holding 10 || jw_fail "clipboard_holder did not open the clipboard"'
# shellcheck disable=SC2086
jwd_drag 2 $(jwd_window_point "JW Target Rich" 0 10) "" ctrl
JWD_BEFORE_RELEASE=""
jw_tool jw_window wait class:tooltips_class32 shown 5 || jw_fail "no notice says the clipboard was busy"
sleep 4
[ -z "$(since "$m" "RichEdit20W$filter")" ] || { since "$m" "RichEdit20W$filter" >&2; jw_fail "the field received something while the clipboard was busy"; }
[ "$(jw_tool jw_gettext clip)" = "OLD CONTENTS" ] || jw_fail "the clipboard holds $(jw_tool jw_gettext clip)"

jw_log "14. Menu > Delivery Rules...: the rules listed in the order of lookup"
jwd_open_rules
rows=$(jw_tool jw_dialog lbitems "$JWD_RULES" 1270 | tr -d '\r')
jw_log "rows: $(echo "$rows" | tr '\n\t' '| ')"
expect_lines "the dialog's rows" "$(echo "$rows" | head -n 2)" "$(printf '%s\n' \
    $'Paste\tEdit\t0\t0' $'Paste\tJwPastePane\t0\t0')"
echo "$rows" | grep -qx $'CtrlV\tInternet Explorer_Server\t26\t0' || jw_fail "the default CtrlV rule is not listed"
echo "$rows" | grep -qx $'User\tJwUserPane\t3\t9' || jw_fail "the User rule is not listed"
# The key by the system's name ("Ctrl+V"; Wine says "Control+V").
echo "$rows" | grep -qE $'^Keybd\tJwNamedKeybd\tC[a-z]*\\+V$' || jw_fail "the Keybd rule is not listed with its key"

jw_log "15. the finder dragged over a target shows its class live, puts it in the rule on release, touches nothing"
before=$(jw_tool jw_dialog item "$JWD_RULES" 1272)  # the selected rule's class
m=$(mark)
# shellcheck disable=SC2086
xdotool mousemove $(jw_tool jw_dialog itempos "$JWD_RULES" 1273 | tr -d '\r') mousedown 1
sleep 0.2
read -r tx ty <<<"$(jwd_window_point "JW Target Keybd" 0 10)"
xdotool mousemove $((tx - 40)) $((ty - 20))
sleep 0.2
xdotool mousemove "$tx" "$ty"
jw_tool jw_dialog waittext "$JWD_RULES" 1277 JwKeybdPane 10 >/dev/null || jw_fail "the finder did not show the class under the pointer"
pointed=$(jw_tool jw_dialog item "$JWD_RULES" 1277)
jw_log "while dragging: $pointed"
[[ "$pointed" == *jw_target.exe* ]] || jw_fail "the finder does not name the program: $pointed"
[[ "$pointed" =~ Keybd\ \ C[a-z]*\+V ]] || jw_fail "the finder does not show the rule in effect: $pointed"
[ "$(jw_tool jw_dialog item "$JWD_RULES" 1272)" = "$before" ] || jw_fail "the class was set before the release"
xdotool mouseup 1
jw_tool jw_dialog waittext "$JWD_RULES" 1272 JwKeybdPane 10 >/dev/null || jw_fail "the release did not put the class into the rule"
sleep 0.3
[ -z "$(since "$m" "JwKeybdPane$filter")" ] || jw_fail "the finder delivered something: $(since "$m" "JwKeybdPane$filter")"
jw_log "16. Try: a Keybd rule with Shift+Insert delivers to the picked window as a drop would, and is not saved"
jw_tool jw_dialog cbsel "$JWD_RULES" 1271 3
jw_tool jw_dialog sethotkey "$JWD_RULES" 1276 0x092D  # Shift+Insert (an extended key)
m=$(mark)
jw_tool jw_dialog press "$JWD_RULES" 1283
wait_since "$m" "LL-KEY -2D" || { tail -n +$((m + 1)) "$log" >&2; jw_fail "Try typed no Insert"; }
sleep 0.3
got=$(keys_since "$m")
jw_log "key events: $got"
[[ "$got" =~ ^\+(10|A0)\ \+2D\ -2D\ -(10|A0)\ $ ]] || jw_fail "Try did not type Shift+Insert: $got"
since "$m" "JwKeybdPane S 0x0201 " | grep -q . || jw_fail "Try did not click the picked window"
[ "$(jw_tool jw_dialog lbitems "$JWD_RULES" 1270 | tr -d '\r')" = "$rows" ] || jw_fail "Try changed the rules"
[ -z "$(jw_reg_value "$K\\Keybd\\1" ClassName)" ] || jw_fail "Try saved a rule"

jw_log "17. Add, then OK: the rule is written under the next index and the next drop types Shift+Insert"
jw_tool jw_dialog press "$JWD_RULES" 1278
sleep 0.5
jw_tool jw_dialog lbitems "$JWD_RULES" 1270 | tr -d '\r' | grep -qx $'Keybd\tJwKeybdPane\t.*Ins.*' ||
    jw_fail "the added rule is not listed: $(jw_tool jw_dialog lbitems "$JWD_RULES" 1270)"
jw_tool jw_dialog okwait "$JWD_RULES" "$JWD_TITLE" >/dev/null || jw_fail "the dialog did not close on OK"
[ "$(jw_reg_value "$K\\Keybd\\1" ClassName)" = JwKeybdPane ] || jw_fail "the rule was not written as Keybd\\1"
[ "$(jw_reg_value "$K\\Keybd\\1" Param1)" = 0x92d ] || jw_fail "the key was not written as Param1: $(jw_reg_value "$K\\Keybd\\1" Param1)"
m=$(mark)
# shellcheck disable=SC2086
jwd_drag 1 $(jwd_window_point "JW Target Keybd" 0 10)  # not the row selected last
wait_since "$m" "LL-KEY -2D" || { tail -n +$((m + 1)) "$log" >&2; jw_fail "the drop typed no Insert"; }
sleep 0.3
got=$(keys_since "$m")
jw_log "key events: $got"
[[ "$got" =~ \+(10|A0)\ \+2D\ -2D\ -(10|A0)\ $ ]] || jw_fail "the drop did not type Shift+Insert: $got"
[[ "$got" == *"+56"* ]] && jw_fail "the drop typed V as well: $got"

jw_log "18. Remove in the dialog: the next drop types Ctrl+V again, no restart"
jwd_open_rules
n=$(jw_tool jw_dialog lbitems "$JWD_RULES" 1270 | tr -d '\r' | grep -n $'^Keybd\tJwKeybdPane' | cut -d: -f1)
[ -n "$n" ] || jw_fail "the saved rule is not listed"
jw_tool jw_dialog lbsel "$JWD_RULES" 1270 $((n - 1)) || jw_fail "cannot select the rule"
jw_tool jw_dialog press "$JWD_RULES" 1280
sleep 0.3
jw_tool jw_dialog okwait "$JWD_RULES" "$JWD_TITLE" >/dev/null || jw_fail "the dialog did not close on OK"
[ -z "$(jw_reg_value "$K\\Keybd\\1" ClassName)" ] || jw_fail "the removed rule is still in the registry"
m=$(mark)
# shellcheck disable=SC2086
jwd_drag 2 $(jwd_window_point "JW Target Keybd" 0 10)
wait_since "$m" "JwKeybdPane P 0x0101 WM_KEYUP 0x11" || jw_fail "the drop typed no Ctrl+V after the rule was removed"
echo "PASS drop_rules_test"
