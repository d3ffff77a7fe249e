#!/bin/sh
# The game as a player meets it on a 1920 x 1080 desktop with a window
# manager (openbox), in the build directory where its data tree is, with
# the keyboard's auto-repeat off, so that a held key is known only from the
# keyboard's state:
#  - full screen, its 640 x 480 picture scaled up and letterboxed;
#  - minimised, it uses next to no processor time; restored, its frames
#    show again;
#  - Esc held into the field asks the question; No with Esc still held
#    asks again at once; Yes brings back the title, and the window stays
#    shown, full screen, with the keyboard; Esc let go on the title is up
#    when the next game begins;
#  - the box's keys: Esc leaves it up, and so does an Esc or Enter held
#    from the field; N, and Tab then Enter, answer No and the field goes
#    on; Y answers Yes and the title comes back;
#  - Esc, then No: the window stays shown and the field goes on;
#  - the quit choice and closing the window both end it with exit code 0;
#  - with no sound device the reason is told and the failure's box closes
#    with Esc; a broken sound file is named with its reason;
#  - on a us,de keyboard the letter keys mean what the active layout shows
#    on them, in the box and in the field, after every switch;
#  - a new window manager while the field runs (openbox --replace, or one
#    started after the last ended): the game is full screen again, with the
#    keyboard, and Esc still asks; so it is when OpenGL draws it, and a
#    box up meanwhile keeps the keyboard.
# Usage: window_manager_test.sh KESTORIA FRAME_REFERENCE X11_PROBE BUILD_DIR
set -u
GAME_BIN=$1
REFERENCE=$2
PROBE=$3
BUILD_DIR=$4
QUESTION_CAPTION='タイトルに戻る'
SOUND_FAILURE_CAPTION='ウィンドウ'
BROKEN_SOUND='Sound/syaki-n.wav'
# The question box's No button, from the corner of the box's client area.
NO_BUTTON_X=218
NO_BUTTON_Y=70
IDLE_SECONDS=3
MAX_IDLE_PERCENT=3

SCREEN=1920x1080
. "$(dirname "$0")/session.sh"
start_window_manager
xset r off
# Two layouts, us first, as a layout switcher sets them. The server takes a
# new keymap only once a client (here the window manager) is connected.
setxkbmap -layout us,de || fail "cannot set the keyboard to us,de"
export LANG=C.UTF-8
reference title

# Waits for the game to end and checks that it ended well.
expect_exit_zero() {
    within 10 "the game did not end ($1)" game_ended
    wait "$GAME_PID"
    CODE=$?
    GAME_PID=
    [ "$CODE" = 0 ] || fail "exit code $CODE ($1)"
}
game_ended() { ! kill -0 "$GAME_PID" 2>/dev/null; }

# A key held across several frames.
press() {
    xdotool keydown "$1"
    sleep 0.1
    xdotool keyup "$1"
}

# The window as a player wants it: not minimised, full screen, and with
# the keyboard.
window_shown() {
    STATE=$(xprop -id "$WINDOW" WM_STATE _NET_WM_STATE 2>/dev/null)
    case "$STATE" in *Iconic* | *_NET_WM_STATE_HIDDEN*) return 1 ;; esac
    case "$STATE" in *"window state: Normal"*_NET_WM_STATE_FULLSCREEN*) ;; *) return 1 ;; esac
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$WINDOW" ]
}
minimised() { xprop -id "$WINDOW" WM_STATE 2>/dev/null | grep -q Iconic; }

# The question box, when one is shown: BOX_FRAME, the window manager's
# frame around it (new for every box, where the box's own id may come
# again), and BOX_X, BOX_Y, the corner of its client area on the screen.
question_box() { box_titled "$QUESTION_CAPTION"; }
box_titled() {
    LINE=$(xwininfo -root -tree | grep "\"$1\"" | head -n 1)
    [ -n "$LINE" ] || return 1
    BOX=$(echo "$LINE" | awk '{print $1}')
    BOX_FRAME=$(xwininfo -id "$BOX" -tree 2>/dev/null | sed -n 's/.*Parent window id: \(0x[0-9a-f]*\).*/\1/p')
    BOX_X=$(echo "$LINE" | sed -n 's/.* +\([0-9-]*\)+\([0-9-]*\) *$/\1/p')
    BOX_Y=$(echo "$LINE" | sed -n 's/.* +\([0-9-]*\)+\([0-9-]*\) *$/\2/p')
    [ -n "$BOX_FRAME" ] && [ -n "$BOX_X" ] && [ -n "$BOX_Y" ]
}
# A box other than the one answered last, while the game stays shown.
new_question() {
    minimised && fail "the game was minimised by the question box"
    question_box && [ "$BOX_FRAME" != "$ANSWERED" ]
}
no_question() { ! question_box; }
no_sound_failure_box() { ! box_titled "$SOUND_FAILURE_CAPTION"; }
answer_no() {
    ANSWERED=$BOX_FRAME
    xdotool mousemove $((BOX_X + NO_BUTTON_X)) $((BOX_Y + NO_BUTTON_Y)) click 1
}
# The box has the keyboard: the key $1 answers it.
answer_with() {
    ANSWERED=$BOX_FRAME
    press "$1"
}
# The box stays up a while, though keys came.
still_asked() {
    sleep 0.3
    question_box && [ "$BOX_FRAME" != "$ANSWERED" ] || fail "$1 answered the question"
}
# No answered: the field goes on, the window as it was, with the keyboard.
field_goes_on() {
    within 3 "$1 left the question up" no_question
    within 3 "after $1 the window is not shown full screen with the keyboard" window_shown
    within 3 "after $1 the field did not go on" field_shown
}

# The field's bright sky, where the title and its fade are dark; a question
# before it would mean that Esc, let go on the title, still counts as held.
field_shown() {
    question_box && fail "Esc let go on the title still counted as held in the field"
    shot field_now
    [ "$(convert "$WORK_DIR/field_now.ppm" -crop 640x200+0+60 -format '%[fx:mean>0.5]' info:)" = 1 ]
}

cpu_ticks() { awk '{print $14 + $15}' "/proc/$GAME_PID/stat"; }

start_game_with_data

# Full screen: once Enter has brought the title to rest, the game's own
# frame fills the screen's height, between black bars.
press Return
matches title title 20 0.3
INFO=$(xwininfo -id "$WINDOW")
value() { echo "$INFO" | sed -n "s/^ *$1: *//p"; }
[ "$(value Width)x$(value Height)" = "$SCREEN" ] || fail "window $(value Width)x$(value Height), not $SCREEN"
[ "$(value 'Absolute upper-left X')+$(value 'Absolute upper-left Y')" = 0+0 ] ||
    fail "window not at the screen's corner"
within 3 "the window is not shown full screen with the keyboard" window_shown
for bar in "0+0" "$((PICTURE_X + PICTURE_W))+0"; do
    MAX=$(convert "$WORK_DIR/title_screen.ppm" -crop "${PICTURE_X}x${SCREEN_H}+$bar" -format '%[max]' info:)
    [ "$MAX" = 0 ] || fail "the bar at $bar is not black"
done

# Minimised, the game waits for messages instead of spinning; restored,
# its frames show again.
xdotool windowminimize "$WINDOW"
within 5 "the window was not minimised" minimised
BEFORE=$(cpu_ticks)
sleep "$IDLE_SECONDS"
AFTER=$(cpu_ticks)
IDLE=$(awk -v t=$((AFTER - BEFORE)) -v hz="$(getconf CLK_TCK)" -v s="$IDLE_SECONDS" \
    'BEGIN { printf "%.1f", 100 * t / hz / s }')
awk -v p="$IDLE" -v max="$MAX_IDLE_PERCENT" 'BEGIN { exit !(p < max) }' ||
    fail "minimised, the game used $IDLE% of a core"
RESTORED_MS=$("$PROBE" restore "$WINDOW") || fail "no frame shown after the restore"
echo "minimised: $IDLE% of a core; first frame $RESTORED_MS ms after the restore"
within 3 "the restored window is not shown full screen with the keyboard" window_shown
matches restored title 20 0.3

# Start with Esc held: the first field frame asks the question. No, with
# Esc still held, and the next frame asks again.
ANSWERED=
press Return
xdotool keydown Escape
within 5 "no question when the field began with Esc held" new_question
still_asked "Esc held from the field"
answer_no
within 3 "Esc held through No did not ask again" new_question
# Enter (Yes has the focus), Esc still held: the title comes back in a
# window left as it was.
answer_with Return
within 3 "Yes left the question up" no_question
within 3 "after Yes the window is not shown full screen with the keyboard" window_shown
xdotool keyup Escape
press Return
matches title_again title 20 0.3

# Esc was let go on the title, so the new game goes on without a question.
press Return
within 5 "the field did not begin" field_shown
sleep 0.5
field_shown || fail "the field did not go on"

# The box's keys: Esc answers nothing; N, and Tab then Enter, answer No.
press Escape
within 3 "no question after Esc" new_question
press Escape
still_asked "Esc"
answer_with n
field_goes_on N
press Escape
within 3 "no question after Esc" new_question
press Tab
answer_with Return
field_goes_on "Tab and Enter"

# Enter held from the field answers nothing when it is let go in the box.
xdotool keydown Return
press Escape
within 3 "no question after Esc with Enter held" new_question
xdotool keyup Return
still_asked "Enter held from the field"

# Then No by the mouse: the window stays as it was and the field goes on,
# with the keyboard: Esc asks again.
within 3 "no question after Esc" new_question
answer_no
field_goes_on "No"
press Escape
within 3 "Esc after No did not ask again" new_question

# ---- Letter keys by the layout active at the moment --------------------
# The keys at the US y and z places, which de labels Z and Y. They are
# pressed by the probe, which leaves the active layout as it is.
US_Y_KEY=$(xmodmap -pke | awk '$4 == "y" { print $2; exit }')
US_Z_KEY=$(xmodmap -pke | awk '$4 == "z" { print $2; exit }')
[ -n "$US_Y_KEY" ] && [ -n "$US_Z_KEY" ] || fail "no keys for y and z in the keymap"
layout() { "$PROBE" layout "$1" || fail "cannot switch the layout to $1"; }
key() { "$PROBE" key "$1" || fail "cannot press the key $1"; }
# The field's vertical move from screenshot $1 to $2, as the view follows
# the player up.
rise() {
    RISE=$("$REFERENCE" shift "$WORK_DIR/$1.ppm" "$WORK_DIR/$2.ppm" 60 480) || fail "no view shift from $1 to $2"
    RISE=${RISE#* }
}
# Yes answered: the title, at rest after Enter, then a new field.
title_then_field() {
    within 3 "$1 left the question up" no_question
    press Return
    matches "title_after_$2" title 20 0.3
    press Return
    within 5 "the field did not begin after $1" field_shown
}

# The layout switched to de while the box is up: the key labelled Z there
# answers nothing, the one labelled Y answers Yes.
layout 1
key "$US_Y_KEY"
still_asked "Z on de"
ANSWERED=$BOX_FRAME
key "$US_Z_KEY"
title_then_field "Y on de" de

# In the field, with de switched to while the game runs: Y does not jump,
# Z does. The shots first, while a jump lasts; working out the rises takes
# long. A slime starts near the player: when its hit (the life bar drawn
# anew) moved the player, the field is begun again and the keys tried anew.
# The inside of the life bar is as it was when the player stood.
life_bar_kept() {
    [ "$(convert "$WORK_DIR/standing.ppm" "$WORK_DIR/$1.ppm" -crop 293x13+5+15 +repage miff:- | compare -metric AE - null: 2>&1)" = 0 ]
}
try_letters_in_field() {
    sleep 0.3
    shot standing
    key "$US_Z_KEY"
    shot after_y
    key "$US_Y_KEY"
    for i in 1 2 3; do shot "jump_$i"; done
    life_bar_kept jump_3 || return 1
    rise standing after_y
    [ "$RISE" = 0 ] || fail "Y on de jumped (the view rose $RISE)"
    JUMPED=
    for i in 1 2 3; do
        rise after_y "jump_$i"
        [ "$RISE" = 0 ] || JUMPED=$RISE
    done
    [ -n "$JUMPED" ] || fail "Z on de did not jump"
}
TRIES=0
until try_letters_in_field; do
    TRIES=$((TRIES + 1))
    [ $TRIES -lt 3 ] || fail "a slime hit the player in every try of the letter keys in the field"
    sleep 1.5
    press Escape
    within 3 "no question after Esc" new_question
    ANSWERED=$BOX_FRAME
    key "$US_Z_KEY"
    title_then_field "Y on de" "de_$TRIES"
done
sleep 1.5

# ---- A new window manager while the field runs -------------------------
# It knows nothing of the full screen the old one granted: the game asks
# again, keeps the keyboard and is not minimised by the focus moving
# between the managers. Esc still asks.
openbox --replace >"$WORK_DIR/openbox_new.log" 2>&1 &
WM_PID=$!
sleep 0.5
within 5 "after a new window manager the game is not shown full screen with the keyboard" window_shown
INFO=$(xwininfo -id "$WINDOW")
[ "$(value Width)x$(value Height)" = "$SCREEN" ] ||
    fail "after a new window manager the window is $(value Width)x$(value Height), not $SCREEN"
xdotool mousemove 10 10 mousemove "$((SCREEN_W / 2))" "$((SCREEN_H / 2))"
sleep 0.5
minimised && fail "the pointer's moves minimised the game under the new window manager"
# The manager ends, and one starts later on the bare display.
kill "$WM_PID"
wait "$WM_PID"
sleep 1
start_window_manager
within 5 "after a window manager started the game is not shown full screen with the keyboard" window_shown
press Escape
within 3 "no question after Esc under the new window manager" new_question

# Back to us: the two keys swap roles in the box, and Y's Yes brings the
# title back; the next field asks again on Esc.
layout 0
key "$US_Z_KEY"
still_asked "Z on us"
ANSWERED=$BOX_FRAME
key "$US_Y_KEY"
title_then_field "Y on us" us
press Escape
within 3 "no question after Esc" new_question
# ---- end of the layout and window manager cases ------------------------

# Y answers Yes, then the title's quit choice: the game ends well.
answer_with y
within 3 "Y left the question up" no_question
press Return
matches title_for_quit title 20 0.3
press Down
press Return
expect_exit_zero "the quit choice"
grep -q "no font" "$WORK_DIR/game.log" && fail "the question box had no font with its letters"

# ---- The question box among other programs ----
# A modal dialog centred over the game, which cannot be maximised (openbox
# lets every dialog be minimised, with its owner). Destroyed by another
# program it answers No: the field goes on and Esc asks again. The game's
# window activated, clicked, or restored after a minimise while the box is
# up hands the keyboard back to the box: N answers it. A termination signal
# with the box up ends the game at once, as a close does.
start_game_with_data
press Return
matches box_title title 20 0.3
press Return
within 5 "the field did not begin" field_shown
ANSWERED=
press Escape
within 3 "no question after Esc" new_question
HINTS=$(xprop -id "$BOX" _NET_WM_STATE _NET_WM_ALLOWED_ACTIONS)
case "$HINTS" in *_NET_WM_STATE_MODAL*) ;; *) fail "the box is not modal: $HINTS" ;; esac
case "$HINTS" in *MAXIMIZE*) fail "the box can be maximised: $HINTS" ;; esac
BOX_W=$(xwininfo -id "$BOX" | sed -n 's/^ *Width: *//p')
OFF_CENTRE=$((BOX_X + BOX_W / 2 - SCREEN_W / 2))
[ "${OFF_CENTRE#-}" -le 2 ] || fail "the box is $OFF_CENTRE pixels off the game's centre"
ANSWERED=$BOX_FRAME
xdotool windowclose "$BOX"
field_goes_on "the box destroyed by another program"
press Escape
within 3 "Esc after the destroyed box did not ask again" new_question
xdotool windowactivate "$WINDOW"
sleep 0.3
answer_with n
within 1 "N did not answer the box after the game's window was activated" no_question
field_goes_on "N after the game's window was activated"
press Escape
within 3 "no question after Esc" new_question
xdotool mousemove 100 100 click 1
sleep 0.3
answer_with n
within 1 "N did not answer the box after a click on the game's window" no_question
field_goes_on "N after a click on the game's window"
press Escape
within 3 "no question after Esc" new_question
xdotool windowminimize "$BOX"
within 3 "the box was not minimised with the game" minimised
xdotool windowactivate "$WINDOW"
sleep 0.3
answer_with n
within 1 "N did not answer the box after a restore" no_question
field_goes_on "N after a restore"
press Escape
within 3 "no question after Esc" new_question
# A new window manager leaves the keyboard with no window, the pointer
# over the game's: the box takes the keyboard once it is shown again.
openbox --replace >"$WORK_DIR/openbox_box.log" 2>&1 &
WM_PID=$!
ANSWERED=$BOX_FRAME
within 5 "the new window manager did not take the box" new_question
sleep 0.3
answer_with n
within 1 "N did not answer the box after a new window manager" no_question
field_goes_on "N after a new window manager"
press Escape
within 3 "no question after Esc" new_question
kill -TERM "$GAME_PID"
within 1 "the game did not end at once on a termination signal with the box up" game_ended
expect_exit_zero "a termination signal with the box up"
# ---- end of the question box among other programs ----

# Drawn by SDL's OpenGL renderer, which gives the game's window an X window
# of its own: a new window manager finds the game full screen again.
export SDL_RENDER_DRIVER=opengl
start_game_with_data
unset SDL_RENDER_DRIVER
press Return
matches gl_title title 20 0.3
WINDOW=$(xdotool search --onlyvisible --name '^Kestoria$' | head -n 1)
frame() { xwininfo -id "$WINDOW" -tree 2>/dev/null | sed -n 's/.*Parent window id: \(0x[0-9a-f]*\).*/\1/p'; }
OLD_FRAME=$(frame)
new_frame() { FRAME=$(frame) && [ -n "$FRAME" ] && [ "$FRAME" != "$OLD_FRAME" ]; }
openbox --replace >"$WORK_DIR/openbox_gl.log" 2>&1 &
WM_PID=$!
within 5 "drawn with OpenGL, the game's window was not taken by a new window manager" new_frame
within 5 "drawn with OpenGL, after a new window manager the game is not shown full screen with the keyboard" \
    window_shown
"$PROBE" close "$WINDOW" || fail "cannot send the close request"
expect_exit_zero "the window closed after a new window manager, drawn with OpenGL"

# With no sound device the reason is told before its box, which Esc
# closes; the game goes on silently to the title.
AUDIO_DRIVER=no-such-driver start_game_with_data
within 5 "no box for the sound failure" box_titled "$SOUND_FAILURE_CAPTION"
grep -q '^No sound: .*no-such-driver' "$WORK_DIR/game.log" || fail "the sound failure's reason was not told"
ANSWERED=
press Escape
within 3 "Esc did not close the sound failure's box" no_sound_failure_box
press Return
matches silent_title title 20 0.3
"$PROBE" close "$WINDOW" || fail "cannot send the close request"
expect_exit_zero "the window closed without sound"

# A data tree with one sound broken: the title names it with the reason.
mkdir -p "$WORK_DIR/game/Sound"
ln -s "$BUILD_DIR/Texture" "$WORK_DIR/game/Texture"
ln -s "$BUILD_DIR"/Sound/* "$WORK_DIR/game/Sound/"
rm "$WORK_DIR/game/$BROKEN_SOUND"
echo "not a sound" >"$WORK_DIR/game/$BROKEN_SOUND"
sound_named() { grep -q "^sound \"$BROKEN_SOUND\": ." "$WORK_DIR/game.log"; }
GAME_DIR=$WORK_DIR/game start_game_with_data
within 5 "the broken sound was not named" sound_named
"$PROBE" close "$WINDOW" || fail "cannot send the close request"
expect_exit_zero "the window closed"
echo "window manager test passed"
