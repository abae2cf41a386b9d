#!/usr/bin/env bash
# Both browser sources together in the real program: the shell's window list (empty
# under Wine) and then the DevTools targets of a headless Chromium on the port of
# "WebInput"/"DevToolsPort". "&Auto Input to Web Browser" fills a form page as the
# setting file says, and Ctrl+Alt+D lists it in the report, without the password typed
# into it. Skips (exit 0) when Chromium is not installed.
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
echo "web_chromium_test: OK"
