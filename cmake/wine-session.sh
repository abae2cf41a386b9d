# A private Wine session, shared by cmake/wine-run.sh (CMake's emulator for the Wine tests)
# and tests/e2e/lib.sh: the environment, a prefix of its own copied from a template made
# once per build folder, and an Xvfb display of its own. Source it; it starts nothing.
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
WINE_SESSION_XVFB=""

# wine_session_prefix BUILD_DIR PREFIX: PREFIX becomes a copy of BUILD_DIR/wine-template
# (made on first use; a fresh prefix takes ~10 s) and is exported as WINEPREFIX.
wine_session_prefix() {
    local template=$1/wine-template tmp
    if [ ! -f "$template/system.reg" ]; then
        tmp=$(mktemp -d "$template.XXXXXX")
        WINEPREFIX=$tmp DISPLAY= wineboot -i >/dev/null 2>&1
        WINEPREFIX=$tmp wineserver -w
        mv -T "$tmp" "$template" 2>/dev/null || rm -rf "$tmp"
    fi
    mkdir -p "$2"
    cp -a "$template/." "$2/"
    export WINEPREFIX=$2
}

# wine_session_display FIRST LAST: Xvfb on the first free display number in that range,
# waited for until its socket exists; exports DISPLAY. A number another session takes at
# the same moment makes that Xvfb exit, and the next number is tried.
wine_session_display() {
    local n i
    for n in $(seq "$1" "$2"); do
        [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
        Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        WINE_SESSION_XVFB=$!
        for i in $(seq 100); do
            if [ -e /tmp/.X11-unix/X$n ]; then
                export DISPLAY=:$n
                return 0
            fi
            kill -0 "$WINE_SESSION_XVFB" 2>/dev/null || break
            sleep 0.05
        done
        kill "$WINE_SESSION_XVFB" 2>/dev/null
        WINE_SESSION_XVFB=""
    done
    return 1
}

# wine_session_end [DIR]: ends the session's Wine processes and removes DIR (the private
# prefix or a folder holding it) when given; stops the session's Xvfb.
wine_session_end() {
    if [ -n "${1:-}" ]; then
        wineserver -k >/dev/null 2>&1
        rm -rf "$1"
    fi
    [ -n "$WINE_SESSION_XVFB" ] && kill "$WINE_SESSION_XVFB" 2>/dev/null
    WINE_SESSION_XVFB=""
    return 0
}
