#!/usr/bin/env bash
# The OAuth2 side of the live tests: the authorization server of authserver.py,
# a private Dovecot that checks bearer tokens with it, and a plain one that
# knows passwords only.
#
#   oauth-live.sh start DIR   ports in DIR/authserver-port, DIR/dovecot/port, DIR/plain/port
#   oauth-live.sh stop DIR
#
# The server runs in the background with its output in DIR/authserver.log and
# ends by itself after half an hour should stop never come.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
die() { echo "oauth-live.sh: $*" >&2; exit 1; }

start() {
  local dir="$1" i port
  stop "$dir"
  mkdir -p "$dir"
  command -v python3 >/dev/null || die "python3 not found"
  # Without setsid the server would share ctest's process group, and ctest
  # would wait for its output to close.
  setsid python3 "$here/authserver.py" "$dir" </dev/null >"$dir/authserver.log" 2>&1 &
  echo $! >"$dir/authserver.pid"
  for i in $(seq 1 200); do
    [ -s "$dir/authserver-port" ] && break
    kill -0 "$(cat "$dir/authserver.pid")" 2>/dev/null || { cat "$dir/authserver.log" >&2; die "the authorization server ended"; }
    sleep 0.05
  done
  [ -s "$dir/authserver-port" ] || { stop "$dir"; die "the authorization server did not start"; }
  port="$(cat "$dir/authserver-port")"
  echo "authorization server on 127.0.0.1:$port (pid $(cat "$dir/authserver.pid"))"
  QLT_DOVECOT_OAUTH_URL="http://127.0.0.1:$port" bash "$here/../dovecot.sh" start "$dir/dovecot" 0 ||
    { stop "$dir"; die "the OAuth2 Dovecot did not start"; }
  bash "$here/../dovecot.sh" start "$dir/plain" 0 || { stop "$dir"; die "the plain Dovecot did not start"; }
}

stop() {
  local dir="$1" pid
  [ -d "$dir" ] || return 0
  bash "$here/../dovecot.sh" stop "$dir/dovecot"
  bash "$here/../dovecot.sh" stop "$dir/plain"
  if [ -f "$dir/authserver.pid" ]; then
    pid="$(cat "$dir/authserver.pid")"
    kill -TERM "$pid" 2>/dev/null || true
    rm -f "$dir/authserver.pid"
  fi
  rm -f "$dir/authserver-port"
}

case "${1:-}" in
  start) [ $# -eq 2 ] || die "usage: oauth-live.sh start DIR"; start "$2" ;;
  stop) [ $# -eq 2 ] || die "usage: oauth-live.sh stop DIR"; stop "$2" ;;
  *) die "usage: oauth-live.sh start|stop DIR" ;;
esac
