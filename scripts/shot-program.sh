#!/usr/bin/env bash
# Runs one of the built picture programs of tests/gui/shots under a private X
# server, in a home of its own (it reads no profile of the user's), with the
# picture files it is to write: scripts/shot-program.sh BUILD PROGRAM FILE...
set -euo pipefail
cd "$(dirname "$0")/.."
build="$1"
program="$build/tests/$2"
shift 2
[ -x "$program" ] || { echo "no program at $program: build it first" >&2; exit 1; }
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (apt-get install xvfb)" >&2; exit 1; }

mkdir -p docs
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
  xvfb-run -a -s "-screen 0 1600x1200x24" "$program" "$@"
echo "$@"
