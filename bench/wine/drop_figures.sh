#!/usr/bin/env bash
# Figures, printed and not asserted (a figure that cannot be measured ends the script with
# an error): the time from the button release to the target's receipt
# of the paste, median of 20 drops each for the Paste and the Keybd methods; the time from a
# drop onto a window that stops answering in its click handler for JWD_HANG_SECONDS (10
# unless set) until Jotwell handles a posted message again, median of five; with "Restore
# Clipboard after Drop" on, the time from the target's read to the clipboard put back; and
# for a file of 100,000 entries the time to open and show it and of one Insert, Delete and Modify Text
# on its first row (the file rewrite included), seen from outside the program.
# Clock: jw_target logs, on QueryPerformanceCounter in its own process, both the release
# (its low-level mouse hook sees the left-button release) and the receipt.
# Usage: drop_figures.sh BUILD_DIR [DROPS]   (run by scripts/figures.sh); JWD_COMPARE below
# compares builds.
e2e=$(cd "$(dirname "$0")/../../tests/e2e" && pwd)
source "$e2e/lib.sh"
source "$e2e/drop_lib.sh"
jw_setup "${1:?build folder}"
drops=${2:-20}

K='HKCU\Software\Velmora\Jotwell\DestWnd'
jw_reg add "$K\\Paste\\0" /v ClassName /t REG_SZ /d Edit /f
jw_reg add "$K\\Paste\\1" /v ClassName /t REG_SZ /d JwPastePane /f
jw_reg add "$K\\Paste\\2" /v ClassName /t REG_SZ /d JwHungPane /f
hang=${JWD_HANG_SECONDS:-10}

entries=$JW_TMP/entries.txt
jwd_write_entries "$entries" 'figure text\tfigure'
jwd_start "$entries"
log=$JW_TMP/target.log
(cd "$JW_TMP" && exec wine "$JW_BIN/jw_target.exe" "$(jw_winpath "$log")" "$hang" >/dev/null 2>&1) &
jwd_wait_grep "$log" READY 60 || jw_fail "jw_target did not start"
jwd_wait_title "JW Target Hung" 30 >/dev/null || jw_fail "no hung target window"
sleep 0.5

# latencies PATTERN: for every log line matching PATTERN, the time in ms since the last
# LL-LBUTTONUP before it; prints "median min max count".
latencies() {  # pattern first-line
    tr -d '\r' <"$log" | awk -v pat="$1" -v from="${2:-1}" '
        / START freq=/ { split($3, f, "="); freq = f[2] }
        NR < from { next }
        / LL-LBUTTONUP / { up = $1 }
        $0 ~ pat && up { printf "%.2f\n", ($1 - up) * 1000 / freq; up = 0 }' | sort -n |
        awk '{ v[NR] = $1 } END { if (NR) printf "%s %s %s %d\n", v[int((NR + 1) / 2)], v[1], v[NR], NR }'
}

# Every drag starts on row 0. A click on the row while it is already selected (as it is after
# an earlier run) opens the list's in-place editor, and the presses that follow then go to
# that editor and start no drag; so the row is clicked only when it is not selected yet.
run_drops() {  # window-title count
    local point i n
    point=$(jwd_window_point "$1" 0 10)
    case " $(jwd_listinfo) " in
    *" selected=0 "*) ;;
    *) jwd_select 0 ;;
    esac
    for i in $(seq 1 "$2"); do
        [ "$i" -gt 1 ] && sleep 0.6
        # shellcheck disable=SC2086
        jwd_press_drag 0 $point
    done
    sleep 1
}

# JWD_COMPARE="NAME=PATH/Jotwell.exe ...": only the Paste and Keybd figures, of each named
# program and of this build ("new"), which take turns in JWD_ROUNDS (2 unless set) rounds of
# one session, so that a slower or busier moment of the machine meets them all alike.
if [ -n "${JWD_COMPARE:-}" ]; then
    jwd_exit
    for round in $(seq 1 "${JWD_ROUNDS:-2}"); do
        for build in $JWD_COMPARE "new=$JW_BIN/Jotwell.exe"; do
            JW_EXE=${build#*=} jwd_start "$entries"
            from=$(($(wc -l <"$log") + 1))
            run_drops "JW Target Paste" "$drops"
            read -r pmed pmin pmax pn <<<"$(latencies 'JwPastePane P 0x0302 WM_PASTE' "$from")"
            from=$(($(wc -l <"$log") + 1))
            run_drops "JW Target Keybd" "$drops"
            read -r kmed kmin kmax kn <<<"$(latencies 'JwKeybdPane P 0x0101 WM_KEYUP 0x11' "$from")"
            echo "round $round, ${build%%=*}: Paste median ${pmed:-?} ms (min ${pmin:-?}, max ${pmax:-?}, ${pn:-0} drops); Keybd median ${kmed:-?} ms (min ${kmin:-?}, max ${kmax:-?}, ${kn:-0} drops)"
            jwd_exit
        done
    done
    exit 0
fi

jw_log "figures: $drops drops with the Paste method"
run_drops "JW Target Paste" "$drops"
read -r med min max n <<<"$(latencies 'JwPastePane P 0x0302 WM_PASTE')"
paste_line="Paste: release to WM_PASTE, median ${med:-?} ms (min ${min:-?}, max ${max:-?}, $n drops)"
jw_log "figures: $drops drops with the Keybd method"
from=$(($(wc -l <"$log") + 1))
run_drops "JW Target Keybd" "$drops"
read -r med min max n <<<"$(latencies 'JwKeybdPane P 0x0101 WM_KEYUP 0x11' "$from")"
keybd_line="Keybd: release to the last key (Ctrl up), median ${med:-?} ms (min ${min:-?}, max ${max:-?}, $n drops)"

jw_log "figures: five drops onto a window that stops answering for $hang s"
# Each drop meets a target that has only just stopped answering: the next waits until it
# is back. From the release until a posted SC_CLOSE has hidden Jotwell (bash clock, one tool
# start included); then the tray icon shows it again.
hung_ms=""
released=0
point=$(jwd_window_point "JW Target Hung" 0 10)
for i in 1 2 3 4 5; do
    clicks=$(grep -c "JwHungPane S 0x0201" "$log")
    woke=$(grep -c "HUNG-WOKE" "$log")
    JWD_BEFORE_RELEASE='released=$(date +%s%N)'
    # shellcheck disable=SC2086
    jwd_press_drag 0 $point
    JWD_BEFORE_RELEASE=""
    start=$SECONDS
    until [ "$(grep -c "JwHungPane S 0x0201" "$log")" -gt "$clicks" ]; do
        [ $((SECONDS - start)) -lt 10 ] || jw_fail "the click did not reach the hung target"
        sleep 0.05
    done
    jw_tool jw_window hides "$JWD_TITLE" 0x112 0xF060 0 120 >/dev/null || jw_fail "Jotwell never answered"
    hung_ms="$hung_ms $((($(date +%s%N) - released) / 1000000))"
    jw_tool jw_window post "$JWD_TITLE" 0x8401 129 0x201
    jw_tool jw_window wait "$JWD_TITLE" shown 10 || jw_fail "Jotwell did not come back from the tray"
    until [ "$(grep -c "HUNG-WOKE" "$log")" -gt "$woke" ]; do
        [ $((SECONDS - start)) -lt $((hang + 60)) ] || jw_fail "the hung target never woke"
        sleep 0.2
    done
    sleep 0.6
done
read -r med min max <<<"$(printf '%s\n' $hung_ms | sort -n | awk '{ v[NR] = $1 } END { print v[3], v[1], v[NR] }')"
hung_line="Hung target ($hang s in its click handler): release to Jotwell answering a posted message, median $med ms (min $min, max $max, 5 drops)"

jw_log "figures: $drops drops with \"Restore Clipboard after Drop\" on, onto the Paste target"
# From the WM_PASTE's arrival at jw_target (which then reads the text) to the clipboard put
# back, both on the high-resolution clock: jw_gettext watches the transient mark come and go.
jw_tool jw_menu command "$JWD_TITLE" 32841 || jw_fail "no Restore Clipboard after Drop command"
freq=$(tr -d '\r' <"$log" | awk '/ START freq=/ { split($3, f, "="); print f[2]; exit }')
restore_ms=""
point=$(jwd_window_point "JW Target Paste" 0 10)
for i in $(seq 1 "$drops"); do
    jw_tool jw_gettext setclip "HELD $i"
    pastes=$(grep -c "JwPastePane P 0x0302" "$log")
    jw_tool jw_gettext markcycle 10 >"$JW_TMP/cycle" &
    watcher=$!
    sleep 0.3  # the watcher is looking before the drop
    # shellcheck disable=SC2086
    jwd_press_drag 0 $point
    wait "$watcher" || jw_fail "the clipboard was not put back after drop $i"
    [ "$(grep -c "JwPastePane P 0x0302" "$log")" -gt "$pastes" ] || jw_fail "drop $i did not paste"
    [ "$(jw_tool jw_gettext clip)" = "HELD $i" ] || jw_fail "drop $i: the clipboard holds $(jw_tool jw_gettext clip)"
    paste=$(tr -d '\r' <"$log" | grep "JwPastePane P 0x0302" | tail -n 1 | cut -d' ' -f1)
    read -r _ back <"$JW_TMP/cycle"
    restore_ms="$restore_ms $(awk -v a="$paste" -v b="$back" -v f="$freq" 'BEGIN { printf "%.1f", (b - a) * 1000 / f }')"
    sleep 0.6
done
read -r med min max <<<"$(printf '%s\n' $restore_ms | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)], v[1], v[NR] }')"
restore_line="Restore Clipboard after Drop: the target's WM_PASTE (its read) to the clipboard put back, median $med ms (min $min, max $max, $drops drops; Jotwell waits 100 ms after the last read)"
jw_tool jw_menu command "$JWD_TITLE" 32841

[ -n "${JWD_FIGURES_DROPS_ONLY:-}" ] && { echo "$paste_line"; echo "$keybd_line"; echo "$hung_line"; echo "$restore_line"; exit 0; }
jw_log "figures: a file of 100,000 entries"
wineserver -k >/dev/null 2>&1; sleep 1
big=$JW_TMP/big.txt
awk 'BEGIN { for (i = 0; i < 100000; i++) printf "entry number %06d with some text\\tand its explanation %d\r\n", i, i }' >"$big"
size=$(stat -c %s "$big")
# The program's start on a one-line file is the baseline that Wine's start-up costs.
t0=$(date +%s%N); jwd_start "$entries"; t1=$(date +%s%N)
wineserver -k >/dev/null 2>&1; sleep 1
t2=$(date +%s%N); jw_start "$(jw_winpath "$big")"
JWD_XWIN=$(jwd_wait_title "big.txt - Jotwell" 90) || jw_fail "no window for the big file"
JWD_TITLE="big.txt - Jotwell"
jwd_wait_rows 100001 || jw_fail "the big file's rows did not show"
t3=$(date +%s%N)
open_line=$(printf 'Open 100,000 entries (%d bytes): %d ms from the start to the rows shown; the same start on a one-entry file %d ms' \
    "$size" $(((t3 - t2) / 1000000)) $(((t1 - t0) / 1000000)))
jw_tool jw_window move "$JWD_TITLE" 0 0 420 300 >/dev/null 2>&1; sleep 0.3

edit_ms() {  # key... -> ms from the key to the file's rewrite (mtime change)
    local before now start
    before=$(stat -c %y "$big")
    xdotool windowfocus "$JWD_XWIN" 2>/dev/null; sleep 0.2
    start=$(date +%s%N)
    xdotool key "$@"
    while :; do
        now=$(stat -c %y "$big" 2>/dev/null)
        [ -n "$now" ] && [ "$now" != "$before" ] && break
        [ $(( ($(date +%s%N) - start) / 1000000 )) -gt 10000 ] && { echo "timeout"; return; }
    done
    echo $((($(date +%s%N) - start) / 1000000))
}
jwd_select 0
ins=$(edit_ms Insert)
sleep 0.5
del_start=$(date +%s%N)
xdotool windowfocus "$JWD_XWIN" 2>/dev/null; sleep 0.2
xdotool key Delete
box=$(jwd_wait_title "^Jotwell$" 20) || jw_fail "no confirmation box"
xdotool windowfocus "$box" 2>/dev/null; sleep 0.2
del=$(edit_ms Return)
sleep 0.5
xdotool windowfocus "$JWD_XWIN" 2>/dev/null; sleep 0.1; xdotool key F2
dialog=$(jwd_wait_title "^Modify Text$" 20) || jw_fail "no Modify Text dialog"
xdotool windowfocus "$dialog" 2>/dev/null; sleep 0.2
xdotool type --delay 10 'X'
mod=$(edit_ms Return)
edit_line="Edits on row 0 of the big file, key to file rewritten, seen from outside (xdotool and polling included): Insert $ins ms, Delete $del ms, Modify Text $mod ms"

echo "$paste_line"
echo "$keybd_line"
echo "$hung_line"
echo "$restore_line"
echo "$open_line"
echo "$edit_line"
