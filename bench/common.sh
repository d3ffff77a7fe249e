# Shared by the bench scripts, sourced: failing, medians, and private
# virtual displays that are taken down again when the script ends.

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

XVFB_PID=
WM_PID=
GAME_PID=
WORK_DIR=$(mktemp -d)
stop_display() {
    for pid in "$GAME_PID" "$WM_PID" "$XVFB_PID"; do
        [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    GAME_PID= WM_PID= XVFB_PID=
}
cleanup() {
    stop_display
    rm -rf "$WORK_DIR"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# start_display WIDTHxHEIGHT [wm]: a private Xvfb, with openbox managing it
# when asked (without a window manager full screen is not granted).
start_display() {
    : >"$WORK_DIR/display"
    Xvfb -displayfd 1 -screen 0 "$1x24" -nolisten tcp >"$WORK_DIR/display" 2>/dev/null &
    XVFB_PID=$!
    tries=0
    until grep -q '^[0-9][0-9]*$' "$WORK_DIR/display" 2>/dev/null; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || fail "Xvfb did not start"
        sleep 0.1
    done
    export DISPLAY=":$(cat "$WORK_DIR/display")" SDL_VIDEODRIVER=x11
    if [ "${2:-}" = wm ]; then
        openbox --sm-disable >/dev/null 2>&1 &
        WM_PID=$!
        tries=0
        until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
            tries=$((tries + 1))
            [ $tries -lt 100 ] || fail "openbox did not start"
            sleep 0.1
        done
    fi
}
