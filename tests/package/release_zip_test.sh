#!/usr/bin/env bash
# The release zip: made with the build's own CPack configuration (what the package target
# runs), it opens, holds exactly Jotwell.exe, README.md, Sample.txt and WebInput.txt, each
# byte for byte what was built or shipped, and its Jotwell.exe is a 32-bit (i386) Windows
# program. The manifest names the same version as the version resource.
# Usage: release_zip_test.sh CPACK CMAKE BUILD_DIR ZIP_NAME EXE SOURCE_DIR VERSION
set -euo pipefail
cpack=$1 cmake=$2 build=$3 name=$4 exe=$5 src=$6 version=$7
fail() { echo "FAIL: $*" >&2; exit 1; }
tmp=$(mktemp -d /tmp/jotwell-zip.XXXXXX)
trap 'rm -rf "$tmp"' EXIT

(cd "$build" && "$cpack" -G ZIP --config CPackConfig.cmake -B "$tmp/out") >"$tmp/cpack.log" 2>&1 ||
    { cat "$tmp/cpack.log" >&2; fail "cpack failed"; }
zip=$tmp/out/$name.zip
[ -f "$zip" ] || fail "no $name.zip made: $(ls "$tmp/out")"

mkdir "$tmp/open"
(cd "$tmp/open" && "$cmake" -E tar xf "$zip") || fail "$name.zip does not open"
got=$(cd "$tmp/open" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
[ "$got" = "Jotwell.exe README.md Sample.txt WebInput.txt " ] || fail "$name.zip holds: $got"

cmp -s "$tmp/open/Jotwell.exe" "$exe" || fail "Jotwell.exe in the zip is not the one just built ($exe)"
cmp -s "$tmp/open/README.md" "$src/README.md" || fail "README.md differs"
cmp -s "$tmp/open/Sample.txt" "$src/samples/Sample.txt" || fail "Sample.txt differs"
cmp -s "$tmp/open/WebInput.txt" "$src/samples/WebInput.txt" || fail "WebInput.txt differs"

# A PE image ("PE\0\0" where the DOS header's e_lfanew points) for the i386 machine (0x14c),
# with a 32-bit optional header (0x10b).
exe_in_zip=$tmp/open/Jotwell.exe
pe=$(od -An -tu4 -j60 -N4 "$exe_in_zip" | tr -d ' ')
[ "$(od -An -tx1 -j"$pe" -N4 "$exe_in_zip" | tr -d ' ')" = 50450000 ] || fail "Jotwell.exe is no PE image"
[ "$(od -An -tx2 -j$((pe + 4)) -N2 "$exe_in_zip" | tr -d ' ')" = 014c ] || fail "Jotwell.exe is not for i386"
[ "$(od -An -tx2 -j$((pe + 24)) -N2 "$exe_in_zip" | tr -d ' ')" = 010b ] || fail "Jotwell.exe is not a 32-bit image"

grep -q "<assemblyIdentity version=\"$version.0\"" "$src/res/Jotwell.manifest" ||
    fail "res/Jotwell.manifest does not name version $version.0"
echo "ok: $name.zip holds Jotwell.exe (i386, as built), README.md, Sample.txt, WebInput.txt"
