# Sourced by the end-to-end scripts once they have defined fail(): a
# scratch directory, a private virtual 640 x 480 X display, and the
# cleanup that ends the game and the display whatever happens.
XVFB_PID=
GAME_PID=
WORK_DIR=$(mktemp -d)
cleanup() {
    if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then
        kill -KILL "$GAME_PID" 2>/dev/null
    fi
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
    # KEEP_E2E=DIR keeps the screenshots and logs for a look afterwards.
    if [ -n "${KEEP_E2E:-}" ]; then
        rm -rf "$KEEP_E2E"
        cp -r "$WORK_DIR" "$KEEP_E2E"
    fi
    rm -rf "$WORK_DIR"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# Xvfb picks a free display number itself and tells it once it is ready,
# so runs side by side never share a display.
Xvfb -displayfd 1 -screen 0 640x480x24 -nolisten tcp >"$WORK_DIR/display" 2>"$WORK_DIR/xvfb.log" &
XVFB_PID=$!
tries=0
until [ -s "$WORK_DIR/display" ] && grep -q '^[0-9][0-9]*$' "$WORK_DIR/display"; do
    kill -0 "$XVFB_PID" 2>/dev/null || fail "Xvfb did not start: $(cat "$WORK_DIR/xvfb.log")"
    tries=$((tries + 1))
    [ $tries -lt 100 ] || fail "Xvfb gave no display number"
    sleep 0.1
done
export DISPLAY=":$(cat "$WORK_DIR/display")"
xdpyinfo >/dev/null 2>&1 || fail "cannot reach the display $DISPLAY"

# In the sanitizer build the session bus library's buffers at exit are not
# the game's leaks.
export LSAN_OPTIONS="suppressions=$(dirname "$0")/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
