#!/usr/bin/env bash
# Sets up the machine, builds Zedezuze (Release, in build/) and starts it. Extra arguments are
# passed to the program.
#
# ZZ_BUILD_ROOT: folder that holds build/ (default: the repository).
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
buildDir="${ZZ_BUILD_ROOT:-$repo}/build"

# The program this script starts: the application.
program=("$buildDir/ui/zedezuze")

"$repo/scripts/install-deps.sh"

export CCACHE_DIR="${CCACHE_DIR:-$repo/.cache/ccache}"
export CCACHE_BASEDIR="$repo"

cmake -S "$repo" -B "$buildDir" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$buildDir" -j2 --target zedezuze

exec "${program[@]}" "$@"
