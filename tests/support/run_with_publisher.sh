#!/usr/bin/env bash
# Runs a Windows test program under Wine beside the local publisher (tools/publisher, a Linux
# program) on a free port of 127.0.0.1. The program learns the port from VP_PUBLISHER_PORT and
# the publisher's request log from VP_PUBLISHER_LOG (a Wine path). The publisher is the native
# build's (build/native/bin/publisher, or VP_PUBLISHER); it is built here when it is missing or
# too old to take a raw update reply.
#   run_with_publisher.sh [--with-proxy] <program> [arguments...]
# --with-proxy also starts one tinyproxy instance (scripts/proxies) that the publisher hands
# out as the only, German, proxy; the program learns its port from VP_PROXY_PORT and its log
# from VP_PROXY_LOG. The test is skipped (77) when tinyproxy or xdotool is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
with_proxy=0
if [ "${1:-}" = --with-proxy ]; then
    with_proxy=1
    shift
    for tool in tinyproxy xdotool python3; do
        if ! command -v "$tool" >/dev/null; then
            echo "run_with_publisher: $tool is not installed; skipped"
            exit 77
        fi
    done
fi
publisher=${VP_PUBLISHER:-$root/build/native/bin/publisher}
usage=$("$publisher" --help 2>/dev/null || true)
if [[ $usage != *update_body* ]]; then
    echo "run_with_publisher: building $publisher" >&2
    mkdir -p "$root/build"
    # Two wrappers at once must not build the same folder together.
    (cd "$root" && flock build/.publisher-build.lock bash -c \
        'cmake --preset native >/dev/null && cmake --build --preset native --target publisher >/dev/null') >&2
fi

work=$(mktemp -d)
server_pid=
program_pid=
proxies_started=0
cleanup() {
    [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
    if [ -n "$server_pid" ]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
    if [ "$proxies_started" = 1 ]; then "$root/scripts/proxies" stop "$work/proxies" >/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
# A stopped test (ctest's timeout) still takes the publisher down with it.
trap 'exit 143' TERM INT

# What the publisher answers until a test changes it through /control.
if [ "$with_proxy" = 1 ]; then
    proxy_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    proxies_started=1
    "$root/scripts/proxies" start "$work/proxies" "$proxy_port" >/dev/null
    export VP_PROXY_PORT=$proxy_port VP_PROXY_LOG="Z:$work/proxies/tinyproxy-$proxy_port.log"
    cat >"$work/publisher.conf" <<CONF
[server]
flags = $root/data/res/flag_short

[update]
magicword = Veilport
normal = 127.0.0.1:$proxy_port|Germany|DE|10|51
result = 0

[location]
ip = 203.0.113.10
country_short = US
country_long = United States
city = Denver
CONF
else
    cat >"$work/publisher.conf" <<'CONF'
[update]
magicword = Veilport
normal = 127.0.0.1:8901|United States|US|-97|38
normal = 127.0.0.1:8903|Cote d'Ivoire|CI|-5|8
super = 127.0.0.1:8904|Germany|DE|10|51
result = 1
info = Veilport 2 is out
page = %base%/files/setup.exe
CONF
fi
: >"$work/publisher.out" # there before the background start opens it, for the reads below
"$publisher" --config "$work/publisher.conf" --port 0 --log "$work/requests.log" >"$work/publisher.out" 2>&1 &
server_pid=$!
port=
for _ in $(seq 200); do
    port=$(sed -n 's/^publisher: listening on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/publisher.out")
    [ -n "$port" ] && break
    kill -0 "$server_pid" 2>/dev/null || break
    sleep 0.05
done
if [ -z "$port" ]; then
    echo "run_with_publisher: the publisher did not start:" >&2
    cat "$work/publisher.out" >&2
    exit 1
fi

export VP_PUBLISHER_PORT=$port VP_PUBLISHER_URL="http://127.0.0.1:$port" VP_PUBLISHER_LOG="Z:$work/requests.log"
wine "$@" &
program_pid=$!
status=0
wait "$program_pid" || status=$?
program_pid=
exit "$status"
