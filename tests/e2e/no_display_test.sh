#!/bin/sh
# Started where there is no display, and with no video driver asked for,
# the game does not play on unseen: within a few seconds it says there is
# no display and ends with exit code 1.
# Usage: no_display_test.sh KESTORIA
set -u
LOG=$(mktemp)
trap 'rm -f "$LOG"' EXIT
START=$(date +%s)
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy timeout 10 "$1" >/dev/null 2>"$LOG"
CODE=$?
SECONDS_TAKEN=$(($(date +%s) - START))
fail() {
    echo "FAIL: $*; the game said: $(cat "$LOG")" >&2
    exit 1
}
[ "$CODE" = 1 ] || fail "exit code $CODE without a display, not 1"
[ "$SECONDS_TAKEN" -le 3 ] || fail "it took $SECONDS_TAKEN s to give up"
[ "$(grep -c 'no display to show the game on' "$LOG")" = 1 ] || fail "no one line about the missing display"
echo "no display test passed"
