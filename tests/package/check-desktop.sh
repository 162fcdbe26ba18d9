#!/usr/bin/env bash
# Checks what the desktop reads of an installation, with the tools that read it.
#   check-desktop.sh entries SOURCE_DIR            every desktop entry passes desktop-file-validate
#                                                  without a word (a hint is a fault too)
#   check-desktop.sh metainfo SOURCE_DIR METAINFO  the AppStream metainfo passes appstreamcli validate,
#                                                  launches a desktop entry we ship and shows screenshots
#                                                  that docs/screenshots holds
set -uo pipefail

mode=$1 source_dir=$2
faults=0
fault() {
    echo "$1" >&2
    faults=$((faults + 1))
}

case "$mode" in
entries)
    for entry in "$source_dir"/resources/*.desktop; do
        said=$(desktop-file-validate "$entry" 2>&1) || fault "$entry: refused"
        [ -z "$said" ] && continue
        fault "$said"
    done
    ;;
metainfo)
    metainfo=$3
    appstreamcli validate --no-net "$metainfo" || fault "$metainfo: refused by appstreamcli"
    launchables=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
    [ -n "$launchables" ] || fault "$metainfo: launches no desktop entry"
    for id in $launchables; do
        [ -f "$source_dir/resources/$id" ] || fault "$metainfo: launches $id, which resources/ does not hold"
    done
    images=$(sed -n 's:.*<image>.*/\([^/]*\)</image>.*:\1:p' "$metainfo")
    [ -n "$images" ] || fault "$metainfo: shows no screenshot"
    for image in $images; do
        [ -f "$source_dir/docs/screenshots/$image" ] || fault "$metainfo: shows $image, which docs/screenshots does not hold"
    done
    ;;
*)
    echo "check-desktop.sh: unknown check $mode" >&2
    exit 2
    ;;
esac
exit $((faults > 0))
