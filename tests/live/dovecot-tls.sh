#!/usr/bin/env bash
# The secure side of the live Dovecot: throwaway certificates made afresh at
# every start, ssl switched on, the plain listener (offering STLS) and a POP3S
# listener on four loopback addresses, each showing a different certificate:
#
#   127.0.0.1  good: issued by the test CA for localhost and 127.0.0.1
#   127.0.0.2  issued by the test CA for another name (mail.other.invalid)
#   127.0.0.3  issued by the test CA for 127.0.0.3, expired in 2020
#   127.0.0.4  self-signed, for 127.0.0.4
#
#   dovecot-tls.sh DIR PORT POP3S-PORT
#       certificates in DIR/tls, settings appended to DIR/dovecot.conf (the
#       plain PORT is opened on the other three addresses too), POP3S-PORT
#       written to DIR/pop3s-port
#
# Called by dovecot.sh when QLT_DOVECOT_TLS is set. No private key outlives
# the test folder.
set -euo pipefail

die() { echo "dovecot-tls.sh: $*" >&2; exit 1; }

[ $# -eq 3 ] || die "usage: dovecot-tls.sh DIR PORT POP3S-PORT"
dir="$1"
port="$2"
pop3s_port="$3"
tls="$dir/tls"
command -v openssl >/dev/null || die "openssl not found"

rm -rf "$tls"
mkdir -p "$tls/db"
cd "$tls"

quiet() { "$@" >/dev/null 2>&1 || { "$@" >&2 || true; die "failed: $*"; }; }

new_key() { quiet openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out "$1.key"; }

# A certificate request for name $1 with subjectAltName $2.
new_request() {
  new_key "$1"
  quiet openssl req -new -key "$1.key" -subj "/CN=$3" -addext "subjectAltName=$2" -out "$1.csr"
}

cat >ca.cnf <<CNF
[ca]
default_ca = test_ca
[test_ca]
database = $tls/db/index.txt
new_certs_dir = $tls/db
serial = $tls/db/serial
default_md = sha256
policy = any_name
copy_extensions = copy
unique_subject = no
[any_name]
commonName = supplied
[server]
basicConstraints = critical,CA:FALSE
keyUsage = critical,digitalSignature,keyEncipherment
extendedKeyUsage = serverAuth
CNF
: >db/index.txt
echo 1000 >db/serial

new_key ca
quiet openssl req -x509 -new -key ca.key -subj "/CN=Quillgate Test CA" -days 2 -sha256 \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" -out ca.pem

# Signs request $1 with the test CA between the dates $2 and $3 (YYYYMMDDHHMMSSZ).
sign() {
  quiet openssl ca -batch -config ca.cnf -extensions server -cert ca.pem -keyfile ca.key \
    -startdate "$2" -enddate "$3" -in "$1.csr" -out "$1.pem" -notext
}

today="$(date -u -d yesterday +%Y%m%d)000000Z"
later="$(date -u -d '+2 days' +%Y%m%d)000000Z"

new_request good "DNS:localhost,IP:127.0.0.1" localhost
sign good "$today" "$later"
new_request other "DNS:mail.other.invalid" mail.other.invalid
sign other "$today" "$later"
new_request expired "IP:127.0.0.3" 127.0.0.3
sign expired 20200101000000Z 20200201000000Z
new_key selfsigned
quiet openssl req -x509 -new -key selfsigned.key -subj "/CN=127.0.0.4" -days 2 -sha256 \
  -addext "subjectAltName=IP:127.0.0.4" -out selfsigned.pem
chmod 0644 ./*.pem ./*.key

cat >>"$dir/dovecot.conf" <<CONF
ssl = yes
ssl_cert = <$tls/good.pem
ssl_key = <$tls/good.key
listen = 127.0.0.1, 127.0.0.2, 127.0.0.3, 127.0.0.4
service pop3-login {
  inet_listener pop3-more {
    address = 127.0.0.2, 127.0.0.3, 127.0.0.4
    port = $port
  }
  inet_listener pop3s {
    address = 127.0.0.1, 127.0.0.2, 127.0.0.3, 127.0.0.4
    port = $pop3s_port
  }
}
local 127.0.0.2 {
  ssl_cert = <$tls/other.pem
  ssl_key = <$tls/other.key
}
local 127.0.0.3 {
  ssl_cert = <$tls/expired.pem
  ssl_key = <$tls/expired.key
}
local 127.0.0.4 {
  ssl_cert = <$tls/selfsigned.pem
  ssl_key = <$tls/selfsigned.key
}
CONF
echo "$pop3s_port" >"$dir/pop3s-port"
