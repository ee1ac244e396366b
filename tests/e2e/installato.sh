#!/usr/bin/env bash
# The copy installed from the Debian package: built with cpack in the build folder,
# unpacked with dpkg-deb (no root install), started as usr/bin/tivoro from another working
# directory, and played: the title, the menu, one question of each exercise, the end.
# Usage: installato.sh TIVORO_EXECUTABLE   (the build folder is the executable's folder)
set -euo pipefail
qui=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$(dirname "$1")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
(cd "$build" && cpack -G DEB -B "$tmp/deb" >/dev/null)
deb=$(ls "$tmp"/deb/tivoro_*.deb)
dpkg-deb -x "$deb" "$tmp/radice"
[ -L "$tmp/radice/usr/bin/tivoro" ] || { echo "FAIL installato: usr/bin/tivoro is not in the package" >&2; exit 1; }
echo "unpacked $(basename "$deb") into $tmp/radice"
cd /
/usr/bin/python3 "$qui/tivoro_e2e.py" "$tmp/radice/usr/bin/tivoro" breve
