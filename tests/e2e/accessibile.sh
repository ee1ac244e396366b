#!/usr/bin/env bash
# The real program as a screen reader reads it over AT-SPI, played with the keyboard
# alone: every exercise but the ordering one answered by reading the names in the tree,
# the menu bar reached with Alt and F10, the counts announced, and the end with "Esci".
# Usage: accessibile.sh TIVORO_EXECUTABLE
set -euo pipefail
qui=$(cd "$(dirname "$0")" && pwd)
# A D-Bus session of its own: the accessibility bus and its registry start in it and
# end with it.
# Under the sanitizers: whole stacks for every allocation, so that the leak suppression
# of the key events Qt's accessibility bridge drops can recognise them (the quick unwinder
# stops at Qt's first frame).
if [ -n "${ASAN_OPTIONS:-}" ]; then export ASAN_OPTIONS="$ASAN_OPTIONS:fast_unwind_on_malloc=0"; fi
exec dbus-run-session -- /usr/bin/python3 "$qui/accessibile.py" "$1"
