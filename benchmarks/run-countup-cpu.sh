#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CPU benchmark, run by hand: how much of one core the game burns while it counts up a
# time bonus. It deals, takes the score at once (60 seconds left), and reads the process's
# CPU time over the ~11 s that follow: 60 steps of 0.15 s, a 1 s pause, "Round: 2" for 1 s.
# The count-up is all pauses, so it should cost next to nothing. Exits 0 under the limit.
#
#   bash benchmarks/run-countup-cpu.sh
#
# BENCH_BUILD_DIR picks the build tree (default /tmp/marigold-bench-build);
# COUNTUP_SHOT where the screenshot taken ~3 s into the count-up goes (default /tmp/countup.png).
set -euo pipefail

# shellcheck source=benchmarks/xserver.sh
source "$(dirname "${BASH_SOURCE[0]}")/xserver.sh"
shot=${COUNTUP_SHOT:-/tmp/countup.png}
limit_percent=2
window_seconds=11
shot_after_seconds=3

need_tools run-countup-cpu Xvfb xdotool xwininfo import convert cmake
configure_build
cmake --build "$build_dir" -j2 --target marigold >/dev/null

# Sleeps in the background so that a stop request is acted on at once.
nap() {
    sleep "$1" &
    wait $!
}

die() {
    echo "run-countup-cpu: $*" >&2
    exit 2
}

start_xserver run-countup-cpu
start_game run-countup-cpu

info=$(xwininfo -id "$window")
left=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
top=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
width=$(awk '/^ *Width:/ {print $2}' <<<"$info")
height=$(awk '/^ *Height:/ {print $2}' <<<"$info")
[[ $width == 572 && $height == 461 ]] || die "table is ${width}x${height}, expected 572x461"
echo "table window $window at $left,$top, ${width}x${height}"
nap 0.5 # let the first paint land before the pointer goes in

click_centre() { # client left, top, width, height
    xdotool mousemove --sync $((left + $1 + $3 / 2)) $((top + $2 + $4 / 2)) click 1
}

# The clock ticks once a second, so Take Score clicked well inside the first second
# leaves the full 60 seconds to count up.
click_centre 128 288 73 33  # Deal
nap 0.2
click_centre 416 304 105 49 # Take Score

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { # utime + stime of the whole process, all threads
    awk '{sub(/^.*\) /, ""); print $12 + $13}' "/proc/$game_pid/stat"
}
cpu_ns() { # the same from the scheduler, to the nanosecond, summed over threads
    cat /proc/"$game_pid"/task/*/schedstat | awk '{sum += $1} END {printf "%.0f", sum}'
}

start_ticks=$(cpu_ticks)
start_ns=$(cpu_ns)
start_wall=$EPOCHREALTIME

nap "$shot_after_seconds"
import -window root "$shot"

end_at=$(awk -v s="$start_wall" -v w="$window_seconds" 'BEGIN {printf "%.6f", s + w}')
remaining=$(awk -v e="$end_at" -v n="$EPOCHREALTIME" 'BEGIN {r = e - n; printf "%.3f", (r > 0 ? r : 0)}')
nap "$remaining"

kill -0 "$game_pid" 2>/dev/null || die "the game ended during the count-up"
end_ticks=$(cpu_ticks)
end_ns=$(cpu_ns)
end_wall=$EPOCHREALTIME

# The time-bonus figure is magenta on the blue table; with no count-up on screen the
# screenshot holds none, and the figure below would measure an idle game instead.
magenta=$(convert "$shot" -crop "81x41+$((left + 248))+$((top + 152))" +repage \
    -fill black +opaque 'rgb(255,0,255)' -fill white -opaque 'rgb(255,0,255)' \
    -format '%[fx:round(mean*w*h)]' info:)
(( magenta > 0 )) || die "no time bonus on screen at ${shot_after_seconds} s (see $shot)"

awk -v t0="$start_ticks" -v t1="$end_ticks" -v hz="$ticks_per_second" \
    -v n0="$start_ns" -v n1="$end_ns" -v w0="$start_wall" -v w1="$end_wall" \
    -v limit="$limit_percent" -v shot="$shot" '
BEGIN {
    wall = w1 - w0
    cpu = (t1 - t0) / hz
    percent = 100 * cpu / wall
    printf "Time-bonus count-up, CPU of the game process\n"
    printf "%-24s %10.2f s\n", "wall time", wall
    printf "%-24s %10.2f s  (%d ticks of 1/%d s)\n", "CPU time (utime+stime)", cpu, t1 - t0, hz
    printf "%-24s %10.2f %% of one core\n", "CPU / wall", percent
    printf "%-24s %10.3f %% of one core (scheduler, ns)\n", "cross-check", 100 * (n1 - n0) / 1e9 / wall
    printf "screenshot at 3 s:       %s\n", shot
    printf "%s (limit %s %% of one core)\n", (percent < limit ? "PASS" : "FAIL"), limit
    exit (percent < limit ? 0 : 1)
}'
