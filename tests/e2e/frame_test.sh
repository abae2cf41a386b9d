#!/usr/bin/env bash
# The main frame under Wine: hiding on close and coming back from the tray icon, the tray
# menu, Exit, the saved position and its reset, the toolbar's visibility and side across
# starts, the "/Tray" start, a restarted shell, a second instance, the hotkey that calls the
# window and a logoff while hidden.
source "$(dirname "$0")/lib.sh"
jw_setup "$1"

FRAME='- Jotwell'
W=jw_window
WM_COMMAND=0x111
WM_SYSCOMMAND=0x112
WM_KEYDOWN=0x100
TRAY=0x8401
TRAY_ID=129
TOOLBAR=0xE800
VIEW=0xE900
FILTER=1140
cp "$(dirname "$0")/../../samples/Sample.txt" "$JW_TMP/Sample.txt"
SAMPLE=$(jw_winpath "$JW_TMP/Sample.txt")

start_frame() {
    jw_start "$@"
    jw_tool $W wait "$FRAME" shown 40 || jw_fail "the frame did not appear ($*)"
}
expect_state() {  # shown|hidden, what for
    jw_tool $W wait "$FRAME" "$1" 10 || jw_fail "$2: the frame is not $1"
}
command() { jw_tool $W post "$FRAME" $WM_COMMAND "$1" 0 || jw_fail "post command $1"; }
tray_event() { jw_tool $W post "$FRAME" $TRAY $TRAY_ID "$1" || jw_fail "post tray event $1"; }
toolbar_line() { jw_tool $W child "$FRAME" $TOOLBAR | tr -d '\r' | head -n 1; }
exit_app() {
    command 57665
    jw_wait_exit "$JW_PID" 30 || jw_fail "Exit did not end the program"
}

jw_log "first start: 120 by 280, a tool window, toolbar at the top, tray icon"
start_frame "$SAMPLE"
read -r x y w h < <(jw_tool $W rect "$FRAME" | tr -d '\r')
[ "$w $h" = "120 280" ] || jw_fail "first size is $w x $h, not 120 x 280"
read -r style exstyle < <(jw_tool $W style "$FRAME" | tr -d '\r')
(( (style & 0x00020000) == 0 && (style & 0x00010000) == 0 )) || jw_fail "minimize or maximize box: $style"
(( (style & 0x00C00000) == 0x00C00000 && (style & 0x00080000) && (style & 0x00040000) )) ||
    jw_fail "caption, system menu or sizing border missing: $style"
(( exstyle & 0x80 )) || jw_fail "not a tool window: $exstyle"
read -r tvis tx ty tw th < <(toolbar_line)
[ "$tvis $ty" = "1 0" ] && [ "$th" -gt 15 ] || jw_fail "toolbar not at the top: $(toolbar_line)"
read -r fvis fx fy fw fh < <(jw_tool $W child "$FRAME" $FILTER | tr -d '\r' | head -n 1)
[ "$fvis $fy" = "1 $th" ] && [ "$fh" -gt 12 ] || jw_fail "the filter field is not below the toolbar: $fvis $fy $fh"
read -r vvis vx vy vw vh < <(jw_tool $W child "$FRAME" $VIEW | tr -d '\r' | head -n 1)
[ "$vy" = $((th + fh)) ] || jw_fail "the view starts at $vy, not below the filter field ($th + $fh)"
[ "$(jw_tool $W tray "$FRAME" $TRAY_ID | tr -d '\r')" = 1 ] || jw_fail "no tray icon"

jw_log "move, size and minimize from the system menu do nothing"
for sc in 0xF010 0xF000 0xF020 0xF030; do
    jw_tool $W send "$FRAME" $WM_SYSCOMMAND $sc 0 >/dev/null || jw_fail "system command $sc did not return"
done
[ "$(jw_tool $W rect "$FRAME" | tr -d '\r')" = "$x $y $w $h" ] || jw_fail "a system command changed the window"
[ "$(jw_tool $W visible "$FRAME" | tr -d '\r')" = 1 ] || jw_fail "a system command hid the window"
jw_tool $W send "$FRAME" 0x7B 0 0x00100010 >/dev/null  # WM_CONTEXTMENU: no menu
sleep 0.5
jw_tool $W count "class:#32768" | tr -d "\r" | grep -qx 0 || jw_fail "a context menu opened on the frame"

jw_log "close hides; the tray icon toggles; Close hides too"
jw_tool $W post "$FRAME" $WM_SYSCOMMAND 0xF060 0
expect_state hidden "SC_CLOSE"
kill -0 "$JW_PID" || jw_fail "SC_CLOSE ended the program"
[ "$(jw_tool $W tray "$FRAME" $TRAY_ID | tr -d '\r')" = 1 ] || jw_fail "the tray icon went with the window"
tray_event 0x201
expect_state shown "left click on the hidden icon"
tray_event 0x201
expect_state hidden "left click on the shown icon"
tray_event 0x203
expect_state shown "double-click on the hidden icon"
tray_event 0x200  # a mouse move changes nothing
command 32784
expect_state hidden "command Close"

jw_log "right click: the tray menu; Enter on its first item shows the window"
tray_event 0x205
jw_tool $W wait "class:#32768" shown 10 || jw_fail "no tray menu"
jw_tool $W post "class:#32768" $WM_KEYDOWN 0x28 0   # down to "Display"
jw_tool $W post "class:#32768" $WM_KEYDOWN 0x0D 0
expect_state shown "Display from the tray menu"

jw_log "toolbar hidden through its command; window moved; Exit saves both"
jw_tool $W send "$FRAME" $WM_COMMAND 59392 0 >/dev/null
[ "$(toolbar_line | cut -d' ' -f1)" = 0 ] || jw_fail "the toolbar command did not hide the bar"
read -r vvis vx vy vw vh < <(jw_tool $W child "$FRAME" $VIEW | tr -d '\r' | head -n 1)
[ "$vy" = "$fh" ] || jw_fail "the filter field and the view do not take the toolbar's place: view at $vy"
jw_tool $W move "$FRAME" 210 160 150 300 || jw_fail "move"
exit_app
[ "$(jw_reg_value "$JW_KEY\\Pos" x)" = 0xd2 ] || jw_fail "x not saved: $(jw_reg_value "$JW_KEY\\Pos" x)"
[ "$(jw_reg_value "$JW_KEY\\Pos" h)" = 0x12c ] || jw_fail "h not saved"
[ "$(jw_reg_value "$JW_KEY\\Jotwell-Bar0" Visible)" = 0x0 ] || jw_fail "toolbar visibility not saved"

jw_log "second start: the place and the hidden toolbar come back; a second instance ends"
start_frame "$SAMPLE"
[ "$(jw_tool $W rect "$FRAME" | tr -d '\r')" = "210 160 150 300" ] ||
    jw_fail "position not restored: $(jw_tool $W rect "$FRAME")"
[ "$(toolbar_line | cut -d' ' -f1)" = 0 ] || jw_fail "the toolbar came back visible"
first=$JW_PID
jw_start "$SAMPLE"
jw_wait_exit "$JW_PID" 30 || jw_fail "the second instance keeps running"
JW_PID=$first
kill -0 "$JW_PID" || jw_fail "the first instance ended"
[ "$(jw_tool $W count "$FRAME" | tr -d '\r')" = 1 ] || jw_fail "two frames"

jw_log "Initialize Window Position: (100, 100), same size, saved place forgotten"
jw_tool $W post "$FRAME" $WM_SYSCOMMAND 0xF060 0
expect_state hidden "SC_CLOSE before the reset"
command 32782
expect_state shown "Initialize Window Position"
[ "$(jw_tool $W rect "$FRAME" | tr -d '\r')" = "100 100 150 300" ] ||
    jw_fail "reset gave $(jw_tool $W rect "$FRAME")"
[ "$(jw_reg_value "$JW_KEY\\Pos" x)" = 0xffffffff ] || jw_fail "x not reset to -1"
[ "$(jw_reg_value "$JW_KEY\\Pos" y)" = 0xffffffff ] || jw_fail "y not reset to -1"
jw_tool $W send "$FRAME" $WM_COMMAND 59392 0 >/dev/null   # toolbar back on
exit_app
[ "$(jw_reg_value "$JW_KEY\\Pos" x)" = 0x64 ] || jw_fail "the reset place was not saved at exit"
[ "$(jw_reg_value "$JW_KEY\\Jotwell-Bar0" Visible)" = 0x1 ] || jw_fail "toolbar shown not saved"

jw_log "a left edge of -1 counts as no place; the toolbar docked at the bottom; /Tray starts hidden"
jw_reg add "$JW_KEY\\Pos" /v x /t REG_DWORD /d 0xffffffff /f
jw_reg add "$JW_KEY\\Jotwell-Bar0" /v Docking /t REG_DWORD /d 0x8000 /f
jw_start /Tray
# The icon is added while the frame is created and shown; the hiding comes after it.
start=$SECONDS
until [ "$(jw_tool $W tray "$FRAME" $TRAY_ID 2>/dev/null | tr -d '\r')" = 1 ]; do
    [ $((SECONDS - start)) -lt 40 ] || jw_fail "/Tray: no tray icon"
    sleep 0.2
done
expect_state hidden "/Tray"

jw_log "a restarted shell: the icon is lost, \"TaskbarCreated\" is broadcast, the hidden frame adds it again"
jw_tool $W untray "$FRAME" $TRAY_ID || jw_fail "cannot remove the tray icon"
[ "$(jw_tool $W tray "$FRAME" $TRAY_ID | tr -d '\r')" = 0 ] || jw_fail "the tray icon is still there after its removal"
jw_tool $W broadcast TaskbarCreated || jw_fail "cannot broadcast TaskbarCreated"
start=$SECONDS
until [ "$(jw_tool $W tray "$FRAME" $TRAY_ID 2>/dev/null | tr -d '\r')" = 1 ]; do
    [ $((SECONDS - start)) -lt 10 ] || jw_fail "no tray icon after TaskbarCreated"
    sleep 0.2
done
expect_state hidden "TaskbarCreated"
tray_event 0x201
expect_state shown "left click after /Tray"
read -r x y w h < <(jw_tool $W rect "$FRAME" | tr -d '\r')
[ "$w $h" = "120 280" ] || jw_fail "x = -1 still restored the size: $w x $h"
{ read -r tvis tx ty tw th; read -r _ cw ch; } < <(jw_tool $W child "$FRAME" $TOOLBAR | tr -d '\r')
[ "$tvis" = 1 ] && [ $((ty + th)) = "$ch" ] || jw_fail "toolbar not at the bottom: $tvis $ty+$th of $ch"

jw_log "Exit Application from the tray menu ends the program"
tray_event 0x205
jw_tool $W wait "class:#32768" shown 10 || jw_fail "no tray menu for Exit"
jw_tool $W post "class:#32768" $WM_KEYDOWN 0x26 0   # up to the last item
jw_tool $W post "class:#32768" $WM_KEYDOWN 0x0D 0
jw_wait_exit "$JW_PID" 30 || jw_fail "Exit Application from the tray menu did not end the program"
[ "$(jw_reg_value "$JW_KEY\\Jotwell-Bar0" Docking)" = 0x8000 ] || jw_fail "bottom docking not saved"

jw_log "the hotkey Ctrl+Alt+J, typed in another program, shows a hidden Jotwell under the pointer, in front, the filter field focused"
start_frame "$SAMPLE"
jw_tool $W post "$FRAME" $WM_SYSCOMMAND 0xF060 0
expect_state hidden "SC_CLOSE before the hotkey"
(cd "$JW_TMP" && exec wine notepad.exe >/dev/null 2>&1) &
NOTEPAD_PID=$!
jw_tool $W wait class:Notepad shown 60 || jw_fail "notepad did not start"
jw_tool $W move class:Notepad 0 0 400 300 || jw_fail "cannot move notepad"
focus_notepad() {  # a click where Jotwell never is; the X focus too, for the keys
    xdotool mousemove 30 120 click 1
    xdotool windowfocus "$(jw_wait_window Notepad 10)" 2>/dev/null
    sleep 0.5
    [ "$(jw_tool $W focus class:Notepad | tr -d '\r' | cut -d' ' -f1)" = 1 ] || jw_fail "notepad is not in front"
}
jw_tool $W move class:Notepad 0 0 200 300 || jw_fail "cannot move notepad"
focus_notepad
xdotool mousemove 300 200
xdotool key ctrl+alt+j
expect_state shown "the hotkey on a hidden Jotwell"
read -r x y w h < <(jw_tool $W rect "$FRAME" | tr -d '\r')
(( x <= 300 && 300 < x + w && y <= 200 && 200 < y + h )) || jw_fail "not under the pointer: $x $y $w $h"
[ "$(jw_tool $W focus "$FRAME" | tr -d '\r')" = "1 Edit" ] ||
    jw_fail "not in front with the filter field focused: $(jw_tool $W focus "$FRAME")"
read -r style exstyle < <(jw_tool $W style "$FRAME" | tr -d '\r')
(( exstyle & 0x8 )) || jw_fail "not topmost: $exstyle"
xdotool key ctrl+alt+j
expect_state hidden "the hotkey on Jotwell in front"
jw_log "the hotkey brings a Jotwell shown behind another program in front instead of hiding it"
xdotool key ctrl+alt+j
expect_state shown "the hotkey once more"
focus_notepad
xdotool key ctrl+alt+j
sleep 1
[ "$(jw_tool $W focus "$FRAME" | tr -d '\r' | cut -d' ' -f1)" = 1 ] || jw_fail "the hotkey did not bring Jotwell in front"
kill "$NOTEPAD_PID" 2>/dev/null
exit_app

jw_log "a logoff while hidden in the tray keeps the new place, the toolbar state and the file opened"
cp "$JW_TMP/Sample.txt" "$JW_TMP/Other.txt"
OTHER=$(jw_winpath "$JW_TMP/Other.txt")
start_frame "$OTHER"
jw_tool $W move "$FRAME" 230 170 150 300 || jw_fail "move before the logoff"
jw_tool $W send "$FRAME" $WM_COMMAND 59392 0 >/dev/null   # toolbar off
jw_tool $W post "$FRAME" $WM_SYSCOMMAND 0xF060 0
expect_state hidden "SC_CLOSE before the logoff"
# Asks every window of the prefix, then ends the session and every process still running.
timeout 60 wineboot --end-session >/dev/null 2>&1
jw_wait_exit "$JW_PID" 30 || jw_fail "the logoff did not end the program"
[ "$(jw_reg_value "$JW_KEY\\Pos" x) $(jw_reg_value "$JW_KEY\\Pos" y)" = "0xe6 0xaa" ] ||
    jw_fail "place not saved at the logoff: $(jw_reg_value "$JW_KEY\\Pos" x) $(jw_reg_value "$JW_KEY\\Pos" y)"
[ "$(jw_reg_value "$JW_KEY\\Jotwell-Bar0" Visible)" = 0x0 ] || jw_fail "toolbar state not saved at the logoff"
[ "$(jw_reg_value "$JW_KEY\\Recent File List" File1)" = "$OTHER" ] ||
    jw_fail "recent file not saved at the logoff: $(jw_reg_value "$JW_KEY\\Recent File List" File1)"
cmp -s "$JW_TMP/Sample.txt" "$JW_TMP/Other.txt" ||
    jw_fail "the logoff changed the file"
jw_log "PASS"
