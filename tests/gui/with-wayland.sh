#!/usr/bin/env bash
# Runs the GUI test program once more under a headless Wayland compositor
# (weston) with no X server to fall back on, on a private session bus with
# the tests' own notification service. What Wayland cannot do skips with the
# reason; a compositor that does not start, or a run that passes nothing, fails.
#   with-wayland.sh PATH-TO-qlt_gui_tests [GTEST-FILTER [GTEST-FILTER-WITH-A-TRAY]]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
tests="$1"
filter="${2:-*}"
tray_filter="${3:-TrayTest.*:HiddenInTheTray.*:NoticesOnAPrivateBus.*}"
for tool in weston dbus-run-session; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done

# A runtime folder of our own (mktemp makes it private, as the compositor
# wants), so the socket can meet no other compositor.
runtime="$(mktemp -d "${TMPDIR:-/tmp}/qlt-wayland.XXXXXX")"
socket=qlt-wayland
compositor=
stop() {
  if [ -n "$compositor" ]; then
    kill "$compositor" 2>/dev/null || true
    wait "$compositor" 2>/dev/null || true
  fi
  rm -rf "$runtime"
}
trap stop EXIT

XDG_RUNTIME_DIR="$runtime" weston --backend=headless-backend.so --socket="$socket" --no-config \
  --idle-time=0 --log="$runtime/weston.log" &
compositor=$!
for _ in $(seq 100); do
  [ -S "$runtime/$socket" ] && break
  kill -0 "$compositor" 2>/dev/null || break
  sleep 0.1
done
if [ ! -S "$runtime/$socket" ]; then
  echo "weston did not start (its log follows, if it wrote one)" >&2
  cat "$runtime/weston.log" >&2 2>/dev/null || true
  exit 1
fi

# Runs the program on the compositor, on a fresh private bus, with the
# filter given and the variables given; prints what it printed into $log.
# The compose input method stands in for the compositor's text input: on the
# headless compositor, Qt 6.4's Wayland text input now and then crashed while
# a line edit drew its cursor (in QWaylandInputDevice::textInput, on no seat).
run() {
  local status=0
  log=$(env -u DISPLAY XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland \
    QT_IM_MODULE=compose \
    QLT_PRIVATE_SESSION_BUS=1 "${@:2}" dbus-run-session --config-file="$here/private-bus.conf" -- \
    "$tests" --gtest_filter="$1" 2>&1) || status=$?
  echo "$log"
  [ "$status" -eq 0 ] && grep -q "^\[  PASSED  \] [1-9]" <<<"$log"
}
# Every case without a tray, then the tray's cases again with a
# StatusNotifierItem host of the tests' own on the bus; there, no case may
# find the tray missing.
run "$filter"
run "$tray_filter" QLT_TEST_TRAY_HOST=1
if grep -q "the desktop has no system tray" <<<"$log"; then
  echo "the tests' tray host did not answer: the tray's cases skipped" >&2
  exit 1
fi
