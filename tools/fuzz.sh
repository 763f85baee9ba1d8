#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the record-file fuzzer with clang in a build folder of its own and runs it for a
# bounded time over the corpus kept in tests/fuzz/corpus.
#   tools/fuzz.sh [SECONDS] [--keep]
# --keep merges what the run found into the kept corpus, minimised (-merge=1), so that
# only inputs that reach new code are added.
set -euo pipefail

seconds=${1:-60}
keep=${2:-}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MARIGOLD_FUZZ_BUILD_DIR:-$root/build-fuzz}
corpus=$root/tests/fuzz/corpus

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DBUILD_TESTING=OFF -DMARIGOLD_FUZZ=ON
cmake --build "$build" --target fuzz_records -j"$(nproc)"

# New finds go to a scratch folder first, so a plain run leaves the tree as it was.
found=$(mktemp -d)
trap 'rm -rf "$found"' EXIT
"$build/tests/fuzz/fuzz_records" -max_total_time="$seconds" -max_len=2048 -timeout=10 \
    -print_final_stats=1 "$found" "$corpus"

if [ "$keep" = --keep ]; then
    "$build/tests/fuzz/fuzz_records" -merge=1 "$corpus" "$found"
fi
