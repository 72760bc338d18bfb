#!/usr/bin/env bash
# Sets up the machine, builds Zedezuze and runs the whole test suite:
#   0. the format of every C++ file (clang-format 14, .clang-format)
#   1. normal build (RelWithDebInfo, build/) and the tests
#   2. AddressSanitizer + UndefinedBehaviorSanitizer build (build-asan/) and the tests
#   3. ThreadSanitizer build (build-tsan/) and the tests
#   4. fuzz build with clang (build-fuzz/) and a run of every fuzz target
# Every stage runs; the script fails when any stage failed.
#
#   --quick          stages 0 and 1 only, for day-to-day work
#   ZZ_FUZZ_SECONDS  seconds per fuzz target (default 60)
#   ZZ_BUILD_ROOT    folder that holds the build folders (default: the repository)
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
buildRoot="${ZZ_BUILD_ROOT:-$repo}"
fuzzSeconds="${ZZ_FUZZ_SECONDS:-60}"
quick=0

for argument in "$@"; do
    case "$argument" in
    --quick) quick=1 ;;
    *)
        echo "usage: $0 [--quick]" >&2
        exit 2
        ;;
    esac
done

"$repo/scripts/install-deps.sh" || exit 1

export CCACHE_DIR="${CCACHE_DIR:-$repo/.cache/ccache}"
export CCACHE_BASEDIR="$repo"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$repo/scripts/tsan-suppressions.txt"

# A test that hangs fails after this many seconds instead of stopping the whole run.
testTimeout=300

# Configures, builds and tests one build folder; the arguments after the folder go to cmake.
BuildAndTest()
{
    local buildDir="$1"
    shift
    cmake -S "$repo" -B "$buildDir" -G Ninja "$@" || return 1
    cmake --build "$buildDir" -j2 || return 1
    ctest --test-dir "$buildDir" --output-on-failure -j2 --timeout "$testTimeout" || return 1
}

StageFormat()
{
    "$repo/scripts/check-format.sh"
}

StageNormal()
{
    BuildAndTest "$buildRoot/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
}

StageAsan()
{
    BuildAndTest "$buildRoot/build-asan" -DCMAKE_BUILD_TYPE=Debug \
        -DZZ_SANITIZE=address,undefined -DZZ_BUILD_BENCH=OFF
}

StageTsan()
{
    BuildAndTest "$buildRoot/build-tsan" -DCMAKE_BUILD_TYPE=Debug \
        -DZZ_SANITIZE=thread -DZZ_BUILD_BENCH=OFF
}

# Splits each receiver log of the test data and the samples into inputs no longer than the
# fuzzers' maximum length, so that the whole of a long log seeds the corpus, not only its start.
SeedCorpus()
{
    local seedDir="$1"
    rm -rf "$seedDir" && mkdir -p "$seedDir" || return 1
    local file index=0
    while IFS= read -r -d '' file; do
        index=$((index + 1))
        split -b 4096 -a 3 -d "$file" "$seedDir/seed$index-" || return 1
    done < <(find "$repo/tests/data" "$repo/samples" -type f -size +0 \
        \( -name '*.nmea' -o -name '*.bin' -o -name '*.raw' \) -print0 2>/dev/null | sort -z)
    echo "fuzz seeds: $(find "$seedDir" -type f | wc -l) inputs from $index files"
}

StageFuzz()
{
    local buildDir="$buildRoot/build-fuzz"
    CXX=clang++-14 cmake -S "$repo" -B "$buildDir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DZZ_BUILD_FUZZ=ON -DZZ_BUILD_TESTS=OFF -DZZ_BUILD_BENCH=OFF || return 1
    cmake --build "$buildDir" -j2 || return 1
    SeedCorpus "$buildDir/seeds" || return 1

    local targets=()
    local target
    for target in "$buildDir"/fuzz/zz_fuzz_*; do
        [[ -x "$target" && -f "$target" ]] && targets+=("$target")
    done
    if [[ ${#targets[@]} -eq 0 ]]; then
        echo "no fuzz targets were built" >&2
        return 1
    fi

    local failed=0 name dictionary
    for target in "${targets[@]}"; do
        name=$(basename "$target")
        mkdir -p "$buildDir/corpus/$name" "$buildDir/artifacts" || return 1
        dictionary=()
        [[ -f "$repo/fuzz/$name.dict" ]] && dictionary=(-dict="$repo/fuzz/$name.dict")
        echo "fuzzing $name for $fuzzSeconds s"
        if ! "$target" -max_len=4096 -max_total_time="$fuzzSeconds" -timeout=25 \
            -print_final_stats=1 "${dictionary[@]}" \
            -artifact_prefix="$buildDir/artifacts/$name-" \
            "$buildDir/corpus/$name" "$buildDir/seeds"; then
            echo "$name failed; the input is in $buildDir/artifacts/" >&2
            failed=1
        fi
    done
    return "$failed"
}

summary=()
failures=0

RunStage()
{
    local label="$1"
    local stage="$2"
    local started=$SECONDS
    echo "=== $label"
    if "$stage"; then
        summary+=("PASS  $label ($((SECONDS - started)) s)")
    else
        summary+=("FAIL  $label ($((SECONDS - started)) s)")
        failures=$((failures + 1))
    fi
}

RunStage "0 format" StageFormat
RunStage "1 build + tests (RelWithDebInfo)" StageNormal
if [[ $quick -eq 0 ]]; then
    RunStage "2 AddressSanitizer + UndefinedBehaviorSanitizer build + tests" StageAsan
    RunStage "3 ThreadSanitizer build + tests" StageTsan
    RunStage "4 fuzz build + ${fuzzSeconds} s per target" StageFuzz
fi

echo "=== summary"
printf '%s\n' "${summary[@]}"
if [[ $failures -ne 0 ]]; then
    echo "$failures stage(s) failed"
    exit 1
fi
echo "all stages passed"
