#!/usr/bin/env bash
# Renders the window during a delete's wait for undo and the Deleted Mail
# dialog to docs/undo-wait.png and docs/deleted-mail.png, under a private X
# server. Needs a built tree: scripts/undo-screenshots.sh [build folder].
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/dev}"
program="$build/tests/qlt_undo_shots"
[ -x "$program" ] || { echo "no program at $program: build it first" >&2; exit 1; }
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (apt-get install xvfb)" >&2; exit 1; }

mkdir -p docs
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
# A home of its own: the program reads no profile of the user's.
HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
  xvfb-run -a -s "-screen 0 1600x1200x24" "$program" docs/undo-wait.png docs/deleted-mail.png
echo "docs/undo-wait.png docs/deleted-mail.png"
