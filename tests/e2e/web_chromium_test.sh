#!/usr/bin/env bash
# The browser sources together in the real program: the shell's window list (empty
# under Wine), then the DevTools targets of a headless Chromium on the port of
# "WebInput"/"DevToolsPort". "&Auto Input to Web Browser" fills a form page as the
# setting file says, and Ctrl+Alt+D lists it in the report, without the password typed
# into it. Then the user's own browsers, found by the DevToolsActivePort files in the
# Chrome and Edge folders, each behind a relay that answers plain HTTP with 404 (as a
# browser in that mode does) and counts the WebSocket upgrades: both pages are filled
# and reported through one connection per browser kept between runs, a stale file costs
# no wait, and a browser that holds the upgrade (its user not yet answered "Allow")
# shows the notice. Skips (exit 0) when Chromium is not installed.
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
. "$here/web_lib.sh"
. "$here/devtools_lib.sh"
jwc_setup "$1"

cat >"$JW_TMP/form.html" <<'HTML'
<!DOCTYPE html><html><head><title>Order form</title></head><body>
<input name="customer"><input name="city" value="paris"><input name="country">
<form name="login"><input type="password" name="pw"></form>
<script>
document.forms.login.pw.addEventListener('input', function(e) { e.target.setAttribute('value', e.target.value); });
</script>
</body></html>
HTML
start_chromium "file://$JW_TMP/form.html"
PORT=$CHROME_PORT
value_of() { $CLIENT "$PORT" eval "Order form" "document.querySelector('[name=$1]').value" | tr -d '\r'; }

TITLE='Sample.txt - Jotwell'
printf 'entry\n' >"$JW_TMP/Sample.txt"
printf '[Order form]\ncustomer=Smith\ncountry=$COUNTRY[*city]\n[$COUNTRY]\nparis=France\n$DEFAULT=other\n' \
    >"$JW_TMP/web.txt"
jw_reg add "$JW_KEY\\WebInput" /v DevToolsPort /t REG_DWORD /d "$PORT" /f

jw_start "$(jw_winpath "$JW_TMP/Sample.txt")"
main=$(jw_wait_window "^$TITLE\$" 60) || jw_fail "Jotwell did not start"
jww_open_setting_file "$TITLE" "$JW_TMP/web.txt"
jww_wait_menu_state "$TITLE" enabled || jw_fail "Web menu not enabled"

# Command 32786 (the Web menu's "Auto Input" and the first toolbar button).
jw_tool jw_menu command "$TITLE" 32786 || jw_fail "cannot send command 32786"
start=$SECONDS
until [ "$(value_of country)" = '"France"' ] || [ $((SECONDS - start)) -ge 15 ]; do sleep 0.3; done
[ "$(value_of customer)" = '"Smith"' ] || jw_fail "customer is $(value_of customer)"
[ "$(value_of country)" = '"France"' ] || jw_fail "country is $(value_of country)"

# A password typed into a page that mirrors it into its attribute: in no line of the report.
$CLIENT "$PORT" eval "Order form" "var p = document.forms.login.pw; p.value = 'Typed-Secret-2468'; p.dispatchEvent(new Event('input'))" >/dev/null

# The report lists the page as the first window (the shell's list gave none).
report="$JW_TMP/report.txt"
jww_write_report "$main" "$report"
start=$SECONDS
until grep -q 'customer' "$report" 2>/dev/null || [ $((SECONDS - start)) -ge 15 ]; do sleep 0.3; done
CR=$'\r'
grep -Eq '^\*\*\*\* IE\[[0-9]+/[0-9]+\] TITLE:Order form  \(file://[^ ]*/form\.html\) \*\*\*\*'"$CR"'$' "$report" \
    || jw_fail "no window header for the page"
grep -q "^=== NoFrame ===$CR\$" "$report" || jw_fail "no NoFrame line"
# The filled field's line carries the value just written.
grep -F '](customer) <input name="customer" value=' "$report" | grep -q 'Smith' \
    || jw_fail "no element line with the filled value"
grep -Fq '](login) <form name="login"><input type="password" name="pw"></form>' "$report" \
    || jw_fail "no line for the form that holds the password"
! grep -q 'Typed-Secret' "$report" || jw_fail "the typed password is in the report: $(grep -a 'Typed-Secret' "$report")"
! xdotool search --name '^Jotwell$' >/dev/null 2>&1 || jw_fail "a message box is showing"

# ---- the user's own browsers, found by their DevToolsActivePort files ----
PORT1=$PORT
PATH1=$CHROME_BROWSER_PATH
cat >"$JW_TMP/second.html" <<'HTML'
<!DOCTYPE html><html><head><title>Second form</title></head><body><input name="customer"></body></html>
HTML
start_chromium "file://$JW_TMP/second.html"
PORT2=$CHROME_PORT
PATH2=$CHROME_BROWSER_PATH
start_relay chrome "$PORT1"
RELAY1_PID=$RELAY_PID
write_active_port 'Google\Chrome\User Data' "$RELAY_PORT" "$PATH1"
start_relay edge "$PORT2"
write_active_port 'Microsoft\Edge\User Data' "$RELAY_PORT" "$PATH2"
# A browser that has gone left its file: nothing listens on its port.
write_active_port 'Chromium\User Data' "$(free_port)" /devtools/browser/gone
# The configured port is no longer used: only the files lead to the browsers.
jw_reg add "$JW_KEY\\WebInput" /v DevToolsPort /t REG_DWORD /d 0 /f
[ "$(curl -s -o /dev/null -w '%{http_code}' "http://127.0.0.1:$RELAY_PORT/json/list")" = 404 ] || jw_fail "the relay serves /json/list"

printf '[Order form]\ncustomer=Jones\n[Second form]\ncustomer=Brown\n' >"$JW_TMP/both.txt"
jww_open_setting_file "$TITLE" "$JW_TMP/both.txt"
clear_fields() {
    $CLIENT "$PORT1" eval "Order form" "document.querySelector('[name=customer]').value = ''" >/dev/null
    $CLIENT "$PORT2" eval "Second form" "document.querySelector('[name=customer]').value = ''" >/dev/null
}
second_value() { $CLIENT "$PORT2" eval "Second form" "document.querySelector('[name=customer]').value" | tr -d '\r'; }
fill_both() {  # what the run is
    clear_fields
    jw_tool jw_menu command "$TITLE" 32786 || jw_fail "cannot send command 32786"
    local start=$SECONDS
    until [ "$(value_of customer)" = '"Jones"' ] && [ "$(second_value)" = '"Brown"' ] || [ $((SECONDS - start)) -ge 20 ]; do
        sleep 0.3
    done
    [ "$(value_of customer)" = '"Jones"' ] || jw_fail "$1: Chrome's page has customer $(value_of customer)"
    [ "$(second_value)" = '"Brown"' ] || jw_fail "$1: Edge's page has customer $(second_value)"
    jw_log "$1: both pages filled in $((SECONDS - start)) s"
}
fill_both "the first run"
[ "$(relay_upgrades chrome)|$(relay_upgrades edge)" = "1|1" ] \
    || jw_fail "the first run opened $(relay_upgrades chrome) connections to Chrome, $(relay_upgrades edge) to Edge"
sleep 1
! xdotool search --name '^Jotwell$' >/dev/null 2>&1 || jw_fail "a message box is showing after the first run"
fill_both "the second run"
[ "$(relay_upgrades chrome)|$(relay_upgrades edge)" = "1|1" ] || jw_fail "the second run opened a new connection"

report="$JW_TMP/both-report.txt"
jww_write_report "$main" "$report"
start=$SECONDS
until grep -q 'TITLE:Second form' "$report" 2>/dev/null || [ $((SECONDS - start)) -ge 15 ]; do sleep 0.3; done
grep -q 'TITLE:Order form ' "$report" || jw_fail "the report lists no Chrome page"
grep -q 'TITLE:Second form ' "$report" || jw_fail "the report lists no Edge page"
[ "$(relay_upgrades chrome)|$(relay_upgrades edge)" = "1|1" ] || jw_fail "the report opened a new connection"

# Chrome restarted its debugging: a new port, and a browser that holds the upgrade until its
# user answers. The notice names it meanwhile; the run then goes on and fills both pages.
kill "$RELAY1_PID"
start_relay chrome-asks "$PORT1" 5
write_active_port 'Google\Chrome\User Data' "$RELAY_PORT" "$PATH1"
clear_fields
jw_tool jw_menu command "$TITLE" 32786 || jw_fail "cannot send command 32786"
notice=
start=$SECONDS
until notice=$(xdotool search --name '^Jotwell$' 2>/dev/null | head -1) && [ -n "$notice" ] || [ $((SECONDS - start)) -ge 5 ]; do
    sleep 0.2
done
[ -n "$notice" ] || jw_fail "no notice while Chrome held the connection"
jw_tool jw_wintext Jotwell | tr -d '\r' | grep -q 'Google Chrome asks whether Jotwell may connect' \
    || jw_fail "the notice does not name Chrome: $(jw_tool jw_wintext Jotwell)"
start=$SECONDS
until [ "$(value_of customer)" = '"Jones"' ] && [ "$(second_value)" = '"Brown"' ] || [ $((SECONDS - start)) -ge 20 ]; do sleep 0.3; done
[ "$(value_of customer)" = '"Jones"' ] || jw_fail "Chrome's page was not filled after its user allowed"
jw_wait_no_window '^Jotwell$' 10 || jw_fail "the notice stayed after Chrome allowed the connection"
[ "$(relay_upgrades chrome-asks)|$(relay_upgrades edge)" = "1|1" ] || jw_fail "the connections were not kept"
echo "web_chromium_test: OK"
