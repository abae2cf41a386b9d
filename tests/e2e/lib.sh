# Shared by the end-to-end tests: a private Wine prefix and X display per test, starting
# Jotwell.exe and the test tools, and waiting for windows by polling with a time limit.
# Usage: source it, then `jw_setup "$1"` with the folder that holds Jotwell.exe.
set -u

jw_fail() { echo "FAIL: $*" >&2; exit 1; }
jw_log() { echo "[$(date +%H:%M:%S)] $*" >&2; }

source "$(dirname "${BASH_SOURCE[0]}")/../../cmake/wine-session.sh"

jw_setup() {
    JW_BIN=$(cd "$1" && pwd)
    JW_TMP=$(mktemp -d /tmp/jotwell-e2e.XXXXXX)
    wine_session_prefix "$JW_BIN" "$JW_TMP/prefix"
    wine_session_display 140 240 || jw_fail "no X display could be started"
    trap jw_cleanup EXIT
}

jw_cleanup() { wine_session_end "${JW_TMP:-}"; }

# The Windows path of a file of this machine.
jw_winpath() { winepath -w "$1" 2>/dev/null; }

# Starts Jotwell.exe with the given arguments in the background; JW_PID is its wine process.
jw_start() {
    (cd "$JW_TMP" && exec wine "${JW_EXE:-$JW_BIN/Jotwell.exe}" "$@" >>"$JW_TMP/jotwell.log" 2>&1) &
    JW_PID=$!
}

# Runs a test tool (tests/e2e/tools/NAME.cpp, built next to Jotwell.exe) and waits for it.
jw_tool() { local name=$1; shift; wine "$JW_BIN/$name.exe" "$@"; }

# Polls until a window whose title matches the regular expression exists; prints its id.
jw_wait_window() {
    local pattern=$1 timeout=${2:-30} start=$SECONDS id
    while [ $((SECONDS - start)) -lt "$timeout" ]; do
        id=$(xdotool search --name "$pattern" 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}

# Polls until no window matches.
jw_wait_no_window() {
    local pattern=$1 timeout=${2:-30} start=$SECONDS
    while [ $((SECONDS - start)) -lt "$timeout" ]; do
        xdotool search --name "$pattern" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    return 1
}

# Polls until a process ends; false on time-out.
jw_wait_exit() {
    local pid=$1 timeout=${2:-30} start=$SECONDS
    while [ $((SECONDS - start)) -lt "$timeout" ]; do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.2
    done
    return 1
}

# Registry access in the test's prefix.
jw_reg() { wine reg "$@" >/dev/null 2>&1; }
jw_reg_value() {  # key value -> prints the data column, or nothing
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v v="$2" '$1 == v { $1 = ""; $2 = ""; sub(/^  */, ""); print }'
}
JW_KEY='HKEY_CURRENT_USER\Software\Velmora\Jotwell'

jw_screenshot() { import -window root "$1" 2>/dev/null; }
