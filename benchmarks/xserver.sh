# shellcheck shell=bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the benchmark scripts (sourced, not run): a scratch folder, an X server of
# their own with no window manager, and a clean-up that takes down every process they
# started, however they end.
#
# After sourcing: $source_dir, $build_dir, $scratch; `need_tools NAME TOOL...` stops
# unless every tool is installed; `configure_build` sets up the Release build tree;
# `started PID` registers a process to stop at exit; `start_xserver NAME` starts Xvfb
# and exports DISPLAY for Qt;
# `start_game NAME` starts the built game in a fresh records folder and waits for its
# table, setting $game_pid and $window.

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${BENCH_BUILD_DIR:-/tmp/marigold-bench-build}
scratch=$(mktemp -d)
started_pids=()

started() {
    started_pids+=("$1")
}

need_tools() { # name used in messages, then the tools
    local name=$1 tool
    shift
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "$name: $tool is needed" >&2; exit 2; }
    done
}

configure_build() {
    cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
}

# shellcheck disable=SC2317 # run by the EXIT trap
stop_started() {
    # Last started, first stopped: the game before the X server it draws on.
    local i
    for ((i = ${#started_pids[@]} - 1; i >= 0; i--)); do
        kill "${started_pids[i]}" 2>/dev/null || true
        wait "${started_pids[i]}" 2>/dev/null || true
    done
    rm -rf "$scratch"
}
trap stop_started EXIT
trap 'exit 130' INT TERM

start_xserver() { # name used in messages
    # Xvfb picks a free display itself and tells us which; with no window manager a
    # top-level window is mapped straight onto the root, unframed.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
        3>"$scratch/display" 2>"$scratch/xvfb.log" &
    started $!
    local _
    for _ in $(seq 100); do
        [[ -s $scratch/display ]] && break
        sleep 0.05
    done
    if [[ ! -s $scratch/display ]]; then
        echo "$1: Xvfb did not start" >&2
        cat "$scratch/xvfb.log" >&2
        exit 2
    fi
    DISPLAY=":$(<"$scratch/display")"
    export DISPLAY
    mkdir -m 700 "$scratch/runtime"
    export XDG_RUNTIME_DIR="$scratch/runtime"
    export QT_QPA_PLATFORM=xcb
}

start_game() { # name used in messages
    # Records live in the working directory; a fresh one means a fresh game.
    mkdir -m 700 "$scratch/records"
    (cd "$scratch/records" && exec "$build_dir/marigold") 2>"$scratch/game.log" &
    game_pid=$!
    started "$game_pid"
    window=
    local _
    for _ in $(seq 200); do
        window=$(xdotool search --pid "$game_pid" --onlyvisible --name '^Marigold$' 2>/dev/null \
                     | head -n 1 || true)
        [[ -n $window ]] && return
        if ! kill -0 "$game_pid" 2>/dev/null; then
            echo "$1: the game ended before showing its table" >&2
            exit 2
        fi
        sleep 0.05
    done
    echo "$1: no table window within 10 s" >&2
    exit 2
}
