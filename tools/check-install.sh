#!/bin/sh
# Installs the build into a temporary prefix and checks that every file a user needs is
# there and valid. Usage: tools/check-install.sh BUILD_DIR
set -eu
build=$1
prefix=$(mktemp -d "${TMPDIR:-/tmp}/tallyx-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

status=0
for f in bin/tallyx bin/tallyx-cli bin/tallyx-vprinter bin/tallyx-printer \
         lib/systemd/system/tallyx-printer.service share/man/man1/tallyx-printer.1 \
         share/applications/tallyx.desktop \
         share/icons/hicolor/scalable/apps/tallyx.svg \
         share/icons/hicolor/48x48/apps/tallyx.png \
         share/man/man1/tallyx.1 share/man/man1/tallyx-cli.1 share/man/man1/tallyx-vprinter.1; do
    if [ ! -s "$prefix/$f" ]; then
        echo "missing: $f"
        status=1
    fi
done
for p in tallyx tallyx-cli tallyx-vprinter; do
    [ -x "$prefix/bin/$p" ] || { echo "not executable: bin/$p"; status=1; }
    version=$(QT_QPA_PLATFORM=offscreen "$prefix/bin/$p" --version)
    [ "$version" = "tallyx 1.0" ] || { echo "$p --version: $version"; status=1; }
    page="$prefix/share/man/man1/$p.1"
    grep -q '^\.TH .*"tallyx 1\.0"' "$page" || { echo "man page of $p lacks its version"; status=1; }
    grep -q 'help' "$page" || { echo "man page of $p lacks its options"; status=1; }
    grep -q "^$p \\\\- " "$page" || { echo "man page of $p does not name it"; status=1; }
done
# The printer application: its drivers listed without a server, its service off until enabled.
"$prefix/bin/tallyx-printer" drivers | grep -q '^zh-58 ' || { echo "tallyx-printer lists no zh-58 driver"; status=1; }
grep -q '^ExecStart=/usr/bin/tallyx-printer server' "$prefix/lib/systemd/system/tallyx-printer.service" ||
    { echo "the service does not start the server"; status=1; }
desktop-file-validate "$prefix/share/applications/tallyx.desktop" || status=1
grep -q '^Name\[zh_CN\]=' "$prefix/share/applications/tallyx.desktop" || { echo "no Name[zh_CN]"; status=1; }
size=$(identify -format '%wx%h' "$prefix/share/icons/hicolor/48x48/apps/tallyx.png" 2>/dev/null || echo none)
[ "$size" = "48x48" ] || { echo "48-pixel icon is $size"; status=1; }
[ $status -eq 0 ] && echo "installed and checked under $prefix"
exit $status
