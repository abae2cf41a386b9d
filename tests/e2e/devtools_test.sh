#!/usr/bin/env bash
# The DevTools browser access layer against a real headless Chromium: form auto-input
# and the tag index report through the program's own logic (jw_devtools_check.exe),
# values read back over the protocol, the report compared with the expected one; a
# browser killed during a run, a port where nothing listens, a stand-in DevTools port
# that counts page-list requests, a login page whose password never reaches the
# report, a page of 70,000 elements with long values. The figures of these runs are
# printed by bench/wine/devtools_figures.sh.
# Skips (exit 0) when Chromium is not installed.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
source "$here/devtools_lib.sh"
set -o pipefail

jwc_setup "$1"
{ export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8; } 2>/dev/null   # code page 932 for the 40-byte title cut

# The pages, with the cross-origin frame served by a second loopback server.
PAGES=$JW_TMP/pages
cp -r "$here/../pages" "$PAGES"
# A second server on another port is another origin of the same loopback host.
HTTP_PORT=$(free_port)
HTTP2_PORT=$(free_port)
sed -i "s/@PORT@/$HTTP_PORT/" "$PAGES/cross.html"
sed -i "s/@PORT2@/$HTTP2_PORT/" "$PAGES/origins.html"
for p in "$HTTP_PORT" "$HTTP2_PORT"; do
    (cd "$PAGES" && exec "$PY" -m http.server --bind 127.0.0.1 "$p" >/dev/null 2>&1) &
    PIDS+=("$!")
    for i in $(seq 50); do "$PY" -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$p/child.html', timeout=1)" 2>/dev/null && break; sleep 0.1; done
done

start_chromium "file://$PAGES/form.html" "file://$PAGES/frames.html" "file://$PAGES/cross.html" \
    "file://$PAGES/japanese.html" "file://$PAGES/big.html" "file://$PAGES/login.html"
PORT=$CHROME_PORT
jw_log "chromium on port $PORT, pages on port $HTTP_PORT"

failures=0
check() {  # description, expected, actual
    if [ "$2" == "$3" ]; then echo "ok: $1"; else echo "FAIL: $1: expected [$2], got [$3]"; failures=$((failures + 1)); fi
}

# ---- the tag index report, compared page by page ----
$CLIENT "$PORT" eval Login "document.forms.login.pw.value = 'Typed-Secret-9876'" >/dev/null
# Typed into a field whose page mirrors it into its value attribute: the form's line holds the field.
$CLIENT "$PORT" eval Login "var p = document.forms.mirror.mpw; p.value = 'Mirror-Secret-5150'; p.dispatchEvent(new Event('input'))" >/dev/null
# The cross-origin frame is listed because a section names it (an unnamed one: see below).
printf '[Cross:other]\nremote=x\n' >"$JW_TMP/named.txt"
jw_tool jw_devtools_check report "$PORT" "$(jw_winpath "$JW_TMP/report.txt")" "$(jw_winpath "$JW_TMP/named.txt")" \
    | tr -d '\r' | tee "$JW_TMP/report.out"
check "report shows no message" "" "$(grep MESSAGE "$JW_TMP/report.out")"
iconv -f CP932 -t UTF-8 "$JW_TMP/report.txt" | tr -d '\r' >"$JW_TMP/report.utf8"
check "the login page is listed, its password fields without a value" \
    "$(printf '%s\n' '(pw) <input type="password" name="pw">' '(pin) <input type="password" name="pin">')" \
    "$(grep -o -E '\((pw|pin)\) .*' "$JW_TMP/report.utf8")"
check "no typed password, none the script set, none in a containing element's line" "0" \
    "$(grep -c -e 'Typed-Secret-9876' -e 'pin-set-by-script-4711' -e 'Mirror-Secret' "$JW_TMP/report.txt")"
check "the mirrored password's form is listed without it" '(mirror) <form name="mirror"><input type="password" name="mpw"></form>' \
    "$(grep -o '(mirror) .*' "$JW_TMP/report.utf8")"
[ -n "${JW_KEEP_REPORT:-}" ] && cp "$JW_TMP/report.utf8" "$JW_KEEP_REPORT"
jw_tool jw_devtools_check report "$PORT" "$(jw_winpath "$JW_TMP/unnamed.txt")" >/dev/null
check "unnamed, the frame of another origin in another process is unreadable, its values not listed" \
    "$(printf '%s\n' '=== Frame[1] : Error!!! fail to get frame document:-2147024891 ===' '' '=== NoFrame ===')|0" \
    "$(tr -d '\r' <"$JW_TMP/unnamed.txt" | grep -A5 'TITLE:Cross ' | grep -A2 -F 'Error!!!')|$(grep -c 'far' "$JW_TMP/unnamed.txt")"
"$PY" - "$JW_TMP/report.utf8" "$here/../pages/expected" "$PAGES" "$PORT" "$HTTP_PORT" <<'PYEOF' || failures=$((failures + 1))
import json, re, sys, urllib.request
report, expected_dir, pages, port, http_port = sys.argv[1:]
targets = json.load(urllib.request.urlopen("http://127.0.0.1:%s/json/list" % port, timeout=5))
lines = open(report, encoding="utf-8").read().split("\n")
# Window headers: the number is the target's place in the list, the count all targets.
sections, current = {}, None
for line in lines:
    m = re.match(r"\*\*\*\* IE\[(\d+)/(\d+)\] TITLE:.*\(file://.*/(\w+)\.html\) \*\*\*\*$", line)
    if m:
        index, count, page = int(m.group(1)), int(m.group(2)), m.group(3)
        assert count == len(targets), "count %d, %d targets" % (count, len(targets))
        assert targets[index - 1]["url"].endswith("/%s.html" % page), "window %d is not %s" % (index, page)
        current = page
        sections[page] = []
        line = re.sub(r"IE\[\d+/\d+\]", "IE[i/n]", line)
    if current:
        sections[current].append(line.replace("file://" + pages, "file://PAGES").replace(http_port, "HTTPPORT"))
ok = True
for page in ["form", "frames", "cross", "japanese", "big"]:
    want = open("%s/%s.txt" % (expected_dir, page), encoding="utf-8").read().rstrip("\n").split("\n")
    got = sections.get(page, [])
    while got and got[-1] == "":
        got.pop()
    got = got[:len(want)] if page == "big" else got  # big: its first lines and its last lines
    if page == "big":
        tail = open("%s/big-tail.txt" % expected_dir, encoding="utf-8").read().rstrip("\n").split("\n")
        all_big = [l for l in sections.get(page, []) if l]
        if all_big[-len(tail):] != tail:
            print("FAIL: report of big: last lines differ:", all_big[-len(tail):][:3]); ok = False
    if got != want:
        ok = False
        print("FAIL: report of %s differs" % page)
        for i, (w, g) in enumerate(zip(want + [""] * len(got), got + [""] * len(want))):
            if w != g:
                print("  line %d: expected [%s]\n  line %d: got      [%s]" % (i + 1, w, i + 1, g))
                break
    else:
        print("ok: report of %s (%d lines)" % (page, len(want)))
sys.exit(0 if ok else 1)
PYEOF

# ---- form auto-input: by name, by index, by a table keyed on a typed value, literals ----
$CLIENT "$PORT" eval "Order Form" "document.forms.order.city.value = 'Paris'" >/dev/null
cat >"$JW_TMP/fill.txt" <<'SETEOF'
; written by devtools_test.sh
[Order Form]
customer=Smith & "Sons" <ltd>
country=$COUNTRY[*city]
#11=by index
copy=*city
byid=found by id
dup=never written
[Frames:main]
q=from the frame
[Child]
remote=never
[Cross:other]
remote=across origins
[Cross:lure]
remote=lured by the window name that the other site gave itself
[Login]
user=*pw

[$COUNTRY]
paris=France
$DEFAULT=Japan
SETEOF
jw_tool jw_devtools_check fill "$PORT" "$(jw_winpath "$JW_TMP/fill.txt")" | tr -d '\r' | tee "$JW_TMP/fill.out"
form() { $CLIENT "$PORT" eval "Order Form" "$1"; }
check "customer (literal with quotes and brackets)" '"Smith & \"Sons\" <ltd>"' "$(form 'document.forms.order.customer.value')"
check "country (table keyed on the typed city)" '"France"' "$(form 'document.forms.order.country.value')"
check "change event fired" '"changed"' "$(form "document.getElementById('status').textContent")"
check "#11 (the textarea) written by index" '"by index"' "$(form 'document.forms.order.note.value')"
check "copy (value read back from the page, lower case)" '"paris"' "$(form 'document.forms.order.copy.value')"
check "element found by id" '"found by id"' "$(form "document.getElementById('byid').value")"
check "a name two elements share writes nothing" '["", ""]' "$(form "Array.from(document.getElementsByName('dup')).map(e => e.value)")"
check "frame by name" '"from the frame"' "$($CLIENT "$PORT" eval Frames "frames[1].document.getElementsByName('q')[0].value")"
check "cross-origin frame by name" '"across origins"' "$($CLIENT "$PORT" frame-eval Cross "document.getElementsByName('remote')[0].value")"
check "a password read by reference still fills" '"typed-secret-9876"' "$($CLIENT "$PORT" eval Login 'document.forms.login.user.value')"
check "fill beeps once (dup) and shows no message" "BEEP" "$(grep -E 'BEEP|MESSAGE' "$JW_TMP/fill.out" | sort -u)"
# A UTF-8 setting file (no mark) reaches the page character for character.
printf '[Order Form]\ncustomer=Jos\xc3\xa9 \xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1 \xd0\x96 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80\n' \
  >"$JW_TMP/fill-utf8.txt"
jw_tool jw_devtools_check fill "$PORT" "$(jw_winpath "$JW_TMP/fill-utf8.txt")" | tr -d '\r' >"$JW_TMP/fill-utf8.out"
check "UTF-8 settings fill every character" "\"$(printf 'Jos\xc3\xa9 \xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1 \xd0\x96 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80')\"" \
  "$(form 'document.forms.order.customer.value')"

# ---- a frame that cannot be read: its renderer crashed, so it answers nothing (time-out) ----
check "out-of-process frames crashed" "1" "$($CLIENT "$PORT" crash-frames Cross)"
jw_tool jw_devtools_check report "$PORT" "$(jw_winpath "$JW_TMP/report2.txt")" | tr -d '\r' >"$JW_TMP/report2.out"
[ -n "${JW_KEEP_REPORT:-}" ] && cp "$JW_TMP/report2.txt" "$JW_KEEP_REPORT.2"
check "second report shows no message" "" "$(grep MESSAGE "$JW_TMP/report2.out")"
check "frame error line, then the top document" \
    "$(printf '%s\n' '=== Frame[1] : Error!!! fail to get frame document:-2147023436 ===' '' '=== NoFrame ===' '[#  0]() <html><head><title>Cross</title></head><body>')" \
    "$(tr -d '\r' <"$JW_TMP/report2.txt" | grep -A3 'fail to get frame document')"

# ---- a port where nothing listens: an empty report, no message, no wait ----
DEAD=$(free_port)
start=$SECONDS
jw_tool jw_devtools_check report "$DEAD" "$(jw_winpath "$JW_TMP/dead.txt")" | tr -d '\r' >"$JW_TMP/dead.out"
jw_tool jw_devtools_check fill "$DEAD" "$(jw_winpath "$JW_TMP/fill.txt")" | tr -d '\r' >>"$JW_TMP/dead.out"
check "nothing listens: no message" "" "$(grep -E 'MESSAGE|BEEP' "$JW_TMP/dead.out")"
check "nothing listens: empty report" "0" "$(stat -c %s "$JW_TMP/dead.txt")"
check "nothing listens: done within 10 s" "yes" "$([ $((SECONDS - start)) -lt 10 ] && echo yes)"
printf '[A]\nq=1\n[B]\nq=2\n[C]\nq=3\n[D]\nq=4\n' >"$JW_TMP/four.txt"

# ---- frames of two origins: only the page's own is filled or listed unless a section names the other ----
$CLIENT "$PORT" open "http://127.0.0.1:$HTTP_PORT/origins.html"
$CLIENT "$PORT" open "file://$PAGES/table.html"
$CLIENT "$PORT" wait-pages 8 || jw_fail "the pages of two origins did not load"
other() { $CLIENT "$PORT" frame-url-eval Origins "$HTTP2_PORT" "$1"; }
check "the other origin's frame is there" '"far"' "$(other "document.getElementsByName('remote')[0].value")"
printf '[Origins]\nq=same origin\nremote=other origin\n' >"$JW_TMP/origins.txt"
jw_tool jw_devtools_check fill "$PORT" "$(jw_winpath "$JW_TMP/origins.txt")" | tr -d '\r' >"$JW_TMP/origins.out"
check "the same-origin frame is filled" '"same origin"' \
    "$($CLIENT "$PORT" eval Origins "frames[0].document.getElementsByName('q')[0].value")"
check "the other origin's frame is not" '"far"' "$(other "document.getElementsByName('remote')[0].value")"
check "the frame that could not be reached beeps" "BEEP" "$(grep -E 'BEEP|MESSAGE' "$JW_TMP/origins.out" | sort -u)"
jw_tool jw_devtools_check report "$PORT" "$(jw_winpath "$JW_TMP/origins-report.txt")" >/dev/null
tr -d '\r' <"$JW_TMP/origins-report.txt" | awk '/TITLE:Origins/ { on = 1 } /TITLE:/ && !/TITLE:Origins/ { on = 0 } on' \
    >"$JW_TMP/origins-report.lines"
check "the report lists the same-origin frame with its values" '[#  4](q) <input name="q" value="same origin">' \
    "$(grep -F '](q) ' "$JW_TMP/origins-report.lines")"
check "the report lists the other origin's frame as unreadable, without its values" \
    "=== Frame[2] : Error!!! fail to get frame document:-2147024891 ===|0" \
    "$(grep -F 'Error!!!' "$JW_TMP/origins-report.lines")|$(grep -c -e 'far' -e 'remote' "$JW_TMP/origins-report.lines")"


# ---- a reference may not replace a page's structure: #0, a table, a number that is none ----
table_page() { $CLIENT "$PORT" eval Table "document.documentElement.outerHTML"; }
before=$(table_page)
for field in '#0' '#4' '#2' '#top'; do
    printf '[Table]\n%s=wiped\n' "$field" >"$JW_TMP/wipe.txt"
    jw_tool jw_devtools_check fill "$PORT" "$(jw_winpath "$JW_TMP/wipe.txt")" | tr -d '\r' >"$JW_TMP/wipe.out"
    check "$field leaves the page as it was" "$before" "$(table_page)"
done

# ---- a stand-in DevTools port: the page list is asked for once per run ----
STAND=$(free_port)
"$PY" - "$STAND" "$JW_TMP/list-requests" <<'PYEOF' &
import http.server, sys
port, log = int(sys.argv[1]), sys.argv[2]
class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if self.path.startswith("/json/list"):
            with open(log, "a") as f:
                f.write(self.path + "\n")
        body = b"[]"
        self.send_response(200)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
    def log_message(self, *args):
        pass
http.server.HTTPServer(("127.0.0.1", port), Handler).serve_forever()
PYEOF
PIDS+=("$!")
for i in $(seq 50); do curl -s "http://127.0.0.1:$STAND/" >/dev/null && break; sleep 0.1; done
: >"$JW_TMP/list-requests"
jw_tool jw_devtools_check fill "$STAND" "$(jw_winpath "$JW_TMP/four.txt")" | tr -d '\r' >"$JW_TMP/four.out"
check "one page-list request for a run over four page sections" "1" "$(wc -l <"$JW_TMP/list-requests")"
check "the run over an empty page list is silent" "" "$(grep -E 'MESSAGE|BEEP' "$JW_TMP/four.out")"

# ---- a page of 70,000 elements with 600-character values beside a small page ----
kill "$CHROME_PID" 2>/dev/null
jwc_write_big_pages "$PAGES"
start_chromium "file://$PAGES/huge.html" "file://$PAGES/fields.html"
huge_elements=$($CLIENT "$CHROME_PORT" eval Huge 'document.all.length')
check "the huge page holds 70,000 elements" "70000" "$huge_elements"
jw_tool jw_devtools_check report "$CHROME_PORT" "$(jw_winpath "$JW_TMP/huge.txt")" | tr -d '\r' >"$JW_TMP/huge.out"
check "the huge report shows no message" "" "$(grep MESSAGE "$JW_TMP/huge.out")"
tr -d '\r' <"$JW_TMP/huge.txt" | awk '/TITLE:Huge/ { on = 1; next } /\*\*\*\* IE/ { on = 0 } on && /^\[#/' >"$JW_TMP/huge.lines"
check "every element of the huge page listed" "70000" "$(wc -l <"$JW_TMP/huge.lines")"
check "its last element, cut to 80 bytes" "[#69999](f69995) <input name=\"f69995\" value=$(printf 'v%.0s' $(seq 53))" "$(tail -1 "$JW_TMP/huge.lines")"
check "the small page beside it listed too" "100" "$(tr -d '\r' <"$JW_TMP/huge.txt" | grep -c '^\[#.*<input name="f[0-9]*" value="">$')"
jw_tool jw_devtools_check fill "$CHROME_PORT" "$(jw_winpath "$PAGES/fields.txt")" | tr -d '\r' >"$JW_TMP/fields.out"
check "100 fields written" "RESULT 1" "$(grep RESULT "$JW_TMP/fields.out")"
check "the last field's value" '"value 99"' "$($CLIENT "$CHROME_PORT" eval Fields "document.getElementsByName('f99')[0].value")"

# ---- the browser killed in the middle of a report: the run ends, nothing hangs ----
(jw_tool jw_devtools_check report "$CHROME_PORT" "$(jw_winpath "$JW_TMP/killed.txt")" | tr -d '\r' >"$JW_TMP/killed.out") &
tool=$!
sleep 0.3
kill -9 "$CHROME_PID"
if jw_wait_exit "$tool" 30; then
    echo "ok: a run over a killed browser ended ($(grep -c MESSAGE "$JW_TMP/killed.out") message(s): $(grep MESSAGE "$JW_TMP/killed.out" | head -1))"
else
    echo "FAIL: a run over a killed browser did not end"; failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] || jw_fail "$failures check(s) failed"
echo "PASS"

