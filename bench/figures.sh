#!/bin/sh
# What a player pays outside the frame budget, for one built tree or two
# side by side (a baseline first, e.g. main built elsewhere, then this one),
# measured in the same run so that the machine's noise falls on both:
#  1. process start to the first presented title frame, headless (median of 7);
#  2. the same on Xvfb 1920 x 1080 under openbox (median of 7);
#  3. CPU of the game and of Xvfb while walking the field for 10 s, full
#     screen on Xvfb 3840 x 2160 under openbox;
#  4. the same at 1920 x 1080;
#  5. peak resident memory (VmHWM) of the game after that walk, on a bare
#     640 x 480 Xvfb and on the 3840 x 2160 one.
# Usage: bench/figures.sh [BASELINE_BUILD_DIR] BUILD_DIR
set -u
WALK_SECONDS=10
RUNS=7

. "$(dirname "$0")/common.sh"

[ $# -ge 1 ] && [ $# -le 2 ] || fail "usage: $0 [BASELINE_BUILD_DIR] BUILD_DIR"
BUILDS=
for dir in "$@"; do
    dir=$(cd "$dir" && pwd) || fail "no build directory $dir"
    [ -x "$dir/bench/main_loop_timing" ] && [ -x "$dir/kestoria" ] || fail "build $dir first"
    BUILDS="$BUILDS $dir"
done
for tool in Xvfb openbox xdotool; do
    command -v $tool >/dev/null || fail "$tool is missing (apt-get install xvfb openbox xdotool)"
done
export LANG=C.UTF-8 SDL_AUDIODRIVER=dummy

# startup BUILD_DIR: median milliseconds from process start to the first
# presented title frame, on the display or headless as exported.
startup() {
    (cd "$1" && for i in $(seq $RUNS); do
        bench/main_loop_timing startup "$(date +%s%N)" | sed -n 's/.*: \([0-9.]*\) ms/\1/p'
    done) | median
}

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
percent() { awk -v t="$1" -v hz="$(getconf CLK_TCK)" -v s="$WALK_SECONDS" 'BEGIN {printf "%.1f", 100 * t / hz / s}'; }

# walk BUILD_DIR: the real program past the title and walking right through
# the field, striking now and then; prints "game% xvfb% peakMB".
walk() {
    (cd "$1" && exec ./kestoria >/dev/null 2>&1) &
    GAME_PID=$!
    window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Kestoria$' 2>/dev/null | head -n 1)
    [ -n "$window" ] || fail "no window titled Kestoria"
    xdotool mousemove 320 240
    for key in Return Return; do
        xdotool keydown $key
        sleep 0.08
        xdotool keyup $key
        sleep 0.3
    done
    sleep 1.6
    game0=$(ticks "$GAME_PID")
    xvfb0=$(ticks "$XVFB_PID")
    xdotool keydown Right
    end=$(($(date +%s) + WALK_SECONDS))
    while [ "$(date +%s)" -lt "$end" ]; do
        xdotool keydown z
        sleep 0.3
        xdotool keyup z
        sleep 0.7
    done
    xdotool keyup Right
    game1=$(ticks "$GAME_PID")
    xvfb1=$(ticks "$XVFB_PID")
    peak=$(awk '/VmHWM/ {printf "%.1f", $2 / 1024}' "/proc/$GAME_PID/status")
    kill "$GAME_PID" 2>/dev/null
    wait "$GAME_PID" 2>/dev/null
    GAME_PID=
    echo "$(percent $((game1 - game0))) $(percent $((xvfb1 - xvfb0))) $peak"
}

# row LABEL TARGET VALUE...: one line of the table.
row() {
    label=$1 target=$2
    shift 2
    printf '%-58s' "$label"
    for value in "$@"; do printf ' | %14s' "$value"; done
    printf ' | %s\n' "$target"
}

printf '%-58s' "figure"
for dir in $BUILDS; do printf ' | %14s' "$(basename "$(dirname "$dir")")/$(basename "$dir")"; done
printf ' | target\n'

values=
for dir in $BUILDS; do values="$values $(SDL_VIDEODRIVER=dummy startup "$dir")"; done
# shellcheck disable=SC2086
row "start-up to the first title frame, headless (ms)" "<= 120" $values

start_display 1920x1080 wm
values=
for dir in $BUILDS; do values="$values $(startup "$dir")"; done
# shellcheck disable=SC2086
row "start-up, Xvfb 1920x1080 + openbox (ms)" "<= 200" $values
walks_hd=
for dir in $BUILDS; do walks_hd="$walks_hd $(walk "$dir" | tr ' ' ,)"; done
stop_display

start_display 3840x2160 wm
walks_4k=
for dir in $BUILDS; do walks_4k="$walks_4k $(walk "$dir" | tr ' ' ,)"; done
stop_display

start_display 640x480
walks_vga=
for dir in $BUILDS; do walks_vga="$walks_vga $(walk "$dir" | tr ' ' ,)"; done
stop_display

field() { for w in $1; do echo "$w" | cut -d, -f"$2"; done; }
# shellcheck disable=SC2046
row "game CPU walking, Xvfb 3840x2160 + openbox (% of a core)" "<= 20" $(field "$walks_4k" 1)
# shellcheck disable=SC2046
row "  Xvfb beside it (%)" "<= 15" $(field "$walks_4k" 2)
# shellcheck disable=SC2046
row "game CPU walking, Xvfb 1920x1080 + openbox (%)" "<= 10" $(field "$walks_hd" 1)
# shellcheck disable=SC2046
row "  Xvfb beside it (%)" "" $(field "$walks_hd" 2)
# shellcheck disable=SC2046
row "peak memory (VmHWM) playing, 640x480 (MB)" "<= 100" $(field "$walks_vga" 3)
# shellcheck disable=SC2046
row "peak memory (VmHWM) playing, 3840x2160 (MB)" "<= 135" $(field "$walks_4k" 3)
