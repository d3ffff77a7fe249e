# Sourced by the end-to-end scripts, after their own fail() if they have
# one: a scratch directory, a private virtual X display (640 x 480 unless SCREEN
# says WIDTHxHEIGHT), the cleanup that ends the game, a window manager and
# the display whatever happens, and what the scripts share.
SCREEN=${SCREEN:-640x480}
if ! command -v fail >/dev/null; then
    fail() {
        echo "FAIL: $*" >&2
        [ -n "${GAME_PID:-}" ] && echo "game output: $(cat "$WORK_DIR/game.log" 2>/dev/null)" >&2
        exit 1
    }
fi
XVFB_PID=
WM_PID=
GAME_PID=
WORK_DIR=$(mktemp -d)
cleanup() {
    if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then
        kill -KILL "$GAME_PID" 2>/dev/null
    fi
    [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null
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
# so runs side by side never share a display. It must not reset when its
# last client leaves: a game started just after another has ended would
# find no display.
Xvfb -displayfd 1 -noreset -screen 0 "${SCREEN}x24" -nolisten tcp >"$WORK_DIR/display" 2>"$WORK_DIR/xvfb.log" &
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

# The sanitizer build looks for leaks as the game exits, which takes its own
# while on a loaded machine: waits there are twice as long.
SLACK=1
if [ -n "${GAME_BIN:-}" ] && ldd "$GAME_BIN" 2>/dev/null | grep -q libasan; then SLACK=2; fi

# Runs "$@" every 50 ms until it succeeds; after $1 seconds (twice that in
# the sanitizer build) the test fails with the reason $2.
within() {
    limit=$(($(date +%s%N) / 1000000 + $1 * 1000 * SLACK))
    why=$2
    shift 2
    until "$@"; do
        [ $(($(date +%s%N) / 1000000)) -lt $limit ] || fail "$why"
        sleep 0.05
    done
}

# A window manager on the display, as on a desktop.
start_window_manager() {
    openbox >"$WORK_DIR/openbox.log" 2>&1 &
    WM_PID=$!
    within 20 "the window manager did not start" window_manager_up
}
window_manager_up() {
    kill -0 "$WM_PID" 2>/dev/null || fail "the window manager ended: $(cat "$WORK_DIR/openbox.log")"
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"
}

# Starts the game in GAME_DIR (BUILD_DIR unless set), where its data tree
# is, with the sound driver AUDIO_DRIVER (dummy unless set), and waits for
# its window: GAME_PID, WINDOW.
start_game_with_data() {
    (cd "${GAME_DIR:-$BUILD_DIR}" && SDL_AUDIODRIVER=${AUDIO_DRIVER:-dummy} SDL_VIDEODRIVER=x11 exec "$GAME_BIN") \
        >"$WORK_DIR/game.log" 2>&1 &
    GAME_PID=$!
    WINDOW=$(timeout 10 xdotool search --sync --onlyvisible --name '^Kestoria$' 2>/dev/null | head -n 1)
    [ -n "$WINDOW" ] || fail "no window titled Kestoria"
    xdotool mousemove "$((SCREEN_W / 2))" "$((SCREEN_H / 2))"
}

# The game's own frame $1 (title or field) and its mask, made headless by
# REFERENCE in BUILD_DIR.
reference() {
    (cd "$BUILD_DIR" && "$REFERENCE" "$1" "$WORK_DIR/$1_ref.ppm" "$WORK_DIR/$1_mask.pgm" >/dev/null) ||
        fail "no reference for the $1"
}

# Where the game's 640 x 480 picture lies on the screen, scaled up as far as
# it goes and letterboxed.
SCREEN_W=${SCREEN%x*}
SCREEN_H=${SCREEN#*x}
if [ $((SCREEN_W * 480)) -gt $((SCREEN_H * 640)) ]; then
    PICTURE_H=$SCREEN_H PICTURE_W=$((SCREEN_H * 640 / 480))
else
    PICTURE_W=$SCREEN_W PICTURE_H=$((SCREEN_W * 480 / 640))
fi
PICTURE_X=$(((SCREEN_W - PICTURE_W) / 2))
PICTURE_Y=$(((SCREEN_H - PICTURE_H) / 2))

# Screenshot $1.ppm: the game's picture back at 640 x 480; on a larger
# screen the whole screen stays in $1_screen.ppm.
shot() {
    if [ "$SCREEN" = 640x480 ]; then
        import -window root -depth 8 "$WORK_DIR/$1.ppm" || fail "no screenshot $1"
        return
    fi
    import -window root -depth 8 "$WORK_DIR/$1_screen.ppm" || fail "no screenshot $1"
    convert "$WORK_DIR/$1_screen.ppm" -crop "${PICTURE_W}x${PICTURE_H}+${PICTURE_X}+${PICTURE_Y}" +repage \
        -sample 640x480 "$WORK_DIR/$1.ppm" || fail "cannot scale screenshot $1 back"
}

# AE: the pixels of screenshot $1 that differ from reference $2 (made by
# REFERENCE) where its mask holds.
differing() {
    "$REFERENCE" mask "$WORK_DIR/$1.ppm" "$WORK_DIR/$2_mask.pgm" "$WORK_DIR/$1_masked.ppm" || fail "cannot mask $1"
    AE=$(compare -metric AE "$WORK_DIR/$2_ref.ppm" "$WORK_DIR/$1_masked.ppm" null: 2>&1)
}

# Screenshot $1 until it agrees with reference $2, at most $3 times $4
# seconds apart; a slow machine may still be fading.
matches() {
    tries=0
    while :; do
        shot "$1"
        differing "$1" "$2"
        [ "$AE" = 0 ] && return
        tries=$((tries + 1))
        [ $tries -lt "$3" ] || fail "screenshot $1 differs from the game's own frame in $AE pixels"
        sleep "$4"
    done
}
