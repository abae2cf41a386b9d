# Shared by the drop tests (source after lib.sh and jw_setup): writing an entry file,
# starting Jotwell on it at a known place, and driving a real drag with xdotool.
set -u

JWD_TITLE=""

# jwd_write_entries FILE LINE...: the entry file, lines ended by CR LF.
jwd_write_entries() {
    local file=$1; shift
    : >"$file"
    local line
    for line in "$@"; do printf '%s\r\n' "$line" >>"$file"; done
}

# Waits until the X window whose title matches is mapped and Wine knows its Win32 title.
jwd_wait_title() {  # title-regex [timeout] -> prints X window id
    jw_wait_window "$1" "${2:-60}"
}

# jwd_start FILE: starts Jotwell on FILE, waits for its window and puts it at (0, 0).
jwd_start() {
    local file=$1 name
    name=$(basename "$file")
    jw_start "$(jw_winpath "$file")"
    JWD_XWIN=$(jwd_wait_title "$name - Jotwell" 90) || jw_fail "Jotwell's window did not appear"
    JWD_TITLE="$name - Jotwell"
    jwd_wait_rows 2 || jw_fail "Jotwell's list did not appear"
    jw_tool jw_window move "$JWD_TITLE" 0 0 420 300 || jw_fail "cannot move Jotwell"
    sleep 0.3
}

# jwd_exit: ends Jotwell through its Exit command (the document unchanged: nothing is asked).
jwd_exit() {
    jw_tool jw_menu command "$JWD_TITLE" 57665 || jw_fail "no window '$JWD_TITLE' to exit"  # ID_APP_EXIT
    jw_wait_exit "$JW_PID" 30 || jw_fail "Jotwell did not exit"
}

# jwd_start_notepad: starts Wine's notepad at a known place beside Jotwell (found by its
# class: its title is in the session's language); JWD_NOTEPAD_POINT is a point inside its text.
jwd_start_notepad() {
    (cd "$JW_TMP" && exec wine notepad.exe >/dev/null 2>&1) &
    jw_tool jw_window wait class:Notepad shown 60 || jw_fail "notepad did not start"
    jw_tool jw_window move class:Notepad 500 100 400 300 || jw_fail "cannot move notepad"
    sleep 0.5
    JWD_NOTEPAD_POINT=$(jwd_window_point class:Notepad 0 20) || jw_fail "notepad has no place"
}

# Polls until Jotwell's list has at least N rows.
jwd_wait_rows() {
    local want=$1 start=$SECONDS info count
    while [ $((SECONDS - start)) -lt 30 ]; do
        info=$(jw_tool jw_gettext listinfo 2>/dev/null) && {
            count=${info#count=}; count=${count%% *}
            [ "$count" -ge "$want" ] && return 0
        }
        sleep 0.2
    done
    return 1
}

jwd_listinfo() { jw_tool jw_gettext listinfo | tr -d '\r'; }

# jwd_row_point ROW -> "x y" on the screen inside the row's first column.
jwd_row_point() { jw_tool jw_gettext rowpos "$1" | tr -d '\r'; }

# jwd_select ROW: clicks the row (the click that selects before a drag).
jwd_select() {
    local p
    p=$(jwd_row_point "$1") || jw_fail "row $1 has no place"
    # shellcheck disable=SC2086
    xdotool mousemove $p click 1
    sleep 0.8  # beyond the double-click time, so the next press starts a drag
}

# jwd_drag ROW X Y [START_KEY] [RELEASE_KEY]: selects ROW, presses on it, moves past the
# drag threshold, moves to X Y and releases. START_KEY (shift) is held as the drag begins,
# RELEASE_KEY (ctrl, alt) at the release; keys go to Jotwell's window (windowfocus).
# JWD_RELEASE_FOCUS (an X window) gets the X focus before RELEASE_KEY goes down, so that
# the target's own thread sees the key (Wine's edit control reads its thread's key state
# for Ctrl+A). JWD_PRESS_KEY is held only around the press; JWD_AFTER_PRESS is run (eval) right after the press, JWD_BEFORE_RELEASE just
# before the release.
jwd_drag() {
    local row=$1 x=$2 y=$3 start_key=${4:-} release_key=${5:-} p px py
    jwd_select "$row"
    jwd_press_drag "$row" "$x" "$y" "$start_key" "$release_key"
}

# The same without the selecting click (the row's selection is whatever it is).
jwd_press_drag() {
    local row=$1 x=$2 y=$3 start_key=${4:-} release_key=${5:-} p px py
    p=$(jwd_row_point "$row") || jw_fail "row $row has no place"
    px=${p% *}; py=${p#* }
    xdotool mousemove "$px" "$py"
    xdotool windowfocus "$JWD_XWIN" 2>/dev/null
    [ -n "$start_key" ] && xdotool keydown "$start_key"
    [ -n "${JWD_PRESS_KEY:-}" ] && xdotool keydown "$JWD_PRESS_KEY"
    xdotool mousedown 1
    sleep 0.1
    [ -n "${JWD_AFTER_PRESS:-}" ] && eval "$JWD_AFTER_PRESS"
    xdotool mousemove $((px + 3)) $((py + 3))
    sleep 0.05
    xdotool mousemove $((px + 8)) $((py + 8))
    sleep 0.1
    [ -n "$start_key" ] && xdotool keyup "$start_key"
    [ -n "${JWD_PRESS_KEY:-}" ] && xdotool keyup "$JWD_PRESS_KEY"
    xdotool mousemove $(((px + x) / 2)) $(((py + y) / 2))
    sleep 0.05
    xdotool mousemove "$x" "$y"
    sleep 0.15
    [ -n "${JWD_BEFORE_RELEASE:-}" ] && eval "$JWD_BEFORE_RELEASE"
    if [ -n "$release_key" ]; then
        [ -n "${JWD_RELEASE_FOCUS:-}" ] && { xdotool windowfocus "$JWD_RELEASE_FOCUS" 2>/dev/null; sleep 0.1; }
        xdotool keydown "$release_key"
        sleep 0.1
    fi
    xdotool mouseup 1
    sleep 0.2
    [ -n "$release_key" ] && xdotool keyup "$release_key"
    return 0
}

# jwd_window_point TITLE [DX DY] -> "x y" on the screen: the window's centre (plus offsets).
jwd_window_point() {
    local r l t w h
    r=$(jw_tool jw_window rect "$1" | tr -d '\r') || return 1
    read -r l t w h <<<"$r"
    echo $((l + w / 2 + ${2:-0})) $((t + h / 2 + ${3:-0}))
}

# jwd_wait_file_has FILE PATTERN [TIMEOUT]: polls until grep finds the pattern.
jwd_wait_grep() {
    local file=$1 pattern=$2 timeout=${3:-10} start=$SECONDS
    while [ $((SECONDS - start)) -lt "$timeout" ]; do
        grep -q -- "$pattern" "$file" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

# Polls until notepad's Edit control holds exactly the expected bytes; prints what it holds.
jwd_wait_notepad_text() {
    local want=$1 timeout=${2:-10} start=$SECONDS got=""
    while [ $((SECONDS - start)) -lt "$timeout" ]; do
        got=$(jw_tool jw_gettext text Notepad Edit | od -An -c | tr -s ' \n' ' ')
        [ "$got" = "$(printf '%s' "$want" | od -An -c | tr -s ' \n' ' ')" ] && return 0
        sleep 0.2
    done
    echo "notepad holds:$got" >&2
    return 1
}

# The delivery rules dialog's title (English session).
JWD_RULES="Delivery Rules"
# jwd_open_rules: Menu > Delivery Rules... (by its command), the dialog waited for and put at (0, 0).
jwd_open_rules() {
    jw_tool jw_menu command "$JWD_TITLE" 32870 || jw_fail "no window '$JWD_TITLE'"  # ID_DELIVERY_RULES
    jw_tool jw_window wait "$JWD_RULES" shown 20 || jw_fail "the Delivery Rules dialog did not open"
    local r w h
    r=$(jw_tool jw_window rect "$JWD_RULES" | tr -d '\r') || jw_fail "the dialog has no place"
    read -r _ _ w h <<<"$r"
    jw_tool jw_window move "$JWD_RULES" 0 0 "$w" "$h" || jw_fail "cannot move the dialog"
    sleep 0.3
}
