# Shared Wine environment for the test wrapper and the scripts (sourced, not run).
# One project-local prefix, one persistent wineserver and, when there is no display, one Xvfb,
# all made once and reused by every test program.

OVP_ROOT=${OVP_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
OVP_CACHE=${OVP_CACHE:-$OVP_ROOT/.cache}
export WINEPREFIX=${OVP_WINEPREFIX:-$OVP_CACHE/wineprefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono/Gecko install prompts; no winedbg, which would turn a crash into exit code 0.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
OVP_WINE_STATE=$OVP_CACHE/wine-state

# Creates the prefix once (about 10 s).
ovp_wine_prefix() {
    [ -f "$WINEPREFIX/system.reg" ] && return 0
    mkdir -p "$WINEPREFIX"
    wineboot -i </dev/null >/dev/null 2>&1
    wineserver -w </dev/null >/dev/null 2>&1
}

# Uses $DISPLAY when set; otherwise starts (or reuses) one Xvfb for this checkout.
ovp_wine_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local file=$OVP_WINE_STATE/xvfb num pid
    if [ -f "$file" ] && read -r num pid <"$file" && kill -0 "$pid" 2>/dev/null; then
        export DISPLAY=:$num
        return 0
    fi
    local out
    out=$(mktemp)
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$out" </dev/null >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 100); do
        [ -s "$out" ] && break
        sleep 0.05
    done
    num=$(tr -dc '0-9' <"$out")
    rm -f "$out"
    [ -n "$num" ] || { echo "wine-env: Xvfb did not start" >&2; return 1; }
    echo "$num $pid" >"$file"
    export DISPLAY=:$num
    # A wineserver that outlived its display keeps its tray there: start it afresh on this one.
    wineserver -k </dev/null >/dev/null 2>&1 || true
}

# Starts a persistent wineserver with no inherited descriptors, so helper processes that Wine
# starts (services.exe, explorer.exe) never hold a test's output pipe open.
ovp_wine_server() {
    # Answers 2 when this prefix's server already runs, which is what we want.
    setsid wineserver -p60 </dev/null >/dev/null 2>&1 || true
    wine cmd /c exit </dev/null >/dev/null 2>&1
}

ovp_wine_ready() {
    mkdir -p "$OVP_WINE_STATE"
    exec 9>"$OVP_WINE_STATE/lock"
    flock 9
    ovp_wine_prefix && ovp_wine_display && ovp_wine_server
    local rc=$?
    flock -u 9
    exec 9>&-
    return $rc
}

# Ends the wineserver and the Xvfb this checkout started.
ovp_wine_stop() {
    wineserver -k </dev/null >/dev/null 2>&1 || true
    local file=$OVP_WINE_STATE/xvfb num pid
    if [ -f "$file" ] && read -r num pid <"$file"; then
        kill "$pid" 2>/dev/null || true
        rm -f "$file"
    fi
}
