#!/usr/bin/env bash
# Measures the desktop program's CPU time and peak memory while it shows a live receiver: a
# simulated receiver at 10 Hz (115200 baud) and at 1 Hz (9600 baud), and a silent port. Runs
# the program on a virtual X server (Xvfb) and drives it with xdotool; see live_measure.py for
# what is measured and how.
#
# Usage: bench/live.sh [--build] [options of live_measure.py]
#
#   --build      first build the two programs (Release) in $ZZ_BUILD_ROOT/build; without it
#                nothing is built and the programs must exist
#   --app PATH   the desktop program (default $ZZ_BUILD_ROOT/build/ui/zedezuze)
#   --sim PATH   the simulated receiver (default $ZZ_BUILD_ROOT/build/sim/zedezuze-sim)
#   --seconds N  measuring window per scenario (default 60)
#   --scenarios  comma-separated subset of 10hz,1hz,idle
#   --show KEYS  keys that show the windows (default F7); alt+8,alt+9 on builds without F7
#   --perf       record and print a perf profile of the 10 Hz scenario
#   --details    per thread CPU and wake-ups per second
#
# ZZ_BUILD_ROOT: folder that holds build/ (default: the repository).
# Example: bench/live.sh --seconds 30 --details
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export ZZ_BUILD_ROOT="${ZZ_BUILD_ROOT:-$repo}"

if [[ "${1:-}" == "--build" ]]; then
    shift
    buildDir="$ZZ_BUILD_ROOT/build"
    export CCACHE_DIR="${CCACHE_DIR:-$repo/.cache/ccache}"
    export CCACHE_BASEDIR="$repo"
    cmake -S "$repo" -B "$buildDir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZZ_BUILD_TESTS=OFF \
        -DZZ_BUILD_BENCH=OFF
    cmake --build "$buildDir" -j2 --target zedezuze zedezuze-sim
fi

exec /usr/bin/python3 -B "$repo/bench/live_measure.py" "$@"
