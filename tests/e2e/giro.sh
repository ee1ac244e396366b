#!/usr/bin/env bash
# The whole program from the outside, in a private Xvfb with real X input: the title
# window, the menu, every exercise answered right (by reading the screen) and wrong, the
# counts and faces, "Azzera conteggio", "Informazioni", "Esci" answered No and Yes, and the
# end of the program with status 0.
# Usage: giro.sh TIVORO_EXECUTABLE
# TIVORO_E2E_DOCS=DIR also saves a screenshot of every window into DIR (docs/ is made so).
set -euo pipefail
qui=$(cd "$(dirname "$0")" && pwd)
opzioni=()
if [ -n "${TIVORO_E2E_DOCS:-}" ]; then opzioni=(--docs "$TIVORO_E2E_DOCS"); fi
exec /usr/bin/python3 "$qui/tivoro_e2e.py" "$1" giro "${opzioni[@]}"
