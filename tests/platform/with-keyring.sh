#!/usr/bin/env bash
# Runs the keyring cases of the platform test program against a real Secret
# Service: a keyring daemon of its own, unlocked with a test password, on a
# private session bus in a private home; then the no-keyring case with no
# session bus at all; and the command line's clean reading the keyring.
# A skip here fails.
#   with-keyring.sh PATH-TO-qlt_platform_tests PATH-TO-qlt_cli_tests
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
tests="$1"
cli_tests="$2"
for tool in dbus-run-session gnome-keyring-daemon; do
  command -v "$tool" >/dev/null || {
    echo "$tool is missing (scripts/setup.sh installs it)" >&2
    exit 1
  }
done
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/runtime" && chmod 700 "$home/runtime"

run_cases() {
  local output
  output="$("$@" 2>&1)" || { echo "$output"; return 1; }
  echo "$output"
  ! grep -q '\[  SKIPPED \]' <<<"$output" && grep -q '\[  PASSED  \] [1-9]' <<<"$output"
}

cat >"$home/on-bus.sh" <<'INNER'
set -euo pipefail
# The daemon forks into the background and ends with the bus.
echo -n test | gnome-keyring-daemon --unlock --components=secrets >/dev/null
export QLT_KEYRING_BUS=1
# The command line first: the adapter's last case locks the keyring.
"$2" --gtest_filter='CleanCli.ReadsThePasswordTheProgramKeepsInTheKeyring'
"$1" --gtest_filter='KeyringOnAPrivateBus.*'
INNER

export HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/runtime"
run_cases dbus-run-session --config-file="$here/../gui/private-bus.conf" -- bash "$home/on-bus.sh" "$tests" "$cli_tests"
run_cases env -u DBUS_SESSION_BUS_ADDRESS QLT_KEYRING_NO_BUS=1 "$tests" --gtest_filter='KeyringWithoutABus.*'
