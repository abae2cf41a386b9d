#!/usr/bin/env bash
# Figures of the DevTools runs through the program's own logic (jw_devtools_check.exe),
# printed and not asserted (a run that cannot be measured ends the script with an error):
# a fill over four page sections with nothing listening on the port, the tag index report
# of a page of 70,000 elements with long values beside a small page and its peak working
# set, and a fill of 100 fields; then the same fill and report through the browser's endpoint
# on one connection (as a browser found by its DevToolsActivePort file is reached), and the
# time to list the pages again on that kept connection. Skips (exit 0) when Chromium is not
# installed.
# Usage: devtools_figures.sh BUILD_DIR   (run by scripts/figures.sh)
e2e=$(cd "$(dirname "$0")/../../tests/e2e" && pwd)
source "$e2e/lib.sh"
source "$e2e/devtools_lib.sh"
set -o pipefail

jwc_setup "${1:?build folder}"
{ export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8; } 2>/dev/null   # the code page the DevTools test runs in

# figure OUTPUT LABEL KEY: the line "KEY <value>" of jw_devtools_check's output, labelled.
figure() {
    local value
    value=$(sed -n "s/^$3 //p" <<<"$1")
    [ -n "$value" ] || jw_fail "no $3 in: $1"
    echo "$2: $value"
}
check_run() {  # tool output: a run that showed a message measured something else
    ! grep -q MESSAGE <<<"$1" || jw_fail "the run showed a message: $1"
}

printf '[A]\nq=1\n[B]\nq=2\n[C]\nq=3\n[D]\nq=4\n' >"$JW_TMP/four.txt"
out=$(jw_tool jw_devtools_check fill "$(free_port)" "$(jw_winpath "$JW_TMP/four.txt")" | tr -d '\r')
check_run "$out"
figure "$out" "DevTools fill over four page sections, nothing listening on the port" "TIME fill"

PAGES=$JW_TMP/pages
mkdir -p "$PAGES"
jwc_write_big_pages "$PAGES"
start_chromium "file://$PAGES/huge.html" "file://$PAGES/fields.html"
[ "$($CLIENT "$CHROME_PORT" eval Huge 'document.all.length')" = 70000 ] || jw_fail "the huge page is not whole"

out=$(jw_tool jw_devtools_check report "$CHROME_PORT" "$(jw_winpath "$JW_TMP/huge.txt")" | tr -d '\r')
check_run "$out"
figure "$out" "DevTools report of a 70,000-element page (about 42 MB of values) and a small one" "TIME report"
figure "$out" "DevTools peak working set of that report" "PEAK"

out=$(jw_tool jw_devtools_check fill "$CHROME_PORT" "$(jw_winpath "$PAGES/fields.txt")" | tr -d '\r')
check_run "$out"
grep -qx "RESULT 1" <<<"$out" || jw_fail "the 100 fields were not filled: $out"
figure "$out" "DevTools fill of 100 fields" "TIME fill"

out=$(jw_tool jw_devtools_check browser "$CHROME_PORT" "$CHROME_BROWSER_PATH" "$(jw_winpath "$PAGES/fields.txt")" \
    "$(jw_winpath "$JW_TMP/browser-report.txt")" | tr -d '\r')
check_run "$out"
grep -qx "RESULT 1" <<<"$out" || jw_fail "the 100 fields were not filled through the browser endpoint: $out"
grep -qx "CONNECTIONS 1" <<<"$out" || jw_fail "more than one connection: $out"
figure "$out" "Browser endpoint, one connection: fill of 100 fields" "TIME fill"
figure "$out" "Browser endpoint, one connection: report of the 70,000-element page and the small one" "TIME report"
figure "$out" "Browser endpoint: pages listed on a new connection" "TIME first-list"
figure "$out" "Browser endpoint: pages listed again on the kept connection" "TIME kept-list"
