#!/usr/bin/env bash
# OAuth2 sign-in for the live Dovecot: the SASL mechanisms that carry a bearer
# token, checked by an oauth2 passdb that asks the authorization server's
# introspection endpoint (RFC 7662, token posted as a form). The password
# users keep their passwd-file passdb, which is asked first.
#
#   dovecot-oauth.sh DIR URL    URL: the authorization server, http://127.0.0.1:PORT
#
# Called by dovecot.sh when QLT_DOVECOT_OAUTH_URL is set.
set -euo pipefail

[ $# -eq 2 ] || { echo "usage: dovecot-oauth.sh DIR URL" >&2; exit 1; }
dir="$1"
url="$2"

cat >"$dir/oauth2.conf.ext" <<CONF
introspection_mode = post
introspection_url = $url/introspect
username_attribute = username
active_attribute = active
active_value = true
timeout_msecs = 5000
CONF
chmod 0644 "$dir/oauth2.conf.ext"

cat >>"$dir/dovecot.conf" <<CONF
auth_mechanisms = plain xoauth2 oauthbearer
passdb {
  driver = oauth2
  mechanisms = xoauth2 oauthbearer
  args = $dir/oauth2.conf.ext
}
CONF
