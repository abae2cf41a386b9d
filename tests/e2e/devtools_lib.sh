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
# others are opened over the protocol); sets CHROME_PID and CHROME_PORT.
start_chromium() {
    CHROME_PORT=$(free_port)
    "$CHROMIUM" --headless=new --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$JW_TMP/profile-$CHROME_PORT" --remote-debugging-port="$CHROME_PORT" \
        --allow-file-access-from-files "$1" >"$JW_TMP/chromium-$CHROME_PORT.log" 2>&1 &
    CHROME_PID=$!
    PIDS+=("$CHROME_PID")
    local ok=1 url
    $CLIENT "$CHROME_PORT" wait-pages 1 || ok=0
    if [ $ok = 1 ]; then
        for url in "${@:2}"; do $CLIENT "$CHROME_PORT" open "$url" || ok=0; done
        $CLIENT "$CHROME_PORT" wait-pages $# || ok=0
    fi
    if [ $ok = 0 ]; then
        echo "SKIP: chromium did not start (see its log below)"
        tail -5 "$JW_TMP/chromium-$CHROME_PORT.log"
        exit 0
    fi
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
