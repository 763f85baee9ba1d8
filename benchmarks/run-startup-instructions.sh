#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up counted in instructions, run by hand: valgrind's callgrind counts what each
# program executes from exec until its window is on screen, painted and idle, for the game
# and for two yardsticks of the same size (a bare Qt window, and one with a single label).
# Instruction counts do not depend on the machine's load, so repeat runs agree closely.
#
#   bash benchmarks/run-startup-instructions.sh [--runs N] [--compare OTHER_MARIGOLD]
#
# --compare also counts another build of the game (say, of an earlier commit) in the same
# run, taking turns with this one, and prints the change. BENCH_BUILD_DIR picks the build
# tree (default /tmp/marigold-bench-build).
set -euo pipefail

# shellcheck source=benchmarks/xserver.sh
source "$(dirname "${BASH_SOURCE[0]}")/xserver.sh"

runs=3
other=
while (($#)); do
    case $1 in
        --runs) runs=$2; shift 2 ;;
        --compare) other=$(realpath "$2"); shift 2 ;;
        *) echo "usage: $0 [--runs N] [--compare OTHER_MARIGOLD]" >&2; exit 2 ;;
    esac
done

need_tools run-startup-instructions Xvfb xdotool valgrind cmake
configure_build
cmake --build "$build_dir" -j2 --target marigold marigold-barewindow marigold-labelwindow >/dev/null
start_xserver run-startup-instructions

# Runs one program under callgrind in a fresh folder until its window `title` is mapped
# and the program has used no processor time for a second (the first paint is done and it
# waits for input), then stops it; callgrind writes its count as the program ends.
count() { # program, window title
    local folder pid used previous=
    folder=$(mktemp -d -p "$scratch")
    (cd "$folder" && exec valgrind --tool=callgrind --callgrind-out-file="$folder/callgrind.out" \
        "$1" >"$folder/valgrind.log" 2>&1) &
    pid=$!
    started "$pid"
    if ! timeout 120 xdotool search --sync --onlyvisible --name "^$2\$" >/dev/null; then
        echo "run-startup-instructions: $1 showed no window" >&2
        exit 2
    fi
    while used=$(awk '{print $14 + $15}' "/proc/$pid/stat") && [[ $used != "$previous" ]]; do
        previous=$used
        sleep 1
    done
    kill -TERM "$pid"
    wait "$pid" 2>/dev/null || true
    awk '/Collected :/ {print $NF}' "$folder/valgrind.log"
}

median() {
    sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2)}'
}

declare -A counts=()
for ((run = 1; run <= runs; run++)); do
    counts[game]+="$(count "$build_dir/marigold" Marigold) "
    [[ -n $other ]] && counts[other]+="$(count "$other" Marigold) "
    counts[bare]+="$(count "$build_dir/benchmarks/marigold-barewindow" Bare) "
    counts[label]+="$(count "$build_dir/benchmarks/marigold-labelwindow" Label) "
done

millions() {
    awk -v n="$1" 'BEGIN {printf "%.1f M", n / 1e6}'
}
for name in game other bare label; do
    [[ -n ${counts[$name]:-} ]] || continue
    value=$(tr ' ' '\n' <<<"${counts[$name]}" | grep . | median)
    declare "median_$name=$value"
    spread=$(tr ' ' '\n' <<<"${counts[$name]}" | grep . | sort -n | awk 'NR == 1 {lo = $1} {hi = $1} END {printf "%.2f", (hi - lo) * 100 / lo}')
    case $name in
        game) label="marigold (this tree)" ;;
        other) label="marigold ($other)" ;;
        bare) label="bare Qt window" ;;
        label) label="bare window with one label" ;;
    esac
    printf '%-40s %12s   (median of %d, spread %s %%)\n' "$label" "$(millions "$value")" "$runs" "$spread"
done
# shellcheck disable=SC2154 # declared above
if [[ -n $other ]]; then
    awk -v a="$median_game" -v b="$median_other" \
        'BEGIN {printf "this tree against the other: %+.1f %%\n", (a - b) * 100 / b}'
fi
awk -v g="$median_game" -v l="$median_label" \
    'BEGIN {printf "game beyond the one-label window: %.1f M\n", (g - l) / 1e6}'
