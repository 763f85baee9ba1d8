#!/usr/bin/env bash
# Starts the game on a virtual screen, presses Deal, and saves the screen as a PNG,
# so the table can be looked at without a desktop. Usage: screenshot.sh [out.png] [build dir]
set -euo pipefail

out=${1:-marigold.png}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${2:-$root/build}
display=:${MARIGOLD_DISPLAY:-91}

for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "needs xvfb, xdotool and imagemagick" >&2; exit 1; }
done

records=$(mktemp -d)
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp &
xvfb=$!
trap 'kill "${game:-}" "$xvfb" 2>/dev/null || true; rm -rf "$records"' EXIT
sleep 1
(cd "$records" && DISPLAY=$display exec "$build/marigold") &
game=$!
DISPLAY=$display xdotool search --sync --name '^Marigold$' >/dev/null
sleep 0.5
# With no window manager the table's client area sits at the screen's corner.
DISPLAY=$display xdotool mousemove 164 304 click 1
sleep 0.5
DISPLAY=$display import -window root -crop 600x480+0+0 "$out"
echo "saved $out"
