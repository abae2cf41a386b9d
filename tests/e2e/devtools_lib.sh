# Shared by the tests and figures that drive a headless Chromium over DevTools: source it
# after lib.sh, then `jwc_setup "$1"` instead of jw_setup. Ends the script with exit 0 and
# a SKIP line when Chromium is not installed or does not start.
JWC_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
CHROMIUM=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$CHROMIUM" ]; then
    echo "SKIP: chromium is not installed (scripts/install-deps.sh installs it)"
    exit 0
fi
PY=/usr/bin/python3
[ -x "$PY" ] || PY=$(command -v python3)
CLIENT="$PY $JWC_HERE/devtools_client.py"
PIDS=()  # processes the script started (browsers, page servers), ended with the session

jwc_setup() {
    jw_setup "$1"
    trap jwc_cleanup EXIT
}

jwc_cleanup() {
    local p
    for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; done
    jw_cleanup
}

free_port() { "$PY" -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }

# Starts Chromium on the given pages (headless takes one on its command line, the
# others are opened over the protocol) with a port of its own choosing, read from the
# DevToolsActivePort file of its user data folder; sets CHROME_PID, CHROME_PORT and
# CHROME_BROWSER_PATH (its browser endpoint, the file's second line).
start_chromium() {
    local profile
    profile=$(mktemp -d "$JW_TMP/profile.XXXXXX")
    "$CHROMIUM" --headless=new --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$profile" --remote-debugging-port=0 \
        --allow-file-access-from-files "$1" >"$profile.log" 2>&1 &
    CHROME_PID=$!
    PIDS+=("$CHROME_PID")
    local ok=0 url i
    for i in $(seq 150); do
        if [ -s "$profile/DevToolsActivePort" ] && [ "$(wc -l <"$profile/DevToolsActivePort")" -ge 1 ]; then ok=1; break; fi
        sleep 0.1
    done
    if [ $ok = 1 ]; then
        CHROME_PORT=$(sed -n 1p "$profile/DevToolsActivePort")
        CHROME_BROWSER_PATH=$(sed -n 2p "$profile/DevToolsActivePort")
        $CLIENT "$CHROME_PORT" wait-pages 1 || ok=0
    fi
    if [ $ok = 1 ]; then
        for url in "${@:2}"; do $CLIENT "$CHROME_PORT" open "$url" || ok=0; done
        $CLIENT "$CHROME_PORT" wait-pages $# || ok=0
    fi
    if [ $ok = 0 ]; then
        echo "SKIP: chromium did not start (see its log below)"
        tail -5 "$profile.log"
        exit 0
    fi
}

# Starts tests/e2e/devtools_relay.py in front of the browser on PORT (DELAY: seconds it holds
# each upgrade); sets RELAY_PORT and RELAY_PID. Its count of upgrades is in $JW_TMP/relay-NAME.count.
start_relay() {  # NAME PORT [DELAY]
    local out=$JW_TMP/relay-$1.port
    "$PY" "$JWC_HERE/devtools_relay.py" "$2" "$JW_TMP/relay-$1.count" "${3:-0}" >"$out" 2>"$JW_TMP/relay-$1.log" &
    RELAY_PID=$!
    PIDS+=("$RELAY_PID")
    local i
    for i in $(seq 50); do [ -s "$out" ] && break; sleep 0.1; done
    RELAY_PORT=$(head -1 "$out")
    [ -n "$RELAY_PORT" ] || jw_fail "the relay did not start: $(cat "$JW_TMP/relay-$1.log")"
}
relay_upgrades() { head -1 "$JW_TMP/relay-$1.count"; }

# Writes a browser's DevToolsActivePort into its user data folder below the Wine user's
# %LOCALAPPDATA% (FOLDER as a browser names it there, with backslashes).
write_active_port() {  # FOLDER PORT PATH
    if [ -z "${JWC_LOCALAPPDATA:-}" ]; then
        JWC_LOCALAPPDATA=$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')" 2>/dev/null)
        [ -d "$JWC_LOCALAPPDATA" ] || jw_fail "no %LOCALAPPDATA% in the Wine prefix: $JWC_LOCALAPPDATA"
    fi
    local folder="$JWC_LOCALAPPDATA/${1//\\//}"
    mkdir -p "$folder"
    printf '%s\n%s' "$2" "$3" >"$folder/DevToolsActivePort"
}

# Writes into DIR a page of 70,000 elements with 600-character values (huge.html), a page of
# 100 empty fields (fields.html) and the setting file that fills them (fields.txt).
jwc_write_big_pages() {
    "$PY" - "$1" <<'PYEOF'
import sys
pages = sys.argv[1]
value = "v" * 600
# html, head, title, body and 69,996 fields: 70,000 elements, about 42 MB of values.
items = "".join('<input name="f%d" value="%s">\n' % (i, value) for i in range(69996))
open(pages + "/huge.html", "w").write("<html><head><title>Huge</title></head><body>\n%s</body></html>\n" % items)
fields = "".join('<input name="f%d">\n' % i for i in range(100))
open(pages + "/fields.html", "w").write("<html><head><title>Fields</title></head><body>%s</body></html>\n" % fields)
with open(pages + "/fields.txt", "w") as f:
    f.write("[Fields]\n" + "".join("f%d=value %d\n" % (i, i) for i in range(100)))
PYEOF
}
