#!/usr/bin/env bash
# Jotwell at 150 % display scaling (the prefix at 144 DPI): the window, the list's columns
# and the toolbar's buttons, read from outside, are 1.5 times their 96-DPI sizes, and the
# profile keeps the 96-DPI sizes. A screenshot is left in the build folder (dpi144.png) for
# a person to look at: text, rows, columns and toolbar in proportion. A change to 192 DPI
# (WM_DPICHANGED) rescales the columns and the toolbar.
source "$(dirname "$0")/lib.sh"
jw_setup "$1"

FRAME='- Jotwell'
W=jw_window
TOOLBAR=0xE800
VIEW=0xE900
LVM_GETCOLUMNWIDTH=0x101D
TB_GETBUTTONSIZE=0x043A

jw_reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f
jw_reg add "$JW_KEY\\Pos" /v Separate /t REG_DWORD /d 100 /f
jw_reg add "$JW_KEY\\Pos" /v EndPart /t REG_DWORD /d 40 /f
for v in x:20 y:20 w:200 h:300; do jw_reg add "$JW_KEY\\Pos" /v "${v%%:*}" /t REG_DWORD /d "${v#*:}" /f; done
wineserver -k >/dev/null 2>&1
sleep 1

printf 'first entry\\tits explanation\r\nsecond entry\\tanother one\r\nthird\r\n' >"$JW_TMP/list.txt"
jw_start "$(jw_winpath "$JW_TMP/list.txt")"
jw_tool $W wait "$FRAME" shown 60 || jw_fail "the frame did not appear"
sleep 1

within() {  # what got want: |got - want| <= 1
    (( $2 - $3 <= 1 && $3 - $2 <= 1 )) || jw_fail "$1 is $2, not $3 (its 96-DPI size scaled)"
}
read -r _ _ w h < <(jw_tool $W rect "$FRAME" | tr -d '\r')
within "the window's width" "$w" 300
within "the window's height" "$h" 450
within "the Text column" "$(jw_tool $W sendchild "$FRAME" $VIEW $LVM_GETCOLUMNWIDTH 0 0 | tr -d '\r')" 150
within "the Explanation column" "$(jw_tool $W sendchild "$FRAME" $VIEW $LVM_GETCOLUMNWIDTH 1 0 | tr -d '\r')" 60
size=$(jw_tool $W sendchild "$FRAME" $TOOLBAR $TB_GETBUTTONSIZE 0 0 | tr -d '\r')
within "a toolbar button's width" $((size & 0xFFFF)) 34   # 23 at 96 DPI
within "a toolbar button's height" $((size >> 16)) 33     # 22 at 96 DPI
jw_log "at 144 DPI: window ${w}x$h, button $((size & 0xFFFF))x$((size >> 16))"
jw_screenshot "$JW_BIN/dpi144.png" || jw_log "no screenshot (ImageMagick's import is missing)"

# Moved to a monitor at 200 %: WM_DPICHANGED (no suggested rectangle can cross processes, so
# the window stays where it is) rescales the columns and the toolbar.
jw_tool $W send "$FRAME" 0x02E0 0x00C000C0 0 >/dev/null || jw_fail "WM_DPICHANGED was not answered"
within "the Text column at 192 DPI" "$(jw_tool $W sendchild "$FRAME" $VIEW $LVM_GETCOLUMNWIDTH 0 0 | tr -d '\r')" 200
within "the Explanation column at 192 DPI" "$(jw_tool $W sendchild "$FRAME" $VIEW $LVM_GETCOLUMNWIDTH 1 0 | tr -d '\r')" 80
size=$(jw_tool $W sendchild "$FRAME" $TOOLBAR $TB_GETBUTTONSIZE 0 0 | tr -d '\r')
within "a toolbar button's width at 192 DPI" $((size & 0xFFFF)) 46
within "a toolbar button's height at 192 DPI" $((size >> 16)) 44

jw_tool jw_menu command "$FRAME" 57665 || jw_fail "no Exit"  # ID_APP_EXIT
jw_wait_exit "$JW_PID" 30 || jw_fail "Jotwell did not exit"
for v in Separate:0x64 EndPart:0x28 w:0xc8 h:0x12c; do
    got=$(jw_reg_value "$JW_KEY\\Pos" "${v%%:*}")
    [ "$got" = "${v#*:}" ] || jw_fail "the profile holds ${v%%:*} = $got, not the 96-DPI ${v#*:}"
done
echo "PASS dpi_test"
