#!/usr/bin/env bash
# Plays a whole game on the client that './lerva play' starts, the way a
# person starts it, then checks that closing the client stopped the server:
#   through_play.sh TEST-COMMAND...
# The test program finds the client's window by its title (LERVA_ATTACH) and
# ends by closing the client.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
server_of_play="lerva-server --bind 127.0.0.1 --port 113 "
if pgrep -f -- "$server_of_play" >/dev/null; then
    echo "a server from an earlier './lerva play' is still running"; exit 1
fi
"$root/lerva" play --seed 7 --bot-delay 0 --log-level warn &
play=$!
trap 'kill "$play" 2>/dev/null; wait "$play" 2>/dev/null' EXIT
LERVA_ATTACH="Lerva 1.1" "$@"
status=$?
for _ in $(seq 300); do kill -0 "$play" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$play" 2>/dev/null; then
    echo "FAIL: './lerva play' is still running 30 s after its client closed"; status=1
fi
wait "$play" 2>/dev/null
if pgrep -f -- "$server_of_play" >/dev/null; then
    echo "FAIL: the client closed, and the server of './lerva play' is still running"; status=1
    pkill -f -- "$server_of_play"
fi
exit "$status"
