#!/usr/bin/env bash
# Renews docs/screenshot-en.png and docs/screenshot-ja.png: starts Jotwell.exe under Wine on
# a private Xvfb display with samples/Sample.txt, in English and in Japanese, opens the main
# menu's "Web" popup and takes a picture of the window.
# Usage: scripts/screenshot.sh [folder of Jotwell.exe and jw_window.exe]  (default build/win)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$root/build/win}
[ -f "$bin/Jotwell.exe" ] && [ -f "$bin/jw_window.exe" ] ||
    { echo "Jotwell.exe and jw_window.exe not found in $bin (cross build first)" >&2; exit 1; }

# Only this script needs the Japanese font.
need=()
dpkg-query -W -f='${Status}' fonts-noto-cjk 2>/dev/null | grep -q 'install ok installed' || need+=(fonts-noto-cjk)
if [ ${#need[@]} -gt 0 ]; then
    echo "Installing: ${need[*]}" >&2
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null ||
        { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null; }
fi

set +u
source "$root/tests/e2e/lib.sh"
set +u
jw_setup "$bin"
# A fixed place, so the recent-file list in the picture shows a stable path.
mkdir -p "$WINEPREFIX/drive_c/Jotwell"
cp "$root/samples/Sample.txt" "$WINEPREFIX/drive_c/Jotwell/Sample.txt"
sample='C:\Jotwell\Sample.txt'
# A web input setting file with fields, so the "Web" menu is enabled as a user would see it.
cp "$root/samples/WebInput.txt" "$WINEPREFIX/drive_c/Jotwell/WebInput.txt"
jw_reg add "$JW_KEY\\WebInput" /v File /t REG_SZ /d 'C:\Jotwell\WebInput.txt' /f
mkdir -p "$root/docs"
FRAME='- Jotwell'

# One picture: the window at (40, 40), wide enough to show the list beside the open
# "Menu" popup.
shoot() {
    local out=$1
    jw_start "$sample"
    jw_tool jw_window wait "$FRAME" shown 60 || jw_fail "no Jotwell window"
    jw_tool jw_window move "$FRAME" 40 40 400 300
    sleep 1  # nothing to poll for: let the list and the toolbar repaint at the new size
    # Alt+W: the system opens the menu bar's "&Web" popup. (While the "&Menu" popup is open,
    # Wine leaves the toolbar and the list unpainted, which would make a poor picture.)
    jw_tool jw_window post "$FRAME" 0x112 0xF100 0x77
    jw_tool jw_window wait "class:#32768" shown 10 || jw_fail "the menu did not open"
    sleep 1  # let the popup finish drawing
    import -window root -crop 420x320+30+30 +repage "$out"
    jw_tool jw_window post "$FRAME" 0x111 57665 0
    jw_wait_exit "$JW_PID" 30 || jw_fail "Jotwell did not exit"
    wineserver -w
    echo "wrote $out" >&2
}

shoot "$root/docs/screenshot-en.png"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
shoot "$root/docs/screenshot-ja.png"
