#!/bin/sh
# The figures the game is held to, measured on this machine from a built
# tree (default build/, with bench/ and the data tree):
#  - one UpdateFrame in each scene at its busiest (medians of 5 runs);
#    target: the worst under 1.5 ms;
#  - start-up to the first presented title frame (median of 5); < 300 ms;
#  - frame pacing over 600 frames of the real main loop; p99 within 1 ms
#    of 16 ms;
# The real program walking through the field (its CPU, the X server's and
# its peak memory, full screen under a window manager), and start-up against
# a baseline build: bench/figures.sh.
# Usage: bench/measure.sh [BUILD_DIR]
set -u
BUILD_DIR=$(cd "${1:-$(dirname "$0")/../build}" && pwd)

. "$(dirname "$0")/common.sh"

cd "$BUILD_DIR" || fail "no build directory"
[ -x bench/scene_frame_bench ] && [ -x bench/main_loop_timing ] && [ -x kestoria ] || fail "build the tree first"
export LANG=C.UTF-8 SDL_AUDIODRIVER=dummy

echo "== one UpdateFrame, headless (median of 5)"
SDL_VIDEODRIVER=dummy bench/scene_frame_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_min_time=0.5 2>/dev/null | grep median

start_display 640x480

echo "== start-up to the first presented title frame, under Xvfb (median of 5)"
for i in 1 2 3 4 5; do
    start=$(date +%s%N)
    bench/main_loop_timing startup "$start" | sed -n 's/.*: \([0-9.]*\) ms/\1/p'
done | median | sed 's/$/ ms/'

echo "== frame pacing, under Xvfb"
bench/main_loop_timing pacing 600
