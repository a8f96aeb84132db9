#!/usr/bin/env bash
# A private Dovecot POP3 server on 127.0.0.1 for the live tests.
#
#   dovecot.sh start DIR [PORT]   PORT 0 or absent: pick a free one; the port is written to DIR/port
#   dovecot.sh stop DIR
#
# Everything lives in a private temporary folder of the instance's own, which
# DIR links to: configuration, runtime and state folders, log, users and their
# maildirs (filled afresh from mail/*.eml at every start; the spare users start
# empty, for tests that write their own mail). The mail belongs to an
# unprivileged user when we run as root, and that user must reach it: a
# checkout under /root or a 0700 home folder would not let it, the temporary
# folder does. stop removes the folder and the link.
# With QLT_DOVECOT_TLS=1 in the environment ssl is on as well: STLS on the
# plain listener and a POP3S listener (see dovecot-tls.sh; its port in DIR/pop3s-port).
# With QLT_DOVECOT_OAUTH_URL=http://127.0.0.1:PORT it takes OAuth2 bearer
# tokens too, checked with that authorization server (see oauth/dovecot-oauth.sh).
# No system path or system instance is touched.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
users=(ann bob)
spare_users=(carl dora erin fred gina hal ivan)
password=qlt-live-pw

die() { echo "dovecot.sh: $*" >&2; exit 1; }

find_dovecot() {
  local d
  d="$(command -v dovecot || true)"
  [ -z "$d" ] && [ -x /usr/sbin/dovecot ] && d=/usr/sbin/dovecot
  [ -n "$d" ] || die "dovecot not found: install dovecot-core and dovecot-pop3d"
  [ -x /usr/lib/dovecot/pop3 ] || [ -x /usr/libexec/dovecot/pop3 ] || die "the pop3 service is missing: install dovecot-pop3d"
  echo "$d"
}

# Listening on 127.0.0.1:port (state 0A in /proc/net/tcp)?
listening() {
  local hex
  hex=$(printf '%04X' "$1")
  grep -qE "^ *[0-9]+: 0100007F:${hex} 00000000:0000 0A" /proc/net/tcp
}

port_in_use() {
  local hex
  hex=$(printf '%04X' "$1")
  grep -qiE "^ *[0-9]+: [0-9A-F]+:${hex} " /proc/net/tcp /proc/net/tcp6 2>/dev/null
}

pick_port() {
  local p i
  for i in $(seq 1 100); do
    p=$((20000 + RANDOM % 40000))
    port_in_use "$p" || { echo "$p"; return; }
  done
  die "no free port found"
}

# Mail must belong to an unprivileged user when we are root: Dovecot will not
# read mail as root.
mail_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    echo "$(id -u nobody) $(id -g nobody)"
  else
    echo "$(id -u) $(id -g)"
  fi
}

traversable() {
  local d="$1"
  while [ "$d" != "/" ]; do
    [ "$(( 0$(stat -c '%a' "$d") & 1 ))" -eq 1 ] || return 1
    d="$(dirname "$d")"
  done
}

# The folder an instance lives in: TMPDIR when others can reach it, else /tmp.
make_instance_dir() {
  local base="${TMPDIR:-/tmp}" made
  { [ -d "$base" ] && traversable "$(cd "$base" && pwd -P)"; } || base=/tmp
  made="$(mktemp -d "$base/qlt-dovecot.XXXXXXXX")" || die "cannot make a folder in $base"
  chmod 0755 "$made"
  echo "$made"
}

# DIR as an earlier run left it: a link to an instance, or a folder of the
# older layout that held the instance itself.
clear_link() {
  local link="$1"
  if [ -L "$link" ]; then
    stop "$link"
  elif [ -d "$link" ]; then
    [ -f "$link/run/master.pid" ] && stop_instance "$link"
    { [ -f "$link/dovecot.conf" ] || [ -z "$(ls -A "$link")" ]; } ||
      die "$link is a folder that holds no test instance; not replacing it"
    rm -rf "$link"
  fi
}

write_maildirs() {
  local dir="$1" uid="$2" gid="$3" user n f
  rm -rf "$dir/mail"
  for user in "${users[@]}"; do
    mkdir -p "$dir/mail/$user/Maildir"/{cur,new,tmp}
    n=0
    for f in "$here"/mail/*.eml; do
      n=$((n + 1))
      cp "$f" "$dir/mail/$user/Maildir/cur/$((1700000000 + n)).M${n}P1.qlt:2,S"
    done
  done
  for user in "${spare_users[@]}"; do
    mkdir -p "$dir/mail/$user/Maildir"/{cur,new,tmp}
  done
  chown -R "$uid:$gid" "$dir/mail"
  chmod -R u+rwX,go-rwx "$dir/mail"
  chmod 0755 "$dir/mail"
}

write_config() {
  local dir="$1" port="$2" uid="$3" gid="$4" internal login user
  if [ "$(id -u)" -eq 0 ]; then
    internal=dovecot
    login=dovenull
    getent passwd dovecot >/dev/null || internal=nobody
    getent passwd dovenull >/dev/null || login=nobody
  else
    internal="$(id -un)"
    login="$(id -un)"
  fi
  : >"$dir/users"
  for user in "${users[@]}" "${spare_users[@]}"; do
    echo "$user:{PLAIN}$password:$uid:$gid::$dir/mail/$user::" >>"$dir/users"
  done
  chmod 0644 "$dir/users"
  cat >"$dir/dovecot.conf" <<CONF
instance_name = qlt-live-$port
base_dir = $dir/run
state_dir = $dir/state
log_path = $dir/dovecot.log
listen = 127.0.0.1
protocols = pop3
ssl = no
disable_plaintext_auth = no
auth_mechanisms = plain
auth_failure_delay = 0
default_internal_user = $internal
default_login_user = $login
first_valid_uid = 1
mail_location = maildir:~/Maildir
pop3_uidl_format = %08Xu%08Xv
passdb {
  driver = passwd-file
  args = scheme=PLAIN username_format=%u $dir/users
}
userdb {
  driver = passwd-file
  args = username_format=%u $dir/users
}
service pop3-login {
  chroot =
  inet_listener pop3 {
    address = 127.0.0.1
    port = $port
  }
  inet_listener pop3s {
    port = 0
  }
}
service auth-worker {
  user = $internal
}
# A refused password must not slow down the next tests' logins.
service anvil {
  unix_listener anvil-auth-penalty {
    mode = 0
  }
}
CONF
}

start() {
  local link="$1" port="${2:-0}" dovecot dir uid gid i
  dovecot="$(find_dovecot)"
  clear_link "$link"
  mkdir -p "$(dirname "$link")"
  dir="$(make_instance_dir)"
  ln -s "$dir" "$link"
  [ "$port" = 0 ] && port="$(pick_port)"
  read -r uid gid < <(mail_owner)
  # A stale socket in the runtime folder stalls the first login.
  rm -rf "$dir/run" "$dir/state"
  mkdir -p "$dir/run" "$dir/state"
  rm -f "$dir/dovecot.log"
  write_maildirs "$dir" "$uid" "$gid"
  write_config "$dir" "$port" "$uid" "$gid"
  [ "${QLT_DOVECOT_TLS:-0}" = 1 ] && bash "$here/dovecot-tls.sh" "$dir" "$port" "$(pick_port)"
  [ -n "${QLT_DOVECOT_OAUTH_URL:-}" ] && bash "$here/oauth/dovecot-oauth.sh" "$dir" "$QLT_DOVECOT_OAUTH_URL"
  echo "$port" >"$dir/port"
  # The daemon must not hold the caller's output open: ctest waits for it to close.
  "$dovecot" -c "$dir/dovecot.conf" </dev/null >"$dir/start.out" 2>&1 ||
    { cat "$dir/start.out" "$dir/dovecot.log" 2>/dev/null >&2; die "dovecot did not start"; }
  # Wait for the listener without connecting to it: a connect closed at once
  # can hang the master.
  for i in $(seq 1 200); do
    listening "$port" && { echo "dovecot listening on 127.0.0.1:$port (pid $(cat "$dir/run/master.pid"))"; return; }
    sleep 0.05
  done
  cat "$dir/dovecot.log" >&2 || true
  stop "$link"
  die "dovecot is not listening on 127.0.0.1:$port"
}

stop() {
  local link="$1" dir
  [ -L "$link" ] || return 0
  dir="$(readlink "$link")"
  rm -f "$link"
  [ -d "$dir" ] || return 0
  stop_instance "$dir"
  case "$(basename "$dir")" in qlt-dovecot.*) rm -rf "$dir" ;; esac
}

stop_instance() {
  local dir="$1" pid i
  [ -f "$dir/run/master.pid" ] || return 0
  pid="$(cat "$dir/run/master.pid")"
  # The master leads its own process group (it daemonises), with its services.
  leads_group=no
  [ "$(ps -o pgid= -p "$pid" | tr -d ' ')" = "$pid" ] && leads_group=yes
  kill -TERM "$pid" 2>/dev/null || true
  for i in $(seq 1 100); do
    if ! kill -0 "$pid" 2>/dev/null; then
      # Open sessions outlive the master; a stopped server serves no one.
      [ "$leads_group" = yes ] && { kill -TERM -- "-$pid" 2>/dev/null || true; }
      rm -f "$dir/run/master.pid"
      return 0
    fi
    sleep 0.05
  done
  if [ "$leads_group" = yes ]; then
    kill -KILL -- "-$pid" 2>/dev/null || true
  else
    kill -KILL "$pid" 2>/dev/null || true
  fi
  rm -f "$dir/run/master.pid"
}

case "${1:-}" in
  start) [ $# -ge 2 ] || die "usage: dovecot.sh start DIR [PORT]"; start "$2" "${3:-0}" ;;
  stop) [ $# -ge 2 ] || die "usage: dovecot.sh stop DIR"; stop "$2" ;;
  *) die "usage: dovecot.sh start|stop DIR [PORT]" ;;
esac
