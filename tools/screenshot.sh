#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the game on a virtual screen, presses Deal, and saves the screen as a PNG,
# so the table can be looked at without a desktop. Usage: screenshot.sh [out.png] [build dir]
set -euo pipefail

out=$(realpath -m "${1:-marigold.png}")
# shellcheck source=benchmarks/xserver.sh
source "$(dirname "${BASH_SOURCE[0]}")/../benchmarks/xserver.sh"
# Resolved now: the game starts in a scratch folder, where a relative path means nothing.
game=$(realpath -m "${2:-$source_dir/build}")/marigold
[[ -x $game ]] || { echo "no game at $game: build it first" >&2; exit 1; }

for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "needs xvfb, xdotool and imagemagick" >&2; exit 1; }
done

start_xserver screenshot
mkdir "$scratch/records"
(cd "$scratch/records" && exec "$game") &
started $!
xdotool search --sync --name '^Marigold$' >/dev/null
sleep 0.5
# With no window manager the table's client area sits at the screen's corner.
xdotool mousemove 164 304 click 1
sleep 0.5
import -window root -crop 600x480+0+0 "$out"
echo "saved $out"
