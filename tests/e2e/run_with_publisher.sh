#!/usr/bin/env bash
# Runs a Windows test program under Wine beside the local publisher and one tinyproxy
# instance (scripts/proxies), all on 127.0.0.1. The publisher hands out that proxy as the only
# German proxy. The program learns the addresses from VP_PUBLISHER_URL, VP_PROXY_PORT and
# VP_PROXY_LOG (the proxy's log, as a Wine path).
#   run_with_publisher.sh <test program> <publisher>
# Exits 77 (skipped) when tinyproxy, xdotool, python3 or the publisher (the native build's
# tools/publisher) is missing.
set -euo pipefail
program=$1
publisher=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
for tool in tinyproxy xdotool python3; do
    if ! command -v "$tool" >/dev/null; then
        echo "run_with_publisher: $tool is not installed; skipped"
        exit 77
    fi
done
if [ ! -x "$publisher" ]; then
    echo "run_with_publisher: $publisher is not built (cmake --build --preset native --target publisher); skipped"
    exit 77
fi

work=$(mktemp -d)
publisher_pid=
proxies_started=0
cleanup() {
    if [ -n "$publisher_pid" ]; then
        kill "$publisher_pid" 2>/dev/null || true
        wait "$publisher_pid" 2>/dev/null || true
    fi
    if [ "$proxies_started" = 1 ]; then "$root/scripts/proxies" stop "$work/proxies" >/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

proxy_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
proxies_started=1
"$root/scripts/proxies" start "$work/proxies" "$proxy_port" >/dev/null

cat >"$work/publisher.conf" <<CONF
[server]
port = 0
log = $work/requests.log
flags = $root/data/res/flag_short

[update]
magicword = Veilport
normal = 127.0.0.1:$proxy_port|Germany|DE|10|51
super_touch = %base%/touch?ip={1}
result = 0

[location]
ip = 203.0.113.10
country_short = US
country_long = United States
city = Denver

[pages]
title = Veilport
CONF
"$publisher" --config "$work/publisher.conf" >"$work/publisher.log" 2>&1 &
publisher_pid=$!
port=
for _ in $(seq 100); do
    port=$(sed -n 's/^publisher: listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/publisher.log")
    [ -n "$port" ] && break
    sleep 0.1
done
if [ -z "$port" ]; then
    echo "run_with_publisher: the publisher did not start" >&2
    cat "$work/publisher.log" >&2
    exit 1
fi

export VP_PUBLISHER_URL="http://127.0.0.1:$port" VP_PROXY_PORT=$proxy_port
export VP_PROXY_LOG="Z:$work/proxies/tinyproxy-$proxy_port.log"
wine "$program"
