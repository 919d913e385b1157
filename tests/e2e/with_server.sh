#!/usr/bin/env bash
# Runs a test program against the real game server on 127.0.0.1:113 with
# three computer players at every table, playing at once (the client keeps
# its own pauses):
#   with_server.sh SERVER TEST-COMMAND...
set -euo pipefail
server="$1"
shift
"$server" --bind 127.0.0.1 --port 113 --bots 3 --seed 7 --bot-delay 0 --log-level warn &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true' EXIT
for _ in $(seq 50); do   # up to five seconds for the port to open
    kill -0 "$pid" 2>/dev/null || { echo "the server did not start"; exit 1; }
    (exec 3<>/dev/tcp/127.0.0.1/113) 2>/dev/null && break
    sleep 0.1
done
"$@"
