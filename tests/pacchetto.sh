#!/usr/bin/env bash
# The install rules and the Debian package: what lands where, and that the desktop entry
# and the AppStream metainfo are valid. Usage: pacchetto.sh BUILD_DIR
set -euo pipefail
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# cmake --install puts the executable beside its pictures and sounds.
cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
lib="$tmp/prefix/lib/tivoro"
[ -x "$lib/tivoro" ] || fail "no executable in lib/tivoro"
[ -f "$lib/libtivoro_suoni.so" ] || fail "no sound module beside the executable"
for n in $(seq 1 20); do [ -s "$lib/gif/$n.gif" ] || fail "missing gif/$n.gif"; done
for n in $(seq 1 9); do [ -s "$lib/gif/m$n.gif" ] || fail "missing gif/m$n.gif"; done
for s in si1 si2 si3 si4 no; do [ -s "$lib/suoni/$s.wav" ] || fail "missing suoni/$s.wav"; done
[ "$(readlink "$tmp/prefix/bin/tivoro")" = "../lib/tivoro/tivoro" ] || fail "bin/tivoro is not a link to the executable"
[ -x "$tmp/prefix/bin/tivoro" ] || fail "bin/tivoro does not resolve"
for size in 16 24 32 48 64 128 256; do
  [ -s "$tmp/prefix/share/icons/hicolor/${size}x${size}/apps/tivoro.png" ] || fail "no ${size}px icon"
done
desktop="$tmp/prefix/share/applications/org.example.tivoro.desktop"
metainfo="$tmp/prefix/share/metainfo/org.example.tivoro.metainfo.xml"
desktop-file-validate "$desktop" || fail "desktop entry not valid"
grep -q '^Categories=.*Education;' "$desktop" && grep -q 'KidsGame;' "$desktop" || fail "desktop categories"
grep -q '^Name\[it\]=' "$desktop" && grep -q '^Comment\[it\]=' "$desktop" || fail "no Italian name or comment"
appstreamcli validate --no-net "$metainfo" >/dev/null || { appstreamcli validate --no-net "$metainfo"; fail "metainfo not valid"; }

# The Debian package holds the same tree under /usr.
(cd "$build" && cpack -G DEB -B "$tmp/deb" >/dev/null)
deb=$(ls "$tmp"/deb/tivoro_*.deb)
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/tivoro ./usr/lib/tivoro/tivoro ./usr/lib/tivoro/gif/m9.gif ./usr/lib/tivoro/suoni/no.wav \
         ./usr/share/applications/org.example.tivoro.desktop ./usr/share/metainfo/org.example.tivoro.metainfo.xml \
         ./usr/share/icons/hicolor/48x48/apps/tivoro.png; do
  grep -q " $f" <<<"$contents" || fail "$f not in the package"
done
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "package does not depend on Qt Widgets"
dpkg-deb -f "$deb" Depends | grep -q libqt6multimedia6 || fail "package does not depend on Qt Multimedia (loaded for the sounds)"
echo "package $(basename "$deb"): $(stat -c %s "$deb") bytes"
