# Shared by the web end-to-end tests (source after lib.sh and jw_setup): the file
# dialogs, the Web menu's state and the keyboard of the main window.

# Types a full path into a file dialog and confirms it.
jww_answer_file_dialog() {  # title-regex path
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

# Loads a web input setting file with command 32787 and its open dialog.
jww_open_setting_file() {  # main-title path
    jw_tool jw_menu command "$1" 32787 || jw_fail "cannot send command 32787"
    jww_answer_file_dialog '^Open$' "$2"
}

jww_menu_state() { jw_tool jw_menu state "$1" 1 | tr -d '\r'; }

# Polls for up to 10 s until the Web menu shows the expected state.
jww_wait_menu_state() {  # main-title enabled|grayed
    local start=$SECONDS got=""
    while [ $((SECONDS - start)) -lt 10 ]; do
        got=$(jww_menu_state "$1")
        [ "$got" = "$2" ] && return 0
        sleep 0.2
    done
    echo "menu state: '$got', expected '$2'" >&2
    return 1
}

# Presses keys in the main window; a click first activates it again after a dialog
# (there is no window manager here).
jww_keys_to_main() {  # x-window-id keys...
    local win=$1
    shift
    xdotool windowfocus --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
    eval "$(xdotool getwindowgeometry --shell "$win")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 20)) click 1
    sleep 0.3
    xdotool key "$@"
}

# Ctrl+Alt+D and the report's save dialog; waits until the file exists.
jww_write_report() {  # x-window-id path
    jww_keys_to_main "$1" ctrl+alt+d
    jww_answer_file_dialog '^Save As$' "$2"
    local start=$SECONDS
    until [ -f "$2" ] || [ $((SECONDS - start)) -ge 10 ]; do sleep 0.2; done
    [ -f "$2" ] || jw_fail "report $2 was not written"
}
