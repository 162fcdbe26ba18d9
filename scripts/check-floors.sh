#!/usr/bin/env bash
# Checks the floors of the source tree:
#  - a folder includes only from its own floor and the floors below it;
#  - no include climbs out of the source tree ("../");
#  - a core library, and every header of ours it includes, includes no header of Qt Gui, Qt Widgets
#    or Qt Print Support, in any spelling (<QWidget>, <QtWidgets/QWidget>, <qwidget.h>), nor the chart
#    library.
# Usage: check-floors.sh SOURCE_DIR CORE_SOURCES_FILE QT_INCLUDE_DIR FLOOR... (bottom to top)
# Prints each fault as FILE:LINE: reason, and exits 1 when there is any.
set -uo pipefail

source_dir=$1 core_list=$2 qt_include=$3
shift 3
floors=("$@")
faults=0

fault() {
    echo "$1" >&2
    faults=$((faults + 1))
}

floor_of() { # prints the floor number of a folder, nothing when it is not a floor
    local i
    for i in "${!floors[@]}"; do
        [ "${floors[$i]}" = "$1" ] && echo "$i" && return
    done
}

cd "$source_dir" || exit 2
[ -d "$qt_include/QtCore" ] || { echo "check-floors: no QtCore in $qt_include" >&2; exit 2; }

# Includes as "FILE:LINE:TARGET" for the quoted or angled include lines of the given files.
includes_of() {
    grep -HnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"][^>"]+[>"]' "$@" 2>/dev/null |
        sed -E 's/^([^:]+):([0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]+)[>"].*/\1:\2:\3/'
}

# 1. Floors.
for floor in "${floors[@]}"; do
    [ -d "$floor" ] || continue
    own=$(floor_of "$floor")
    mapfile -t files < <(find "$floor" -name '*.h' -o -name '*.cpp')
    [ ${#files[@]} -gt 0 ] || continue
    while IFS=: read -r file line target; do
        case "$target" in
            *../*) fault "$file:$line: includes \"$target\", outside the folders of the source tree"; continue ;;
        esac
        folder=${target%%/*}
        [ "$folder" = "$target" ] && continue
        other=$(floor_of "$folder")
        if [ -n "$other" ] && [ "$other" -gt "$own" ]; then
            fault "$file:$line: includes $target; $folder is a floor above $floor"
        fi
    done < <(includes_of "${files[@]}")
done

# 2. Core libraries: Qt Core only. Follow our own headers from each core source.
is_gui_header() { # true when an angled include names a header of a module above Qt Core
    local name=$1 module
    case "$name" in
        QtGui/* | QtWidgets/* | QtPrintSupport/* | QtOpenGL/* | QtOpenGLWidgets/* | QtSvg/* | QtSvgWidgets/*) return 0 ;;
        qcustomplot.h) return 0 ;;
        */*) return 1 ;;
    esac
    [ -e "$qt_include/QtCore/$name" ] && return 1
    for module in QtGui QtWidgets QtPrintSupport QtOpenGL QtOpenGLWidgets QtSvg QtSvgWidgets; do
        [ -e "$qt_include/$module/$name" ] && return 0
    done
    return 1
}

declare -A seen=()
mapfile -t queue < <(sed "s#^$source_dir/##" "$core_list" | sort -u)
declare -A via=()
declare -A core=()
for file in "${queue[@]}"; do core[$file]=1; done
while [ ${#queue[@]} -gt 0 ]; do
    file=${queue[0]}
    queue=("${queue[@]:1}")
    [ -n "${seen[$file]:-}" ] && continue
    seen[$file]=1
    [ -f "$file" ] || continue
    while IFS=: read -r _ line target; do
        if is_gui_header "$target"; then
            fault "$file:$line: includes <$target>, a header above Qt Core, in a core library${via[$file]:+ (reached from ${via[$file]})}"
        elif [ -f "$target" ] && [ -n "$(floor_of "${target%%/*}")" ] && [ -z "${seen[$target]:-}" ]; then
            queue+=("$target")
            [ -z "${core[$target]:-}" ] && [ -z "${via[$target]:-}" ] && via[$target]=${via[$file]:-$file}
        fi
    done < <(includes_of "$file")
done

if [ "$faults" -gt 0 ]; then
    echo "check-floors: $faults fault(s); the floors, bottom to top: ${floors[*]}" >&2
    exit 1
fi
echo "check-floors: ${#seen[@]} files of the core libraries and ${#floors[@]} floors checked"
