#!/usr/bin/env bash
# "Ordina i numeri" played to the end without any drag: once by clicks on the tiles and
# the boxes, once by keys alone, in the real program in a private Xvfb; and a tile let go
# over another program's window.
# Usage: ordina.sh TIVORO_EXECUTABLE
set -euo pipefail
qui=$(cd "$(dirname "$0")" && pwd)
exec /usr/bin/python3 "$qui/tivoro_e2e.py" "$1" ordina-tocchi ordina-tasti ordina-coperta
