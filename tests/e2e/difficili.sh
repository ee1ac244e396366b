#!/usr/bin/env bash
# The real program where things are not as they should be: a folder with blanks and
# accented letters, no gif/ folder, no suoni/ folder, no audio device, output into a pipe
# with no reader, a screen smaller than the windows, no display, the display lost after a
# sound, keys held down on a busy machine.
# Usage: difficili.sh TIVORO_EXECUTABLE
set -euo pipefail
qui=$(cd "$(dirname "$0")" && pwd)
radice=$(cd "$qui/../.." && pwd)
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
fail() { echo "FAIL difficili: $*" >&2; exit 1; }

/usr/bin/python3 "$qui/tivoro_e2e.py" "$exe" cartella senza-gif senza-suoni senza-audio uscita-chiusa schermo-piccolo \
  fine-sessione tasto-tenuto

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# No display: the program itself stops with Qt's own message and a status of its own,
# not killed by a signal (no core dump).
set +e
(cd "$tmp" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 60 "$exe") >"$tmp/uscita" 2>&1
stato=$?
set -e
[ "$stato" -ne 0 ] || fail "the program without a display ended with status 0"
[ "$stato" -lt 124 ] || fail "the program without a display ended with status $stato (a signal or a hang)"
grep -qi "display" "$tmp/uscita" || fail "the program without a display says nothing about it: $(cat "$tmp/uscita")"
[ ! -e "$tmp/core" ] || fail "the program without a display left a core dump"
echo "ok   no display, the program: status $stato, Qt says: $(grep -i -m1 display "$tmp/uscita")"

# No display: tools/run explains in one line what to do, before it builds anything.
set +e
(cd "$tmp" && env -u DISPLAY -u WAYLAND_DISPLAY timeout 60 "$radice/tools/run") >"$tmp/run" 2>&1
stato=$?
set -e
[ "$stato" -ne 0 ] || fail "tools/run without a display ended with status 0"
[ "$(wc -l <"$tmp/run")" -eq 1 ] || fail "tools/run without a display printed more than one line: $(cat "$tmp/run")"
grep -q "xvfb-run" "$tmp/run" || fail "tools/run without a display does not mention xvfb-run: $(cat "$tmp/run")"
echo "ok   no display, tools/run: status $stato: $(cat "$tmp/run")"
echo "difficili: all cases passed"
