#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Brings a Debian 12 machine up to what Marigold needs, builds it, and then either
# starts the game (`play`, the default) or runs the whole test suite (`test`).
set -euo pipefail

mode=${1:-play}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MARIGOLD_BUILD_DIR:-$root/build}

# The built-in browser (marigold-browser) runs on Qt WebEngine; its helper process
# QtWebEngineProcess comes in libqt6webenginecore6-bin.
packages=(cmake make g++ qt6-base-dev qt6-base-dev-tools libgl-dev
          qt6-webengine-dev qt6-webengine-dev-tools libqt6webenginecore6-bin
          fonts-beteckna fonts-liberation2)
case $mode in
    play) ;;
    # The cross compiler checks the Windows registry unit; the validators check the
    # installed desktop entry and metainfo; the record-file fuzzer (tools/fuzz.sh)
    # needs clang with its libFuzzer runtime; the real-desktop tests run the game on an
    # X server and window manager of their own, press its keys from outside and look at
    # the screen; the screen-reader test listens to Orca, speaking through
    # speech-dispatcher and espeak-ng on a session bus and accessibility bus of its own.
    test) packages+=(g++-mingw-w64-x86-64-posix desktop-file-utils appstream
                     clang libclang-rt-14-dev
                     xvfb openbox xdotool x11-utils imagemagick
                     orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
                     dbus-daemon at-spi2-core) ;;
    *) echo "usage: $0 [play|test]" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
        || missing+=("$package")
done
if ((${#missing[@]})); then
    sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j"$(nproc)"

case $mode in
    play)
        # As from the desktop menu: records in ~/.local/share/marigold.
        exec "$build/marigold" --records-in-data-folder
        ;;
    test)
        (cd "$build" && QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 \
            ctest --output-on-failure -j"$(nproc)")

        # The record-file fuzzer, for a bounded minute over the kept corpus.
        bash "$root/tools/fuzz.sh" 60

        # The same suite again under AddressSanitizer and UndefinedBehaviorSanitizer: any
        # report fails the test that caused it.
        sanitized=${MARIGOLD_SANITIZE_BUILD_DIR:-$root/build-sanitize}
        cmake -S "$root" -B "$sanitized" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARIGOLD_SANITIZE=ON
        cmake --build "$sanitized" -j"$(nproc)"
        (cd "$sanitized" && QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 \
            ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
            UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
            ctest --output-on-failure -j"$(nproc)")
        ;;
esac
