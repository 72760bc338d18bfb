#!/usr/bin/env bash
# Writes the gzipped manual page of a program from its --help and --version texts.
#   make-man-page.sh OUTPUT.1.gz "one-line description" PROGRAM
# A program whose --help lists "Commands:" also gets the --help text of each command, each in
# a section of its own.
set -euo pipefail

output="$1"
description="$2"
program="$3"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Text for a section of the page, kept as written: no filling, backslashes and leading dots
# taken literally.
AsLiteral()
{
    echo ".nf"
    sed -e 's/\\/\\e/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"
    echo ".fi"
}

include="$work/include.h2m"
: >"$include"
commands=$("$program" --help | sed -n '/^Commands:/,/^$/p' | awk 'NR > 1 && /^  [a-z]/ { print $1 }')
for command in $commands; do
    {
        echo "[${command^^} COMMAND]"
        "$program" "$command" --help | AsLiteral
    } >>"$include"
done

includeOption=()
[[ -s "$include" ]] && includeOption=(--include="$include")
help2man --no-info --section=1 --name="$description" "${includeOption[@]}" \
    --output="$work/page.1" "$program"
gzip -9n -c "$work/page.1" >"$output"
