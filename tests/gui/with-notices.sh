#!/usr/bin/env bash
# Runs the notice cases of the GUI test program on a private session bus
# (no service started on demand, so only the tests' own notification service
# answers), on the private X server with a tray host of with-tray.sh; a skip
# here fails.
#   with-notices.sh PATH-TO-qlt_gui_tests
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
command -v dbus-run-session >/dev/null || {
  echo "dbus-run-session is missing (scripts/setup.sh installs it)" >&2
  exit 1
}
export QLT_PRIVATE_SESSION_BUS=1
exec dbus-run-session --config-file="$here/private-bus.conf" -- \
  bash "$here/with-tray.sh" "$1" "NoticesOnAPrivateBus.*:DesktopNotices.*"
