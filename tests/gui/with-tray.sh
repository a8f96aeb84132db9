#!/usr/bin/env bash
# Runs the tray cases of the GUI test program on a private X server with a
# tray host, where the offscreen run can only skip them; a skip here fails.
# With --late-host no host runs at first: the test starts one after the window.
#   with-tray.sh [--late-host] PATH-TO-qlt_gui_tests [GTEST-FILTER]
set -euo pipefail
late=
if [ "${1:-}" = --late-host ]; then
  late=1
  shift
fi
tests="$1"
default_filter="TrayTest.*:HiddenInTheTray.*-TrayTest.WithoutATray*"
[ -n "$late" ] && default_filter="LateTrayHost.*"
filter="${2:-$default_filter}"
host="trayer --edge top --align right --widthtype pixel --width 100 --height 24"
for tool in xvfb-run trayer; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
# -noreset: a server that resets each time its last client leaves refuses
# connections meanwhile, and trayer now and then found no display.
exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash -c '
  if [ -n "$4" ]; then
    export QLT_LATE_TRAY_HOST="$3"
  else
    $3 & host=$!
    trap "kill $host 2>/dev/null || true" EXIT
    for _ in $(seq 50); do xprop -root _NET_SYSTEM_TRAY_S0 >/dev/null 2>&1 && break; sleep 0.1; done
    sleep 0.5
  fi
  log=$(QT_QPA_PLATFORM=xcb "$1" --gtest_filter="$2" 2>&1) || { echo "$log"; exit 1; }
  echo "$log"
  grep -q "^\[  PASSED  \] [1-9]" <<<"$log" && ! grep -q "^\[  SKIPPED \]" <<<"$log"
' _ "$tests" "$filter" "$host" "$late"
