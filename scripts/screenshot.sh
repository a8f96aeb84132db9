#!/usr/bin/env bash
# Renders the main window after the start-up scan of the demo mailbox to
# docs/screenshot.png (and docs/screenshot@2x.png at twice the scale), under a
# private X server. Needs a built program: scripts/screenshot.sh [build folder].
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/dev}"
program="$build/src/quillgate"
[ -x "$program" ] || { echo "no program at $program: build it first" >&2; exit 1; }
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (apt-get install xvfb)" >&2; exit 1; }
command -v import >/dev/null || { echo "import is missing (apt-get install imagemagick)" >&2; exit 1; }

shoot() {  # scale output
  local scale="$1" out="$2"
  xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '
    QT_SCALE_FACTOR="$1" "$2" --demo & app=$!
    sleep 8   # the demo scan takes a second or two; fonts and icons settle
    import -window root "$3.full.png"
    kill "$app"; wait "$app" 2>/dev/null || true
  ' _ "$scale" "$program" "$out"
  convert "$out.full.png" -trim +repage "$out"
  rm -f "$out.full.png"
}

mkdir -p docs
shoot 1 docs/screenshot.png
shoot 2 docs/screenshot@2x.png
echo "docs/screenshot.png docs/screenshot@2x.png"
