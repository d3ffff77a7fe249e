#!/bin/sh
# The game on a virtual 640 x 480 X display, started where there is no data
# tree: it opens a full-screen window titled "Kestoria", draws blue frames,
# hides the cursor over its window and ends with exit code 0 when the
# window is closed.
# Usage: desktop_test.sh KESTORIA X11_PROBE
set -u
GAME_BIN=$1
PROBE=$2

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

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
    rm -rf "$WORK_DIR"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# A display number nobody holds.
N=90
while [ -e "/tmp/.X$N-lock" ] || [ -e "/tmp/.X11-unix/X$N" ]; do
    N=$((N + 1))
    [ $N -lt 190 ] || fail "no free display number"
done
export DISPLAY=":$N"
Xvfb "$DISPLAY" -screen 0 640x480x24 -nolisten tcp >"$WORK_DIR/xvfb.log" 2>&1 &
XVFB_PID=$!
tries=0
until xdpyinfo >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ $tries -lt 100 ] || fail "Xvfb did not start: $(cat "$WORK_DIR/xvfb.log")"
    sleep 0.1
done

# No data tree here: the game runs on without pictures or sounds.
mkdir "$WORK_DIR/game"
# In the sanitizer build the session bus library's buffers at exit are not
# the game's leaks.
export LSAN_OPTIONS="suppressions=$(dirname "$0")/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
(cd "$WORK_DIR/game" && LANG=C.UTF-8 SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=x11 exec "$GAME_BIN") \
    >"$WORK_DIR/game.log" 2>&1 &
GAME_PID=$!

WINDOW=
tries=0
while [ -z "$WINDOW" ]; do
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended early: $(cat "$WORK_DIR/game.log")"
    WINDOW=$(xdotool search --onlyvisible --name '^Kestoria$' 2>/dev/null | head -n 1)
    tries=$((tries + 1))
    [ $tries -lt 100 ] || fail "no window titled Kestoria"
    [ -n "$WINDOW" ] || sleep 0.1
done
# Let a few frames be presented; the first Present may give the window a
# new X window for its renderer, so look for it again.
sleep 1
WINDOW=$(xdotool search --onlyvisible --name '^Kestoria$' 2>/dev/null | head -n 1)
[ -n "$WINDOW" ] || fail "the window went away"

INFO=$(xwininfo -id "$WINDOW")
value() { echo "$INFO" | sed -n "s/^ *$1: *//p"; }
[ "$(value Width)" = 640 ] || fail "client width $(value Width), not 640"
[ "$(value Height)" = 480 ] || fail "client height $(value Height), not 480"
[ "$(value 'Absolute upper-left X')" = 0 ] || fail "window not at the screen's left edge"
[ "$(value 'Absolute upper-left Y')" = 0 ] || fail "window not at the screen's top edge"
[ "$(value 'Map State')" = IsViewable ] || fail "window not shown"

# The frames clear to blue and there is nothing to draw over it.
for point in 0+0 320+240 639+479; do
    PIXEL=$(import -window root -depth 8 -crop "1x1+$point" txt:- 2>/dev/null | tail -n 1)
    case "$PIXEL" in
        *"#0000FF"*) ;;
        *) fail "pixel $point is not blue: $PIXEL" ;;
    esac
done

# The cursor goes blank once the pointer moves over the window.
xdotool mousemove 100 100
sleep 0.1
xdotool mousemove 320 240
sleep 0.3
"$PROBE" cursor-hidden || fail "the cursor shows over the window"

# A close request from the window system ends the game cleanly.
"$PROBE" close "$WINDOW" || fail "cannot send the close request"
tries=0
while kill -0 "$GAME_PID" 2>/dev/null; do
    tries=$((tries + 1))
    [ $tries -lt 100 ] || fail "the game did not end after the close request"
    sleep 0.1
done
wait "$GAME_PID"
CODE=$?
GAME_PID=
[ "$CODE" = 0 ] || fail "exit code $CODE: $(cat "$WORK_DIR/game.log")"
echo "desktop test passed"
