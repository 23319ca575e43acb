#!/bin/sh
# Makes the README's pictures again, under Xvfb on a 1280 x 800 screen: the main window
# connected to its virtual printer over the network, the virtual printer's window and the
# receipt it printed (text, a CODE128 barcode and a QR code), the send log, and the status
# window against the printer ready, paper near end, paper out, cover open and cutter error,
# written into docs/.
# Usage: tools/screenshots.sh [BUILD_DIR]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
cmake --build "$build" --target tallyx_screenshots tallyx-cli >/dev/null
cli="$build/cli/tallyx-cli --dry-run"
commands=$(mktemp)
trap 'rm -f "$commands"' EXIT
{
    $cli init
    $cli print-mode Chinese
    $cli text "tallyx 小票打印测试
Receipt printer test
--------------------------------
"
    $cli barcode --type CODE128 --height 80 --width 2 "{BTALLYX-2026"
    $cli text "
"
    $cli qr --size 6 "https://example.com/tallyx"
    $cli text "

"
    $cli text --hex "1D 56 00"
} >"$commands"
mkdir -p "$here/docs"
xvfb-run -a -s "-screen 0 1280x800x24" "$build/tools/screenshots/tallyx_screenshots" "$here/docs" <"$commands"
