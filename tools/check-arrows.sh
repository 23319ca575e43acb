#!/bin/sh
# Fails on an #include that crosses the rooms' arrows: each room names the rooms it may
# include, and whether it may include Qt. Run by `make test`.
# Usage: check-arrows.sh [SOURCE_DIR]
set -eu
cd "${1:-$(dirname "$0")/..}"

# room: the rooms it may include; "qt" lets it include Qt headers.
rules='
res: res
link: res link
commands: res commands
decode: res commands decode qt
jobs: res link commands jobs
ui: res commands decode ui qt
dialogs: res link commands decode jobs ui dialogs qt
app: res link commands decode jobs ui dialogs app vprinter qt
cli: res link commands decode jobs cli
vprinter/ports: res vprinter/ports
vprinter/paper: res vprinter/paper
vprinter/device: res vprinter/device vprinter/paper
vprinter/text: res vprinter/text vprinter/device
vprinter/symbols: res vprinter/symbols vprinter/device vprinter/paper
vprinter/interpret: res vprinter/interpret vprinter/ports vprinter/text vprinter/symbols vprinter/paper vprinter/device
vprinter/web: res vprinter/web vprinter/ports vprinter/device vprinter/paper
vprinter/render: res vprinter/render vprinter/paper vprinter/device qtgui
vprinter: res vprinter vprinter/ports vprinter/interpret vprinter/text vprinter/symbols vprinter/paper vprinter/device vprinter/web vprinter/render qtgui
printer: res link commands printer
'
# The virtual printer's rooms are its folders: a file in vprinter/NAME/ is in room
# vprinter/NAME, a file directly in vprinter/ is on top. Of these only render/ and the top
# may use Qt Gui; the top's std-only engine is kept from Qt by its library, which links none.

crossing() {
    echo "arrows: $1:$2: $3"
}

found=$(echo "$rules" | while IFS=: read -r room allowed; do
    [ -n "$room" ] || continue
    [ -d "$room" ] || continue
    # a sub-room's files are its own; the top's are those directly in its folder
    case "$room" in
    vprinter) files=$(find vprinter -maxdepth 1 \( -name '*.h' -o -name '*.cpp' \) | sort) ;;
    *) files=$(find "$room" \( -name '*.h' -o -name '*.cpp' \) | sort) ;;
    esac
    for file in $files; do
        grep -n '^[[:space:]]*#[[:space:]]*include' "$file" | while IFS= read -r line; do
            number=${line%%:*}
            text=${line#*:}
            case "$text" in
            *'"'*)
                target=$(echo "$text" | sed -n 's/.*"\([^"]*\)".*/\1/p')
                case "$room:$target" in
                vprinter*:vprinter/*/*) to=${target%/*} ;;   # between the printer's rooms
                *:*/*) to=${target%%/*} ;;
                *) continue ;;   # a file beside it
                esac
                case " $allowed " in
                *" $to "*) ;;
                *) crossing "$file" "$number" "$room/ may not include $to/ ($target)" ;;
                esac
                ;;
            *'<Q'* | *'<qt'*)
                case " $allowed " in
                *" qt "*) ;;
                *" qtgui "*)
                    # if-form: a failed test left as the loop's status ends the check
                    # silently under set -e
                    if echo "$text" | grep -Eq '<(QtWidgets|QWidget|QApplication|QDialog|QLabel|QPushButton|QMenu|QMainWindow)'; then
                        crossing "$file" "$number" "the virtual printer may include Qt Gui only"
                    fi
                    ;;
                *) crossing "$file" "$number" "$room/ may not include Qt" ;;
                esac
                ;;
            esac
        done
    done
done)
if [ -n "$found" ]; then
    echo "$found" >&2
    exit 1
fi
echo "arrows: every include follows the rooms' arrows"
