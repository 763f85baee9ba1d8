#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Run by hand: shows that two builds of the game look the same, pixel for pixel. Each
# build is started in a fresh records folder on an X server of its own with no window
# manager, at the same faked time of day (so both deal the same cards), at device pixel
# ratio 1 and 2; the idle table, a dealt table, the menu, the credits, the instructions
# and the high scores are saved from each and compared with ImageMagick.
#
#   bash tools/compare-look.sh <one marigold program> <another marigold program> [folder]
#
# Prints one line per screen with the number of differing pixels, keeps the pictures in
# the folder (default: a temporary one, removed at the end) and exits 0 when none differ.
# Needs Xvfb, xdotool, imagemagick and faketime (its library).
set -euo pipefail

[[ $# -ge 2 ]] || { echo "usage: $0 <marigold> <marigold> [folder]" >&2; exit 2; }
programs=("$(realpath "$1")" "$(realpath "$2")")
for tool in Xvfb xdotool import compare; do
    command -v "$tool" >/dev/null || { echo "compare-look: $tool is needed" >&2; exit 2; }
done
# libfaketime itself rather than its faketime program, which leaves shared memory behind
# when it is stopped by a signal.
faketime_library=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1 || true)
[[ -n $faketime_library ]] || { echo "compare-look: libfaketime is needed (Debian: faketime)" >&2; exit 2; }
scratch=$(mktemp -d)
shots=${3:-$scratch/shots}
mkdir -p "$shots"
pids=()
cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill -- "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]#-}" 2>/dev/null || true
    done
    rm -rf "$scratch"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 2400x1800x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do
    [[ -s $scratch/display ]] && break
    sleep 0.05
done
export DISPLAY=":$(<"$scratch/display")" QT_QPA_PLATFORM=xcb
mkdir -m 700 "$scratch/runtime"
export XDG_RUNTIME_DIR=$scratch/runtime
# Caches of their own: fontconfig would otherwise write the player's with faked times.
export XDG_CACHE_HOME=$scratch/cache

# Waits for a window whose title matches, and prints its id.
window() {
    local id
    for _ in $(seq 400); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
        [[ -n $id ]] && { echo "$id"; return; }
        sleep 0.05
    done
    echo "compare-look: no window $1" >&2
    exit 2
}

# Clicks the middle of a rectangle given in a window's own pixels, at the given scale.
click() { # window, scale, left, top, width, height
    xdotool mousemove --window "$1" $(( ($3 + $5 / 2) * $2 )) $(( ($4 + $6 / 2) * $2 )) click 1
}

# Saves a window once it is painted and still: the same picture twice running, and more
# than the one or two colours of a window not yet drawn.
save() { # window, file
    local previous= now
    for _ in $(seq 80); do
        import -window "$1" "$2" 2>/dev/null
        now=$(md5sum <"$2")
        if [[ $now == "$previous" ]] && (($(identify -format %k "$2") > 2)); then
            return
        fi
        previous=$now
        sleep 0.25
    done
    echo "compare-look: $2 never settled" >&2
    exit 2
}

shoot() { # which (0 or 1), scale
    local which=$1 scale=$2 records table menu other
    records=$(mktemp -d -p "$scratch")
    # The pointer out of the way, so that no button starts under it, lit.
    xdotool mousemove 0 0
    # With the time of day all but frozen at the same moment, both builds seed the same
    # deal; the monotonic clock of Qt's timers runs as ever.
    (cd "$records" && QT_SCALE_FACTOR=$scale LD_PRELOAD=$faketime_library \
        FAKETIME='@2026-12-07 12:00:00 x0.001' FAKETIME_DONT_FAKE_MONOTONIC=1 \
        exec setsid "${programs[which]}") 2>/dev/null &
    local pid=$!
    pids+=("-$pid")
    table=$(window '^Marigold$')
    save "$table" "$shots/$which-x$scale-table.png"
    click "$table" "$scale" 248 56 73 33 # High Scores
    other=$(window '^High Scores$')
    save "$other" "$shots/$which-x$scale-scores.png"
    click "$other" "$scale" 120 240 49 33 # OK
    click "$table" "$scale" 248 16 73 33 # Menu
    menu=$(window '^Menu$')
    save "$menu" "$shots/$which-x$scale-menu.png"
    click "$menu" "$scale" 8 16 81 33 # Credits
    other=$(window '^Credits$')
    save "$other" "$shots/$which-x$scale-credits.png"
    click "$other" "$scale" 112 224 81 33 # OK
    menu=$(window '^Menu$')
    click "$menu" "$scale" 105 16 81 33 # Instructions
    other=$(window '^Instructions$')
    save "$other" "$shots/$which-x$scale-instructions.png"
    click "$other" "$scale" 8 168 81 33 # OK
    menu=$(window '^Menu$')
    click "$menu" "$scale" 202 64 81 33 # Close
    click "$table" "$scale" 128 288 73 33 # Deal
    save "$table" "$shots/$which-x$scale-deal.png"
    kill -- "-$pid"
    wait "$pid" 2>/dev/null || true
    while xdotool search --onlyvisible --name '^Marigold$' >/dev/null 2>&1; do
        sleep 0.05
    done
}

status=0
for scale in 1 2; do
    shoot 0 "$scale"
    shoot 1 "$scale"
    for screen in table deal menu credits instructions scores; do
        differing=$(compare -metric AE "$shots/0-x$scale-$screen.png" "$shots/1-x$scale-$screen.png" \
                        /dev/null 2>&1 || true)
        printf 'scale %s  %-13s %s differing pixels\n' "$scale" "$screen" "$differing"
        [[ $differing == 0 ]] || status=1
    done
done
exit "$status"
