#!/usr/bin/env bash
# Times `zedezuze-cli stats` against `zedezuze-cli decode` (output thrown away) on the same large
# generated NMEA log, best of three runs each, and prints the ratio of their wall times with the
# peak memory of each. stats must stay within twice decode's time, in memory that does not grow
# with the log.
#
# ZZ_BUILD_ROOT: folder that holds build/ (default: the repository).
# ZZ_BENCH_MB: size of the generated log in MB (default 400).
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
buildDir="${ZZ_BUILD_ROOT:-$repo}/build"
megabytes="${ZZ_BENCH_MB:-400}"
corpus="$buildDir/bench-stats-corpus-${megabytes}mb.nmea"

export CCACHE_DIR="${CCACHE_DIR:-$repo/.cache/ccache}"
export CCACHE_BASEDIR="$repo"

cmake -S "$repo" -B "$buildDir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$buildDir" -j2 --target zedezuze-cli

if [[ ! -s "$corpus" ]]; then
    echo "making the ${megabytes} MB log $corpus"
    python3 "$repo/bench/gen_nmea_corpus.py" "$corpus.part" --size-mb "$megabytes" >/dev/null
    mv "$corpus.part" "$corpus"
fi

python3 - "$buildDir/cli/zedezuze-cli" "$corpus" <<'PYTHON'
import os
import subprocess
import sys
import time

cli, corpus = sys.argv[1], sys.argv[2]
size = os.path.getsize(corpus)


def best_of_three(args):
    best = None
    peak = 0
    for _ in range(3):
        with open(os.devnull, "wb") as sink:
            start = time.perf_counter()
            child = subprocess.Popen([cli] + args + [corpus], stdout=sink, stderr=sink)
            _, status, usage = os.wait4(child.pid, 0)
            elapsed = time.perf_counter() - start
        if status != 0:
            sys.exit("%s failed with status %d" % (" ".join(args), status))
        best = elapsed if best is None else min(best, elapsed)
        peak = max(peak, usage.ru_maxrss)
    return best, peak


decode, decodePeak = best_of_three(["decode"])
stats, statsPeak = best_of_three(["stats", "--json"])
print()
print("log:     %8.1f MB" % (size / 1e6))
print("decode:  %8.2f s  %7.1f MB/s  peak %6.1f MB" % (decode, size / 1e6 / decode, decodePeak / 1024))
print("stats:   %8.2f s  %7.1f MB/s  peak %6.1f MB" % (stats, size / 1e6 / stats, statsPeak / 1024))
print("stats / decode: %.2f" % (stats / decode))
PYTHON
