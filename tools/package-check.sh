#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Run by hand, as root (slow; not part of the test suite): builds the Debian package,
# installs it with apt into a clean Debian 12 root made by debootstrap, starts the game
# there the way its desktop entry does, as an ordinary player under Xvfb, takes a
# screenshot, plays a quick game to its high-score entry, and shows the records that
# landed in the player's data folder.
#
#   sudo bash tools/package-check.sh [screenshot.png]   (and screenshot-scores.png)
#
# PACKAGE_CHECK_BASE    a pristine debootstrap root, made once and reused
#                       (default /var/tmp/marigold-bookworm-base)
# PACKAGE_BUILD_DIR     where the package is built (default /tmp/marigold-package-build)
# PACKAGE_DEB           use this .deb instead of building one
# Needs debootstrap, dpkg-dev, cmake, xdotool and imagemagick on this machine.
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
shot=$(realpath -m "${1:-package-shot.png}")
base=${PACKAGE_CHECK_BASE:-/var/tmp/marigold-bookworm-base}
build=${PACKAGE_BUILD_DIR:-/tmp/marigold-package-build}
display_number=77

say() { printf '\n== %s\n' "$*"; }
die() { echo "package-check: $*" >&2; exit 2; }

[[ $(id -u) == 0 ]] || die "needs root (debootstrap, chroot, mounts)"
for tool in debootstrap dpkg-shlibdeps cmake cpack xdotool import; do
    command -v "$tool" >/dev/null || die "$tool is needed"
done

# The same Debian mirror this machine's apt uses.
mirror() {
    local uri
    uri=$(grep -hs -E '^(URIs:|deb )' /etc/apt/sources.list /etc/apt/sources.list.d/*.sources \
              /etc/apt/sources.list.d/*.list \
          | grep -v -e security -e nodesource -e google | grep -o 'https\?://[^ ]*debian[^ ]*' \
          | head -n 1)
    echo "${uri:-http://deb.debian.org/debian}"
}

if [[ -n ${PACKAGE_DEB:-} ]]; then
    deb=$(realpath "$PACKAGE_DEB")
else
    say "building the package in $build"
    cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$build" -j2 >/dev/null
    (cd "$build" && cpack -G DEB >/dev/null)
    deb=$(ls "$build"/marigold_*.deb | head -n 1)
fi
echo "package: $deb"
dpkg-deb --field "$deb" Package Version Section Depends

if [[ ! -x $base/bin/bash ]]; then
    say "making a Debian 12 root in $base from $(mirror)"
    debootstrap --variant=minbase bookworm "$base" "$(mirror)"
fi

# Every run starts from a fresh copy of the pristine root.
root=$(mktemp -d /var/tmp/marigold-check.XXXXXX)
mounted=()
started_pids=()
cleanup() {
    local i
    for ((i = ${#started_pids[@]} - 1; i >= 0; i--)); do
        kill "${started_pids[i]}" 2>/dev/null || true
        wait "${started_pids[i]}" 2>/dev/null || true
    done
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount -l "${mounted[i]}" 2>/dev/null || true
    done
    rm -rf --one-file-system "$root"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

say "copying the clean root to $root"
cp -a "$base/." "$root/"
mount -t proc proc "$root/proc" && mounted+=("$root/proc")
mount --bind /dev "$root/dev" && mounted+=("$root/dev")
mount --bind /dev/pts "$root/dev/pts" && mounted+=("$root/dev/pts")
cp /etc/resolv.conf "$root/etc/resolv.conf"
in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin "$@"; }

say "apt-get install ./$(basename "$deb") in the clean root"
cp "$deb" "$root/tmp/"
in_root apt-get update -q
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "/tmp/$(basename "$deb")"
in_root dpkg -L marigold

say "an X server in the root (xvfb, not part of the game's dependencies)"
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends xvfb xauth >/dev/null
rm -f "/tmp/.X11-unix/X$display_number"
chroot "$root" /usr/bin/Xvfb ":$display_number" -screen 0 1024x768x24 -nolisten tcp 2>/dev/null &
started_pids+=($!)
export DISPLAY=:$display_number # reached from here through the abstract socket
for _ in $(seq 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
done
xdotool getdisplaygeometry >/dev/null 2>&1 || die "Xvfb did not start in the root"

say "the menu entry's command, run as a player"
in_root useradd --create-home --uid 4321 player
install -d -m 700 -o 4321 -g 4321 "$root/run/user/4321"
desktop_entry=$root/usr/share/applications/org.marigoldgame.marigold.desktop
exec_line=$(sed -n 's/^Exec=//p' "$desktop_entry")
echo "Exec=$exec_line"
read -r -a command <<<"$exec_line" # no field codes, no quoting: a plain word list
chroot --userspec=4321:4321 "$root" /usr/bin/env -i HOME=/home/player USER=player \
    PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games DISPLAY=":$display_number" XDG_RUNTIME_DIR=/run/user/4321 \
    sh -c 'cd "$HOME" && exec "$@"' marigold "${command[@]}" >"$root/tmp/game.log" 2>&1 &
started_pids+=($!)

window=$(xdotool search --sync --onlyvisible --name '^Marigold$' | head -n 1)
sleep 1
xdotool mousemove 164 304 click 1 # Deal, at the table's corner with no window manager
sleep 1
import -window root "$shot"
echo "screenshot: $shot (window $window)"

# A whole game at its quickest, so the records get written: Take Score in both rounds
# (each counts up its time bonus for about 11 s), then a name for the high-score table.
scores_shot=${shot%.png}-scores.png
xdotool mousemove 468 328 click 1 # Take Score
sleep 14
xdotool mousemove 468 328 click 1
xdotool search --sync --onlyvisible --name '^High Score!!$' >/dev/null
xdotool type --delay 40 'Package Check'
xdotool key Return
sleep 1.5
import -window root "$scores_shot"
echo "screenshot: $scores_shot"

say "the player's records"
records=$root/home/player/.local/share/marigold
ls -l "$records"
grep -q 'Package Check' "$records/names.dat" || die "the name did not reach ~/.local/share/marigold/names.dat"
echo "names.dat holds: $(tr -d '\0' <"$records/names.dat" | tr -s ' ')"
leftovers=$(find "$root/home/player" -maxdepth 1 -name '*.dat')
[[ -z $leftovers ]] || die "records also in the home folder: $leftovers"
if [[ -s $root/tmp/game.log ]]; then
    echo "game's messages:"
    cat "$root/tmp/game.log"
fi
say "PASS: installed with apt, started from the menu entry's command, records in ~/.local/share/marigold"
