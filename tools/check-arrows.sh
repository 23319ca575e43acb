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
jobs: res link commands jobs
ui: res ui qt
dialogs: res link commands jobs ui dialogs qt
app: res link commands jobs ui dialogs app vprinter qt
cli: res link commands jobs cli
vprinter: res vprinter qtgui
printer: res link commands printer
'
# The virtual printer's render half may use Qt Gui; its core may not (the render half is
# named by these files).
render='BoxDrawing|GlyphCache|ReceiptRenderer|VirtualPrinter|Render|Compare|main\.cpp'

crossing() {
    echo "arrows: $1:$2: $3"
}

found=$(echo "$rules" | while IFS=: read -r room allowed; do
    [ -n "$room" ] || continue
    [ -d "$room" ] || continue
    for file in $(find "$room" -name '*.h' -o -name '*.cpp' | sort); do
        grep -n '^[[:space:]]*#[[:space:]]*include' "$file" | while IFS= read -r line; do
            number=${line%%:*}
            text=${line#*:}
            case "$text" in
            *'"'*)
                target=$(echo "$text" | sed -n 's/.*"\([^"]*\)".*/\1/p')
                case "$target" in
                */*) to=${target%%/*} ;;
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
                    # if-forms: a failed test left as the loop's status ends the check
                    # silently under set -e
                    if ! echo "$file" | grep -Eq "$render"; then
                        crossing "$file" "$number" "the virtual printer's core may not include Qt"
                    fi
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
