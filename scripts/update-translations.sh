#!/bin/sh
# Refreshes translations/*.ts from the desktop program's sources: new texts
# are added unfinished, vanished ones dropped, translations kept. Then
# translate the unfinished entries (Qt Linguist, or by hand in the file).
# The same from a build folder: ninja pigmora_lupdate.
set -eu
cd "$(dirname "$0")/.."
LUPDATE=${LUPDATE:-/usr/lib/qt6/bin/lupdate}
[ -x "$LUPDATE" ] || LUPDATE=lupdate
exec "$LUPDATE" -locations none -no-obsolete -source-language zh_CN src/ui -ts translations/*.ts
