#!/usr/bin/env bash
# Checks that every C++ file of the repository is formatted as .clang-format says, with the
# clang-format of Debian 12 (version 14: other versions format some constructs differently).
# With --fix, formats them instead.
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
formatter=$(command -v clang-format-14 || true)
if [[ -z "$formatter" ]]; then
    echo "check-format: clang-format-14 is missing; scripts/install-deps.sh installs it" >&2
    exit 1
fi

mapfile -d '' files < <(git -C "$repo" ls-files -z '*.cpp' '*.h')
if [[ ${#files[@]} -eq 0 ]]; then
    echo "check-format: no C++ files found" >&2
    exit 1
fi
cd "$repo" || exit 1
if [[ "${1:-}" == "--fix" ]]; then
    "$formatter" -i "${files[@]}"
    exit $?
fi
if ! "$formatter" --dry-run --Werror "${files[@]}"; then
    echo "check-format: the files above differ from .clang-format; scripts/check-format.sh --fix formats them" >&2
    exit 1
fi
echo "check-format: ${#files[@]} files formatted"
