#!/usr/bin/env bash
# End to end: entry files in UTF-8, without and with a byte-order mark, in UTF-16 LE with its
# mark, and a Shift-JIS file under code page 932. Rows are read through the wide list-view
# message, real drags onto Wine's notepad are read back as wide text, and Save must write each
# file back byte for byte.
# Usage: utf8_entries_test.sh BUILD_DIR
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
source "$here/drop_lib.sh"
jw_setup "${1:?build folder}"

ID_FILE_SAVE=57603

# write_lines FILE LINE...: the lines joined by CR LF, none after the last, as the writer
# ends a file (so that an unchanged file saves to the same bytes).
write_lines() {
    local file=$1 line; shift
    printf '%s' "$1" >"$file"; shift
    for line in "$@"; do printf '\r\n%s' "$line" >>"$file"; done
}

# rows_are COL TEXT...: column COL of the rows from row 0 on, as LVM_GETITEMTEXTW gives it.
rows_are() {
    local col=$1 row=0 want got; shift
    for want in "$@"; do
        got=$(jw_tool jw_gettext row "$row" "$col")
        [ "$got" = "$want" ] || {
            echo "row $row column $col shows [$got] ($(printf '%s' "$got" | od -An -tx1 | tr -s ' \n' ' ')), expected [$want]" >&2
            return 1
        }
        row=$((row + 1))
    done
}

# filter_shows TEXT N: the filter field holds TEXT (set as a typed text would be) and the
# list then has N rows. The text goes through a file: the 932 session's Unix locale may be
# missing, and Wine then reads the command line as ASCII.
filter_shows() {
    local start=$SECONDS
    printf '%s' "$1" >"$JW_TMP/filter.txt"
    jw_tool jw_gettext settextfile JotwellFrame Edit "$(jw_winpath "$JW_TMP/filter.txt")" ||
        jw_fail "cannot set the filter"
    until [ "$(jwd_listinfo | cut -d' ' -f1)" = "count=$2" ]; do
        [ $((SECONDS - start)) -lt 10 ] || { echo "filter [$1]: $(jwd_listinfo), expected $2 rows" >&2; return 1; }
        sleep 0.2
    done
}

# delivers ROW TEXT [START_KEY]: a drag of ROW onto the emptied notepad leaves exactly TEXT there.
delivers() {
    jw_tool jw_gettext settext Notepad Edit "" || jw_fail "cannot empty notepad"
    # shellcheck disable=SC2086
    jwd_drag "$1" $JWD_NOTEPAD_POINT "${3:-}"
    jwd_wait_notepad_text "$2" || { echo "after the drag of row $1${3:+ with $3}" >&2; return 1; }
}

# saves_same FILE ORIGINAL: the Save command rewrites FILE (its time changes) with ORIGINAL's bytes.
saves_same() {
    local start=$SECONDS
    touch -d '2001-01-01 00:00' "$1"
    jw_tool jw_menu command "$JWD_TITLE" $ID_FILE_SAVE || jw_fail "cannot send Save"
    until [ "$(stat -c %Y "$1")" != "$(date -d '2001-01-01 00:00' +%s)" ]; do
        [ $((SECONDS - start)) -lt 10 ] || { echo "Save did not rewrite $(basename "$1")" >&2; return 1; }
        sleep 0.2
    done
    cmp "$2" "$1" >&2 || { echo "saved:$(od -An -c "$1" | tr -s ' \n' ' ')" >&2; return 1; }
}

jw_log "1. a UTF-8 file without a mark opens with every row right"
texts=('Grüße, café\nnaïve 🙂' 'Привет, мир' 'Καλημέρα κόσμε' '日本語と絵文字 😀🎉' 'C:\\temp\ファイル')
explanations=('Ελληνικά και русский' '日本語のテキスト' '' 'émoji à la carte 🎉' 'Ω≈ç√ 𝄞')
utf8=$JW_TMP/utf8.txt
write_lines "$utf8" "${texts[0]}\\t${explanations[0]}" "${texts[1]}\\t${explanations[1]}" "${texts[2]}" \
    "${texts[3]}\\t${explanations[3]}" "${texts[4]}\\t${explanations[4]}"
cp "$utf8" "$JW_TMP/utf8.original"
jwd_start "$utf8"
[ "$(jwd_listinfo)" = "count=6 selected=-1 focused=-1 editing=0" ] || jw_fail "rows: $(jwd_listinfo)"
rows_are 0 "${texts[@]:0:4}" 'C:\temp\ファイル' || jw_fail "the Texts are not shown as written"
rows_are 1 "${explanations[@]}" || jw_fail "the Explanations are not shown as written"

jw_log "2. drags deliver every character into notepad, line breaks as CR LF"
jwd_start_notepad
# (A click on the row already selected would open its label editor: no row twice in a row.)
delivers 0 $'Grüße, café\r\nnaïve 🙂' || jw_fail "the first Text did not arrive"
delivers 4 'Ω≈ç√ 𝄞' shift || jw_fail "the Explanation did not arrive"
delivers 1 'Привет, мир' || jw_fail "the Cyrillic Text did not arrive"
delivers 2 'Καλημέρα κόσμε' || jw_fail "the Greek Text did not arrive"
delivers 3 '日本語と絵文字 😀🎉' || jw_fail "the Japanese Text did not arrive"
delivers 4 'C:\temp\ファイル' || jw_fail "the Text with backslashes did not arrive"

jw_log "2b. the filter narrows the rows, ignoring case; a filtered row delivers its own entry"
jwd_select 0  # the drags left notepad in front: a click brings Jotwell back
xdotool key ctrl+f
xdotool type --delay 30 'CAF'
start=$SECONDS
until [ "$(jwd_listinfo | cut -d' ' -f1)" = "count=2" ]; do
    [ $((SECONDS - start)) -lt 10 ] || jw_fail "typing CAF did not narrow the rows: $(jwd_listinfo)"
    sleep 0.2
done
rows_are 0 "${texts[0]}" '' || jw_fail "the filter CAF shows the wrong rows"
filter_shows 'МИР' 2 && rows_are 0 "${texts[1]}" || jw_fail "the Cyrillic filter shows the wrong rows"
filter_shows 'ÉMOJI' 2 && rows_are 0 "${texts[3]}" || jw_fail "the filter on an Explanation shows the wrong rows"
filter_shows 'κ' 3 && rows_are 0 "${texts[0]}" "${texts[2]}" || jw_fail "the Greek filter shows the wrong rows"
delivers 1 'Καλημέρα κόσμε' || jw_fail "the filtered row did not deliver its entry"
filter_shows '' 6 || jw_fail "clearing the filter did not show every row"

jw_log "3. Save writes the UTF-8 file back byte for byte"
saves_same "$utf8" "$JW_TMP/utf8.original" || jw_fail "the UTF-8 file did not save as it was"
jwd_exit

jw_log "3b. letters the code page lacks, typed: into the filter, and into the in-place editor"
polish=$JW_TMP/polish.txt
write_lines "$polish" 'Łódź' 'Kraków' 'zwykły'
jwd_start "$polish"
jwd_select 0
xdotool key ctrl+f
xdotool type --delay 50 'Łó'
start=$SECONDS
until [ "$(jwd_listinfo | cut -d' ' -f1)" = "count=2" ]; do
    [ $((SECONDS - start)) -lt 10 ] || jw_fail "typing Łó did not narrow the rows: $(jwd_listinfo)"
    sleep 0.2
done
rows_are 0 'Łódź' '' || jw_fail "the filter Łó shows the wrong rows"
filter_shows '' 4 || jw_fail "clearing the filter did not show every row"
jwd_select 2
p=$(jwd_row_point 2)
# shellcheck disable=SC2086
xdotool mousemove $p click 1  # a click on the selected row opens its label editor
start=$SECONDS
until jwd_listinfo | grep -q 'editing=1'; do
    [ $((SECONDS - start)) -lt 10 ] || jw_fail "the label editor did not open: $(jwd_listinfo)"
    sleep 0.2
done
xdotool type --delay 50 'Żółw'
xdotool key Return
start=$SECONDS
until [ "$(cat "$polish")" = $'Łódź\r\nKraków\r\nŻółw' ]; do
    [ $((SECONDS - start)) -lt 10 ] || jw_fail "the typed Żółw was saved as:$(od -An -c "$polish" | tr -s ' \n' ' ')"
    sleep 0.2
done
jwd_exit

jw_log "4. a file with the mark keeps it and shows no stray character"
marked=$JW_TMP/marked.txt
write_lines "$marked" $'\xEF\xBB\xBF''Ünïcödé first\tmit Erklärung' 'ζ second'
cp "$marked" "$JW_TMP/marked.original"
jwd_start "$marked"
rows_are 0 'Ünïcödé first' 'ζ second' || jw_fail "the marked file's Texts are not shown as written"
delivers 0 'Ünïcödé first' || jw_fail "the marked file's first Text did not arrive as written"
saves_same "$marked" "$JW_TMP/marked.original" || jw_fail "the marked file did not save as it was"
jwd_exit

jw_log "5. a UTF-16 LE file with its mark shows and delivers every character, saves byte for byte, stays UTF-16"
utf16=$JW_TMP/utf16.txt
write_lines "$JW_TMP/utf16.utf8" "${texts[3]}\\t${explanations[3]}" "${texts[1]}" 'last'
{ printf '\xFF\xFE'; iconv -f UTF-8 -t UTF-16LE "$JW_TMP/utf16.utf8"; } >"$utf16" || jw_fail "cannot write the UTF-16 file"
cp "$utf16" "$JW_TMP/utf16.original"
jwd_start "$utf16"
rows_are 0 "${texts[3]}" "${texts[1]}" 'last' || jw_fail "the UTF-16 file's Texts are not shown as written"
rows_are 1 "${explanations[3]}" '' '' || jw_fail "the UTF-16 file's Explanations are not shown as written"
delivers 0 "${texts[3]}" || jw_fail "the UTF-16 file's Text did not arrive"
saves_same "$utf16" "$JW_TMP/utf16.original" || jw_fail "the UTF-16 file did not save as it was"
write_lines "$JW_TMP/inserted.utf8" "${texts[3]}\\t${explanations[3]}" '' "${texts[1]}" 'last'
{ printf '\xFF\xFE'; iconv -f UTF-8 -t UTF-16LE "$JW_TMP/inserted.utf8"; } >"$JW_TMP/inserted.expected"
jwd_select 1
jw_tool jw_menu command "$JWD_TITLE" 32772 || jw_fail "cannot send Insert"  # ID_INSERT_LINE
start=$SECONDS
until cmp -s "$JW_TMP/inserted.expected" "$utf16"; do
    [ $((SECONDS - start)) -lt 10 ] || jw_fail "after an Insert the file holds:$(od -An -tx1 "$utf16" | tr -s ' \n' ' ')"
    sleep 0.2
done
jwd_exit

jw_log "6. a Shift-JIS file under code page 932 reads, delivers and saves as before"
wineserver -k; wineserver -w
{ export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8; } 2>/dev/null
# Trail bytes 0x5C (表, ソ, 能) before "n", before the separator and last in a Text.
sjis=$JW_TMP/sjis.txt
write_lines "$JW_TMP/sjis.utf8" '表示テスト\nソフト\t日本語の説明' 'ソ\tソースの表' '能力ｶﾅ能'
iconv -f UTF-8 -t CP932 "$JW_TMP/sjis.utf8" >"$sjis" || jw_fail "cannot write the Shift-JIS file"
cp "$sjis" "$JW_TMP/sjis.original"
jwd_start "$sjis"
rows_are 0 '表示テスト\nソフト' 'ソ' '能力ｶﾅ能' || jw_fail "the Shift-JIS Texts are not shown as before"
rows_are 1 '日本語の説明' 'ソースの表' '' || jw_fail "the Shift-JIS Explanations are not shown as before"
jwd_start_notepad
delivers 0 $'表示テスト\r\nソフト' || jw_fail "the Shift-JIS Text did not arrive"
delivers 1 'ソースの表' shift || jw_fail "the Shift-JIS Explanation did not arrive"
delivers 2 '能力ｶﾅ能' || jw_fail "the Text ending in a trail byte 0x5C did not arrive"
saves_same "$sjis" "$JW_TMP/sjis.original" || jw_fail "the Shift-JIS file did not save as it was"
jw_log "7. the filter in 932: a double-byte character, and a backslash that is never a trail byte"
filter_shows '表' 3 && rows_are 0 '表示テスト\nソフト' 'ソ' || jw_fail "the filter 表 shows the wrong rows"
filter_shows '\' 2 && rows_are 0 '表示テスト\nソフト' || jw_fail "the filter on a backslash matched a trail byte"
filter_shows 'ｶﾅ' 2 && rows_are 0 '能力ｶﾅ能' || jw_fail "the half-width filter shows the wrong rows"
echo "PASS utf8_entries_test"
