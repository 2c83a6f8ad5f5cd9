#!/usr/bin/env bash
# Runs a Windows test program under Wine with two HTTPS servers on 127.0.0.1 beside it:
# one with a certificate for 127.0.0.1, one with a certificate for another host name, both
# issued by a test authority made here. The program learns the ports and the authority's
# certificate from VP_HTTPS_GOOD_PORT, VP_HTTPS_WRONG_PORT and VP_HTTPS_CA.
# Exits 77 (skipped) when openssl or python3 is missing.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
for tool in openssl python3; do
    if ! command -v "$tool" >/dev/null; then
        echo "run_with_https_servers: $tool is not installed; skipped"
        exit 77
    fi
done

work=$(mktemp -d)
server_pid=
cleanup() {
    if [ -n "$server_pid" ]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

cd "$work"
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 -subj "/CN=Veilport Test Authority" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
issue() { # name common-name [subject-alternative-names]
    openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "/CN=$2" 2>/dev/null
    printf 'basicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\nkeyUsage=digitalSignature,keyEncipherment\n' >"$1.ext"
    if [ -n "${3:-}" ]; then printf 'subjectAltName=%s\n' "$3" >>"$1.ext"; fi
    openssl x509 -req -in "$1.csr" -CA ca.pem -CAkey ca.key -CAcreateserial -out "$1.pem" -days 2 \
        -extfile "$1.ext" 2>/dev/null
}
# Wine's name check reads the common name (it does not match address entries).
issue good 127.0.0.1
issue wrong wrong.example "DNS:wrong.example"

python3 "$here/https_servers.py" "$work" &
server_pid=$!
for _ in $(seq 200); do
    [ -f "$work/https.ports" ] && break
    sleep 0.05
done
read -r good wrong <"$work/https.ports"

export VP_HTTPS_GOOD_PORT=$good VP_HTTPS_WRONG_PORT=$wrong VP_HTTPS_CA="Z:$work/ca.pem"
wine "$program"
