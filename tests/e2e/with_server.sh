#!/usr/bin/env bash
# Runs a test program against a game server on 127.0.0.1 with three computer
# players at every table, playing at once (the client keeps its own pauses):
#   with_server.sh [--port N] SERVER-COMMAND... -- TEST-COMMAND...
# The server command may be a program or a loader and a program (Wine). The
# port (default 113, the client's) reaches the test as LERVA_SERVER_PORT.
set -euo pipefail
port=113
if [ "${1:-}" = --port ]; then port="$2"; shift 2; fi
server=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do server+=("$1"); shift; done
[ $# -gt 1 ] || { echo "usage: with_server.sh [--port N] SERVER-COMMAND... -- TEST-COMMAND..."; exit 2; }
shift
"${server[@]}" --bind 127.0.0.1 --port "$port" --bots 3 --seed 7 --bot-delay 0 --log-level warn &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true' EXIT
for _ in $(seq 300); do   # up to 30 seconds for the port to open (Wine starts slowly)
    kill -0 "$pid" 2>/dev/null || { echo "the server did not start"; exit 1; }
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    sleep 0.1
done
LERVA_SERVER_PORT="$port" "$@"
