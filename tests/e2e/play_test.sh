#!/bin/sh
# A player's session with the real game on a virtual 640 x 480 X display,
# in the build directory where its data tree is:
#  - the title's rain moves; Enter brings the logo and the menu to rest,
#    and the screen then agrees pixel for pixel with the game's own frame
#    wherever the rain cannot show;
#  - Enter on start leads to the field with the player standing at the
#    start, pixel for pixel the game's own frame;
#  - Right moves the view (Left too, unless an enemy knocks the player
#    back); Esc asks the question, No goes on and
#    Yes returns to the title;
#  - the quit choice ends the program after its fade, with exit code 0;
#  - closing the window ends it with exit code 0.
# Usage: play_test.sh KESTORIA FRAME_REFERENCE X11_PROBE BUILD_DIR
set -u
GAME_BIN=$1
REFERENCE=$2
PROBE=$3
BUILD_DIR=$4
QUESTION_CAPTION='タイトルに戻る'
# The question box's buttons, from its top-left corner.
YES_BUTTON_X=110
NO_BUTTON_X=218
BUTTON_Y=70

. "$(dirname "$0")/session.sh"

export LANG=C.UTF-8
# The pictures the game's own frames must match, made headless first.
reference title
reference field

# Waits for the game to end; sets CODE.
wait_for_end() {
    tries=0
    while kill -0 "$GAME_PID" 2>/dev/null; do
        tries=$((tries + 1))
        [ $tries -lt "$1" ] || fail "$2"
        sleep 0.1
    done
    wait "$GAME_PID"
    CODE=$?
    GAME_PID=
}

# A key held across several frames.
press() {
    xdotool keydown "$1"
    sleep "${2:-0.08}"
    xdotool keyup "$1"
}

# SHIFT: how far the view moved right between two screenshots, from the
# rows below the life bar.
view_shift() {
    SHIFT=$("$REFERENCE" shift "$WORK_DIR/$1.ppm" "$WORK_DIR/$2.ppm" 60 480) || fail "no view shift from $1 to $2"
    SHIFT=${SHIFT%% *}
}

# The question box: the caption's window and its top-left corner.
find_question() {
    BOX=
    tries=0
    while [ -z "$BOX" ]; do
        LINE=$(xwininfo -root -tree | grep "\"$QUESTION_CAPTION\"" | head -n 1)
        BOX=$(echo "$LINE" | awk '{print $1}')
        tries=$((tries + 1))
        [ -n "$BOX" ] || [ $tries -lt 50 ] || fail "no question box after Esc"
        [ -n "$BOX" ] || sleep 0.1
    done
    BOX_X=$(echo "$LINE" | sed -n 's/.* [0-9]*x[0-9]*+\([0-9-]*\)+\([0-9-]*\) .*/\1/p')
    BOX_Y=$(echo "$LINE" | sed -n 's/.* [0-9]*x[0-9]*+\([0-9-]*\)+\([0-9-]*\) .*/\2/p')
    [ -n "$BOX_X" ] && [ -n "$BOX_Y" ] || fail "cannot place the question box: $LINE"
}

question_gone() {
    tries=0
    while xwininfo -root -tree | grep -q "\"$QUESTION_CAPTION\""; do
        tries=$((tries + 1))
        [ $tries -lt 30 ] || fail "the question box stayed after $1"
        sleep 0.1
    done
    # The keyboard back to the game, whose window may be a new one since
    # its first frame was shown.
    WINDOW=$(xdotool search --onlyvisible --name '^Kestoria$' 2>/dev/null | head -n 1)
    [ -n "$WINDOW" ] || fail "the game's window went away after $1"
    xdotool windowfocus "$WINDOW" 2>/dev/null
    xdotool mousemove 320 240
}

start_game_with_data

# The title: rain that moves while the title fades in.
sleep 0.2
shot rain1
RAIN_AE=0
for i in 2 3 4 5; do
    sleep 0.1
    shot rain$i
    RAIN_AE=$(compare -metric AE "$WORK_DIR/rain1.ppm" "$WORK_DIR/rain$i.ppm" null: 2>&1)
    [ "$RAIN_AE" -gt 1000 ] 2>/dev/null && break
done
[ "$RAIN_AE" -gt 1000 ] 2>/dev/null || fail "the rain does not move ($RAIN_AE pixels changed)"
differing rain1 title
[ "$AE" != 0 ] || fail "the title was at rest before Enter"

# Enter: the logo and the menu at rest.
press Return
sleep 0.2
matches title title 20 0.3

# Start: the field once the title has faded out (84 frames), the player
# landed and standing, as the game's own frames show it from 12 to 48
# frames into the field.
press Return
sleep 1.45
matches field field 8 0.05

# Keys ($1) held with two screenshots on the way ($2_1, $2_2), $5 seconds
# apart; MOVED is the first shift of the view from screenshot $3 that has
# the sign $4 (+ right, - left), empty if none. Short, so that the player
# does not walk into the next enemies.
hold_and_watch() {
    xdotool keydown $1
    for i in 1 2; do
        sleep "$5"
        shot "$2_$i"
    done
    xdotool keyup $1
    MOVED=
    for i in 1 2; do
        view_shift "$3" "$2_$i"
        case "$4$SHIFT" in
            +0 | -0 | +-* | -[1-9]*) ;;
            *) MOVED=$SHIFT; return ;;
        esac
    done
}

# The arrows move the view. The slime that waits near the start goes down
# to a few strikes (X) first.
for i in 1 2 3 4 5 6 7 8; do
    press x
    sleep 0.1
done
hold_and_watch Right right field + 0.25
[ -n "$MOVED" ] || fail "Right did not move the view right"
sleep 0.2
shot before_left
hold_and_watch Left left before_left - 0.08
# The enemies gather round the player by now, and a knock-back may carry
# the view the other way: Left is reported, not required.
if [ -n "$MOVED" ]; then
    echo "Left moved the view by $MOVED"
else
    echo "note: Left did not move the view (an enemy in the way)"
fi

# Esc, then No: the field goes on (the next question below can only come
# from the field).
press Escape
find_question
xdotool mousemove $((BOX_X + NO_BUTTON_X)) $((BOX_Y + BUTTON_Y)) click 1
question_gone "No"
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended after No"
sleep 0.3
shot after_no
differing after_no title
[ "$AE" -gt 100000 ] 2>/dev/null || fail "No returned to the title ($AE pixels differ from it)"

# Esc, then Enter on the box: Yes, and the title comes back to rest
# (51 frames of fade and 80 of slide).
press Escape
find_question
xdotool mousemove $((BOX_X + YES_BUTTON_X)) $((BOX_Y + BUTTON_Y))
xdotool windowfocus "$BOX"
xdotool key Return
question_gone "Yes"
sleep 2.2
matches title_again title 20 0.3

# The quit choice: the farewell fades in over 84 frames, then the end.
press Down
sleep 0.1
press Return
sleep 0.5
kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended before the quit choice's fade"
wait_for_end 150 "the game did not end after the quit choice"
[ "$CODE" = 0 ] || fail "exit code $CODE after the quit choice"

# Closing the window ends the game with exit code 0.
start_game_with_data
sleep 0.5
WINDOW=$(xdotool search --onlyvisible --name '^Kestoria$' 2>/dev/null | head -n 1)
"$PROBE" close "$WINDOW" || fail "cannot send the close request"
wait_for_end 150 "the game did not end after the close request"
[ "$CODE" = 0 ] || fail "exit code $CODE after closing the window"
echo "play test passed"
