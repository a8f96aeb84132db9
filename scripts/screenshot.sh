#!/usr/bin/env bash
# Renders the main window after the start-up scan of the demo mailbox to
# docs/screenshot.png (and docs/screenshot@2x.png at twice the scale), under a
# private X server; with --first-run, the window of a user without any account
# (an empty private profile) to docs/first-run.png instead.
# Needs a built program: scripts/screenshot.sh [--first-run] [build folder].
set -euo pipefail
cd "$(dirname "$0")/.."
first_run=0
if [ "${1:-}" = "--first-run" ]; then
  first_run=1
  shift
fi
build="${1:-build/dev}"
program="$build/src/quillgate"
[ -x "$program" ] || { echo "no program at $program: build it first" >&2; exit 1; }
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (apt-get install xvfb)" >&2; exit 1; }
command -v import >/dev/null || { echo "import is missing (apt-get install imagemagick)" >&2; exit 1; }

shoot() {  # scale output [private home: start there, on its own profile, without the demo]
  local scale="$1" out="$2" home="${3:-}"
  xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '
    if [ -n "$4" ]; then
      export HOME="$4" XDG_CONFIG_HOME="$4/config" XDG_DATA_HOME="$4/data"
      QT_SCALE_FACTOR="$1" "$2" & app=$!
    else
      QT_SCALE_FACTOR="$1" "$2" --demo & app=$!
    fi
    sleep 8   # the demo scan takes a second or two; fonts and icons settle
    import -window root "$3.full.png"
    kill "$app"; wait "$app" 2>/dev/null || true
  ' _ "$scale" "$program" "$out" "$home"
  convert "$out.full.png" -trim +repage "$out"
  rm -f "$out.full.png"
}

mkdir -p docs
if [ "$first_run" = 1 ]; then
  home="$(mktemp -d)"
  trap 'rm -rf "$home"' EXIT
  shoot 1 docs/first-run.png "$home"
  echo "docs/first-run.png"
  exit 0
fi
shoot 1 docs/screenshot.png
shoot 2 docs/screenshot@2x.png
echo "docs/screenshot.png docs/screenshot@2x.png"
