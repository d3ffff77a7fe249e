#!/bin/sh
# The game on a virtual 640 x 480 X display, started where there is no data
# tree: it opens a full-screen window titled "Kestoria", draws blue frames,
# hides the cursor over its window and ends with exit code 0 when the
# window is closed; the keyboard drives the title's menu and the
# return-to-title question.
# Usage: desktop_test.sh KESTORIA X11_PROBE
set -u
GAME_BIN=$1
PROBE=$2

fail() {
    echo "FAIL: $*" >&2
    echo "windows on the display:" >&2
    xwininfo -root -tree 2>&1 | sed -n 's/^ *\(0x[0-9a-f]* "\)/  \1/p' >&2
    [ -s "$WORK_DIR/game.log" ] && tail -n 5 "$WORK_DIR/game.log" >&2
    exit 1
}

. "$(dirname "$0")/session.sh"

# Starts the game where there is no data tree (it runs on without pictures
# or sounds) and waits for its window: GAME_PID, WINDOW.
start_game() {
    rm -rf "$WORK_DIR/game"
    mkdir "$WORK_DIR/game"
    (cd "$WORK_DIR/game" && LANG=C.UTF-8 SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=x11 exec "$GAME_BIN") \
        >"$WORK_DIR/game.log" 2>&1 &
    GAME_PID=$!
    WINDOW=
    tries=0
    while [ -z "$WINDOW" ]; do
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended early: $(cat "$WORK_DIR/game.log")"
        WINDOW=$(xdotool search --onlyvisible --name '^Kestoria$' 2>/dev/null | head -n 1)
        tries=$((tries + 1))
        [ $tries -lt 300 ] || fail "no window titled Kestoria ($1)"
        [ -n "$WINDOW" ] || sleep 0.1
    done
    # Let a few frames be presented; the first Present may give the window
    # a new X window for its renderer, so look for it again.
    sleep 1
    WINDOW=$(xdotool search --onlyvisible --name '^Kestoria$' 2>/dev/null | head -n 1)
    [ -n "$WINDOW" ] || fail "the window went away"
}

# Waits for the game to end and checks its exit code.
expect_exit() {
    tries=0
    while kill -0 "$GAME_PID" 2>/dev/null; do
        tries=$((tries + 1))
        [ $tries -lt 200 ] || fail "the game did not end ($2)"
        sleep 0.1
    done
    wait "$GAME_PID"
    CODE=$?
    GAME_PID=
    [ "$CODE" = "$1" ] || fail "exit code $CODE, not $1 ($2): $(cat "$WORK_DIR/game.log")"
}

# The return-to-title question's box, when it is shown (its title is UTF-8,
# which xdotool cannot match).
question_box() {
    xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) "タイトルに戻る".*/\1/p' | head -n 1
}

# A key held across several frames, as a person presses it.
press() {
    xdotool keydown "$@"
    sleep 0.1
    xdotool keyup "$@"
    sleep 0.1
}

start_game first
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
expect_exit 0 "closed"

# The title's quit choice: Enter shows the menu at once and Down moves to
# quit; then Enter chooses it. The title fades out and the program ends
# normally, with exit code 0.
start_game second
xdotool mousemove 320 240
press Return Down
press Return
expect_exit 0 "quit from the title"

# Start a game with Esc already held: the first field frame asks whether to
# return to the title. Yes leads back to the title, whose quit choice then
# ends the game as before.
start_game third
xdotool mousemove 320 240
press Return
press Return
xdotool keydown Escape
BOX=
tries=0
while [ -z "$BOX" ]; do
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before the question"
    BOX=$(question_box)
    tries=$((tries + 1))
    [ $tries -lt 200 ] || fail "no return-to-title question"
    [ -n "$BOX" ] || sleep 0.1
done
sleep 0.3
xdotool keyup Escape
# No window manager here: give the box the keyboard as one would. Esc does
# not answer it; Enter answers Yes, and the game takes the keyboard back.
xdotool windowfocus "$BOX"
press Escape
sleep 0.2
[ -n "$(question_box)" ] || fail "Esc answered the question"
press Return
sleep 0.3
[ -z "$(question_box)" ] || fail "Enter did not answer the question"
press Return Down
press Return
expect_exit 0 "quit after returning to the title"

# ---- A termination signal ends the game as a close does ----
# At once and with exit code 0, with no box up.
start_game fourth
kill -HUP "$GAME_PID"
game_gone() { ! kill -0 "$GAME_PID" 2>/dev/null; }
within 1 "the game did not end at once on a hang-up signal" game_gone
expect_exit 0 "a hang-up signal"
# With no font at all the question still comes up, standard error says
# once what it shows, and a termination signal with it up ends the game.
printf '<?xml version="1.0"?>\n<fontconfig></fontconfig>\n' >"$WORK_DIR/no_fonts.conf"
export FONTCONFIG_FILE="$WORK_DIR/no_fonts.conf"
start_game fifth
unset FONTCONFIG_FILE
xdotool mousemove 320 240
press Return
press Return
xdotool keydown Escape
question_shown() { [ -n "$(question_box)" ]; }
within 10 "no question with no font" question_shown
xdotool keyup Escape
LINES=$(grep -c "^message box" "$WORK_DIR/game.log")
[ "$LINES" = 1 ] || fail "$LINES lines on the box with no font, not 1"
grep -q "^message box .*no font at all.*shows its buttons" "$WORK_DIR/game.log" || fail "no line on what the box shows"
kill -TERM "$GAME_PID"
within 1 "the game did not end at once on a termination signal with the box up" game_gone
expect_exit 0 "a termination signal with the box up"
# ---- end of the termination signal ----

# With no display to open a window on, the game cannot start: exit code 1.
(cd "$WORK_DIR/game" && env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER=x11 "$GAME_BIN") \
    >"$WORK_DIR/game.log" 2>&1
CODE=$?
[ "$CODE" = 1 ] || fail "exit code $CODE without a display, not 1"
echo "desktop test passed"
