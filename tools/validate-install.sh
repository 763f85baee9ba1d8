#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs a built tree into a scratch prefix and checks what a desktop will read from it:
# the desktop entry, the AppStream metainfo, and every icon the theme should hold.
# Run by CTest; prints a skip message and exits 0 when the validators are not installed.
#
#   bash tools/validate-install.sh <build dir> [1 when the build has the browser]
set -euo pipefail

build=${1:?usage: validate-install.sh <build dir> [0|1]}
with_browser=${2:-0}
app_id=org.marigoldgame.marigold

missing=()
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
if ((${#missing[@]})); then
    echo "validate-install: ${missing[*]} not found: skipping (Debian: desktop-file-utils appstream)"
    exit 0
fi

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

status=0
check() { # description, command...
    local description=$1
    shift
    echo "== $description: $*"
    "$@" || { echo "FAILED: $description"; status=1; }
}

share=$prefix/share
for size in 16 32 48 64 128 256; do
    check "${size}px icon" test -s "$share/icons/hicolor/${size}x${size}/apps/marigold.png"
done
check "scalable icon" test -s "$share/icons/hicolor/scalable/apps/marigold.svg"
check "game" test -x "$prefix/games/marigold"
if [[ $with_browser == 1 ]]; then
    check "browser" test -x "$prefix/games/marigold-browser"
fi
check "desktop entry" desktop-file-validate "$share/applications/$app_id.desktop"
# A menu starts programs in the home folder; the records belong in the data folder.
check "menu entry's command" grep -qx 'Exec=marigold --records-in-data-folder' \
    "$share/applications/$app_id.desktop"
# The network is not there in CI, and the metainfo's addresses are checked by hand.
check "metainfo" appstreamcli validate --pedantic --no-net "$share/metainfo/$app_id.metainfo.xml"
check "installed tree" appstreamcli validate-tree --pedantic --no-net "$prefix"
exit "$status"
