#!/usr/bin/env bash
# Checks the manual page zrqtool(1).
#   check-manual.sh warnings PAGE          man formats it without a warning
#   check-manual.sh usage PAGE ZRQTOOL     every command and every option `zrqtool --help` lists is in
#                                          it (each command under a heading of its own), so that a new
#                                          command cannot go undocumented
set -uo pipefail

mode=$1 page=$2
export MANWIDTH=80 LC_ALL=C.UTF-8

case "$mode" in
warnings)
    warnings=$(man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] && exit 0
    echo "$page: man warns:" >&2
    echo "$warnings" >&2
    exit 1
    ;;
usage)
    zrqtool=$3
    # Plain ASCII and wide lines: options read as they are typed, never broken.
    text=$(LC_ALL=C MANWIDTH=400 man -l "$page") || exit 1
    usage=$("$zrqtool" --help) || exit 1
    commands=$(sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z-]*\).*/\1/p' <<<"$usage")
    options=$(grep -oE -- '--[a-z][a-z-]*' <<<"$usage" | sort -u)
    if [ -z "$commands" ] || [ -z "$options" ]; then
        echo "check-manual.sh: found no commands or no options in the usage of $zrqtool" >&2
        exit 2
    fi
    missing=0
    for command in $commands; do
        # A subsection heading, as man shows it: three spaces, then the command.
        grep -qE "^   $command( |\$)" <<<"$text" && continue
        echo "$page: the command '$command' has no heading of its own" >&2
        missing=$((missing + 1))
    done
    for option in $options; do
        grep -qF -- "$option" <<<"$text" && continue
        echo "$page: the option '$option' is not described" >&2
        missing=$((missing + 1))
    done
    exit $((missing > 0))
    ;;
*)
    echo "check-manual.sh: unknown check $mode" >&2
    exit 2
    ;;
esac
