#!/usr/bin/env bash
# Renders the window during a delete's wait for undo and the Deleted Mail
# dialog to docs/undo-wait.png and docs/deleted-mail.png, under a private X
# server. Needs a built tree: scripts/undo-screenshots.sh [build folder].
set -euo pipefail
cd "$(dirname "$0")/.."
exec scripts/shot-program.sh "${1:-build/dev}" qlt_undo_shots docs/undo-wait.png docs/deleted-mail.png
