#!/usr/bin/env bash
# Figures, printed and not asserted (a figure that cannot be measured ends the script with an
# error), median and range of N runs each: in "Delivery Rules", the time from the finder's
# release over a target window to its class shown in the rule's field; and from OK (a rule
# just added) until the dialog is gone and Jotwell answers a message again, that is until
# the table has been written and read again and the next drop uses it.
# Clocks: the release is logged by jw_target's low-level mouse hook and the class seen by
# jw_dialog polling every millisecond, both on QueryPerformanceCounter; OK is timed by
# jw_dialog on GetTickCount (about 16 ms resolution under Wine: a coarse figure).
# Usage: rules_figures.sh BUILD_DIR [RUNS]   (run by scripts/figures.sh)
e2e=$(cd "$(dirname "$0")/../../tests/e2e" && pwd)
source "$e2e/lib.sh"
source "$e2e/drop_lib.sh"
jw_setup "${1:?build folder}"
runs=${2:-10}

entries=$JW_TMP/entries.txt
jwd_write_entries "$entries" 'figure\tfigure' 'second'
jwd_start "$entries"
log=$JW_TMP/target.log
(cd "$JW_TMP" && exec wine "$JW_BIN/jw_target.exe" "$(jw_winpath "$log")" >/dev/null 2>&1) &
jwd_wait_grep "$log" READY 60 || jw_fail "jw_target did not start"
jwd_wait_title "JW Target Keybd" 30 >/dev/null || jw_fail "no target window"
sleep 0.5
freq=$(tr -d '\r' <"$log" | awk '/ START freq=/ { split($3, f, "="); print f[2]; exit }')
[ -n "$freq" ] || jw_fail "jw_target logged no clock frequency"

summary() {  # label unit values...
    local label=$1; shift
    printf '%s\n' "$@" | sort -n | awk -v l="$label" '{ v[NR] = $1 } END {
        printf "%s: median %.1f ms, min %.1f ms, max %.1f ms (%d runs)\n", l, v[int((NR + 1) / 2)], v[1], v[NR], NR }'
}

jwd_open_rules
read -r tx ty <<<"$(jwd_window_point "JW Target Keybd" 0 10)"
finder=$(jw_tool jw_dialog itempos "$JWD_RULES" 1273 | tr -d '\r')
shown_ms=()
for _ in $(seq "$runs"); do
    jw_tool jw_dialog settext "$JWD_RULES" 1272 ""
    m=$(wc -l <"$log")
    # shellcheck disable=SC2086
    xdotool mousemove $finder mousedown 1
    sleep 0.2
    xdotool mousemove $((tx - 30)) $((ty - 10))
    sleep 0.1
    xdotool mousemove "$tx" "$ty"
    jw_tool jw_dialog waittext "$JWD_RULES" 1277 JwKeybdPane 10 >/dev/null || jw_fail "the finder showed no class"
    ( sleep 0.3; xdotool mouseup 1 ) &
    release=$!
    shown=$(jw_tool jw_dialog waittext "$JWD_RULES" 1272 JwKeybdPane 10) || jw_fail "the release put no class in the rule"
    wait "$release"  # only the release: Jotwell and the target run in the background too
    sleep 0.2
    up=$(tail -n +$((m + 1)) "$log" | tr -d '\r' | awk '/ LL-LBUTTONUP / { t = $1 } END { print t }')
    [ -n "$up" ] || jw_fail "jw_target saw no release"
    shown_ms+=("$(awk -v a="$up" -v b="${shown%$'\r'}" -v f="$freq" 'BEGIN { printf "%.2f", (b - a) * 1000 / f }')")
done
summary "finder release to class shown" "${shown_ms[@]}"

ok_ms=()
gone_ms=()
for i in $(seq "$runs"); do
    jw_tool jw_dialog settext "$JWD_RULES" 1272 "JwFigure$i"
    jw_tool jw_dialog press "$JWD_RULES" 1278  # Add
    sleep 0.3
    read -r ms gone <<<"$(jw_tool jw_dialog okwait "$JWD_RULES" "$JWD_TITLE" | tr -d '\r')" ||
        jw_fail "the dialog did not close on OK"
    [ -n "$gone" ] || jw_fail "the dialog did not close on OK"
    ok_ms+=("$ms")
    gone_ms+=("$gone")
    [ "$i" -lt "$runs" ] && jwd_open_rules
done
summary "OK to the dialog gone" "${gone_ms[@]}"
summary "OK to the new rule in effect" "${ok_ms[@]}"
