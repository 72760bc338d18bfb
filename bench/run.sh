#!/usr/bin/env bash
# Builds the benchmark (Release, in build/), makes the 80 MB NMEA corpus once, runs the engine
# benchmarks and prints the engine's throughput next to the line-split baseline.
#
# ZZ_BUILD_ROOT: folder that holds build/ (default: the repository).
# Extra arguments go to zz_bench (for example --benchmark_filter=Nmea).
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
buildDir="${ZZ_BUILD_ROOT:-$repo}/build"
corpus="$buildDir/bench-corpus.nmea"
results="$buildDir/bench-results.json"

export CCACHE_DIR="${CCACHE_DIR:-$repo/.cache/ccache}"
export CCACHE_BASEDIR="$repo"

cmake -S "$repo" -B "$buildDir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZZ_BUILD_BENCH=ON
cmake --build "$buildDir" -j2 --target zz_bench

if [[ ! -s "$corpus" ]]; then
    echo "making the corpus $corpus"
    python3 "$repo/bench/gen_nmea_corpus.py" "$corpus.part" >/dev/null
    mv "$corpus.part" "$corpus"
fi

ZZ_BENCH_CORPUS="$corpus" "$buildDir/bench/zz_bench" --benchmark_min_time=2 \
    --benchmark_out="$results" --benchmark_out_format=json "$@"

python3 - "$results" <<'EOF'
import json
import sys

with open(sys.argv[1]) as file:
    runs = {run["name"]: run for run in json.load(file)["benchmarks"]}


def megabytesPerSecond(name):
    run = runs.get(name)
    if run is None or run.get("error_occurred") or "bytes_per_second" not in run:
        return None
    return run["bytes_per_second"] / 1e6


engine = megabytesPerSecond("NmeaEngineReceiveBytes")
split = megabytesPerSecond("BaselineLineSplit")
binary = megabytesPerSecond("BinaryEngineReceiveBytes")
copy = megabytesPerSecond("BaselineMemcpy")
print()
if engine is not None:
    sentences = runs["NmeaEngineReceiveBytes"].get("sentences", 0.0)
    print("NMEA engine:     %8.1f MB/s  (%.2f million sentences/s)" % (engine, sentences / 1e6))
if split is not None:
    print("line split:      %8.1f MB/s" % split)
if copy is not None:
    print("memcpy:          %8.1f MB/s" % copy)
if binary is not None:
    print("binary engine:   %8.1f MB/s" % binary)
if engine is not None and split is not None:
    print("NMEA engine / line split: %.2f" % (engine / split))
EOF
