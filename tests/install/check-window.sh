#!/usr/bin/env bash
# check-window.sh QUILLGATE DESKTOP_FILE
# Starts the program on a private X server, with a profile and data folder of
# its own, and checks that its window carries an icon and the class the
# desktop entry's StartupWMClass names, which task bars match it by.
set -uo pipefail

for tool in xvfb-run xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
expected=$(sed -n 's/^StartupWMClass=//p' "$2")
[ -n "$expected" ] || { echo "FAIL: $2 has no StartupWMClass" >&2; exit 1; }

home=$(mktemp -d "${TMPDIR:-/tmp}/qlt-window-XXXXXX")
trap 'rm -rf "$home"' EXIT
mkdir -m 0700 "$home/run"
HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/run \
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  QT_QPA_PLATFORM=xcb "$1" & program=$!
  trap "kill $program 2>/dev/null; wait $program 2>/dev/null" EXIT
  # The first window that carries the program'\''s class; at most 30 s.
  for _ in $(seq 150); do
    window=$(xwininfo -root -tree | sed -n "s/^ *\(0x[0-9a-f]*\) \"Quillgate.*(\"quillgate\" .*/\1/p" | head -n1)
    [ -n "$window" ] && break
    kill -0 $program 2>/dev/null || { echo "FAIL: the program ended before its window showed" >&2; exit 1; }
    sleep 0.2
  done
  [ -n "$window" ] || { echo "FAIL: no window of the program showed" >&2; exit 1; }
  class=$(xprop -id "$window" WM_CLASS | sed -n "s/.*= \"[^\"]*\", \"\([^\"]*\)\"$/\1/p")
  echo "window $window, class $class"
  [ "$class" = "$2" ] || { echo "FAIL: the window class is \"$class\", StartupWMClass says \"$2\"" >&2; exit 1; }
  xprop -id "$window" _NET_WM_ICON | grep -q "Icon (" || { echo "FAIL: the window has no icon" >&2; exit 1; }
' _ "$1" "$expected"
