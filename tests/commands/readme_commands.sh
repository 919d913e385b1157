#!/usr/bin/env bash
# Runs the README's commands the way a newcomer types them, each in a short
# form, and fails if any of them fails:
#   readme_commands.sh CLIENT-BITS WIN-TREE
# CLIENT-BITS (32 or 64) and WIN-TREE (the build folder of that client) are
# the client this machine runs; the e2e test program there finds the
# client's window. Runs inside a virtual screen (./lerva test starts one).
# The whole game through './lerva play' is the e2e test (through_play.sh);
# here 'play' is ended by Ctrl-C and by SIGTERM instead. LERVA_ONLY=WORD
# runs only the checks whose name holds WORD.
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BITS="$1"
WIN_TREE="$2"
LERVA="$ROOT/lerva"
WORK="$(mktemp -d "${TMPDIR:-/tmp}/lerva-commands.XXXXXX")"
trap 'rm -rf "$WORK"' EXIT
failures=()

# check NAME COMMAND...: runs one check, its output in $WORK/NAME.log.
check() {
    local name="$1" log="$WORK/${1//[^a-z0-9]/_}.log" start=$SECONDS
    shift
    # LERVA_ONLY=WORD runs only the checks whose name holds WORD.
    [[ -z "${LERVA_ONLY:-}" || "$name" == *"$LERVA_ONLY"* ]] || return 0
    printf '  %-34s ' "$name"
    if "$@" >"$log" 2>&1; then
        printf 'ok (%d s)\n' $((SECONDS - start))
    else
        printf 'FAILED (%d s)\n' $((SECONDS - start))
        tail -n 25 "$log" | sed 's/^/      | /'
        failures+=("$name")
    fi
}

server_help() {
    "$LERVA" server --help >"$WORK/help.txt" || return 1
    cat "$WORK/help.txt"
    grep -q -- '--port' "$WORK/help.txt" && grep -q -- '--bots' "$WORK/help.txt"
}

# The one server 'play' starts, by its command line.
play_server_running() { pgrep -f -- "lerva-server --bind 127.0.0.1 --port 113 " >/dev/null; }

port_open() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

# await_port PORT PID TENTHS: true once 127.0.0.1:PORT takes connections;
# says why not if process PID ends first or TENTHS tenths of a second pass.
await_port() {
    local waited=0
    until port_open "$1"; do
        kill -0 "$2" 2>/dev/null && [ "$waited" -lt "$3" ] || { echo "nothing listens on 127.0.0.1:$1"; return 1; }
        sleep 0.1; waited=$((waited + 1))
    done
}

# A player who joins the server 'play' started is dealt cards at once: three
# computer players sit at the table.
three_bots_seat_a_newcomer() {
    python3 - <<'EOF'
import socket, sys, time
def block(text): return text.encode().ljust(128, b"\0")
s = socket.create_connection(("127.0.0.1", 113), timeout=20)
s.sendall(block("Kontroll") + block("join"))
got, names, deadline = b"", 0, time.time() + 20
while time.time() < deadline:
    data = s.recv(4096)
    if not data: break
    got += data
    while len(got) >= 128:
        b, got = got[:128], got[128:]
        if b.startswith(b"name "): names += 1
        if names == 3 and len(b.rstrip(b"\0")) == 18 and b[:18].isdigit():
            print("dealt a hand after three names"); sys.exit(0)
print("no deal with three computer players within 20 s"); sys.exit(1)
EOF
}

# The address 'play' prints serves the web table's page.
web_table_served() {
    python3 -c 'import sys, urllib.request
page = urllib.request.urlopen("http://127.0.0.1:8113/", timeout=10).read().decode()
sys.exit(0 if "id=\"name\"" in page else "http://127.0.0.1:8113/ serves no page with the name field")'
}

# play_then SIGNAL TARGET: starts './lerva play' as a terminal would (its own
# process group, Ctrl-C not ignored), waits for the window and the server,
# sends SIGNAL to the script alone (TARGET=script) or to the whole group as
# Ctrl-C does (TARGET=group), and checks that no server is left.
play_then() {
    local signal="$1" target="$2"
    play_server_running && { echo "a server from an earlier 'play' is still running"; return 1; }
    python3 -c 'import os, signal, sys
signal.signal(signal.SIGINT, signal.SIG_DFL)
os.setsid()
os.execv(sys.argv[1], sys.argv[1:])' "$LERVA" play &
    local play=$! ok=0 waited=0
    # 'play' builds first, so its server may take a while to listen.
    await_port 113 "$play" 3000 || ok=1
    LERVA_ATTACH="Lerva 1.1" "$ROOT/tools/wine-run" "$BITS" "$WIN_TREE/tests/e2e/e2e_tests.exe" \
        --gtest_filter='PlayStart.*' || ok=1
    [ "$ok" -eq 0 ] && [ "$target" = script ] && { three_bots_seat_a_newcomer || ok=1; }
    [ "$ok" -eq 0 ] && [ "$target" = script ] && { web_table_served || ok=1; }
    if [ "$target" = group ]; then kill -"$signal" -- "-$play"; else kill -"$signal" "$play"; fi
    waited=0
    while kill -0 "$play" 2>/dev/null && [ "$waited" -lt 300 ]; do sleep 0.1; waited=$((waited + 1)); done
    if kill -0 "$play" 2>/dev/null; then
        echo "'./lerva play' did not end within 30 s of SIG$signal"
        kill -KILL -- "-$play" 2>/dev/null
        ok=1
    fi
    wait "$play" 2>/dev/null
    if play_server_running; then
        echo "SIG$signal to 'play' left its lerva-server running"
        pkill -f -- "lerva-server --bind 127.0.0.1 --port 113 "
        ok=1
    fi
    return "$ok"
}

# './lerva server --bots 3 --web-port 8113 --log-dir DIR' serves the web
# table at / and the recorded games at /review, and stops on SIGTERM.
web_server() {
    local records="$WORK/games"
    "$LERVA" server --bots 3 --web-port 8113 --log-dir "$records" &
    local server=$! ok=0
    await_port 8113 "$server" 1200 || ok=1
    [ "$ok" -eq 0 ] && { web_table_served || ok=1; }
    [ "$ok" -eq 0 ] && python3 -c 'import sys, urllib.request
page = urllib.request.urlopen("http://127.0.0.1:8113/review", timeout=10).read().decode()
sys.exit(0 if "<html" in page.lower() else "http://127.0.0.1:8113/review serves no page")' || ok=1
    kill -TERM "$server"
    wait "$server" || { echo "the server did not stop cleanly on SIGTERM"; ok=1; }
    return "$ok"
}

web_screenshots() {
    "$LERVA" screenshot --web "$WORK/img" || return 1
    local picture
    for picture in web-desktop web-phone review; do
        [ "$(head -c 8 "$WORK/img/$picture.png" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
            { echo "no picture $WORK/img/$picture.png"; return 1; }
    done
}

screenshot() {
    "$LERVA" screenshot "$WORK/table.png" || return 1
    [ "$(head -c 8 "$WORK/table.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
        { echo "$WORK/table.png is not a PNG picture"; return 1; }
}

dist() {
    local zip
    rm -f "$ROOT"/dist/lerva-*-windows.zip
    "$LERVA" dist || return 1
    zip="$(ls "$ROOT"/dist/lerva-*-windows.zip 2>/dev/null)"
    [ -s "$zip" ] || { echo "./lerva dist wrote no package"; return 1; }
}

echo "the README's commands, as typed (short forms):"
check "./lerva server --help" server_help
check "./lerva play, then Ctrl-C" play_then INT group
check "./lerva play, then SIGTERM" play_then TERM script
check "./lerva server --web-port --log-dir" web_server
check "./lerva screenshot FILE.png" screenshot
check "./lerva screenshot --web DIR" web_screenshots
check "./lerva dist" dist
check "./lerva soak 1" "$LERVA" soak 1
check "./lerva fuzz 20" "$LERVA" fuzz 20
check "./lerva bench --deals 10" "$LERVA" bench --deals 10 --short
check "./lerva bench load --short" "$LERVA" bench load --short
if [ ${#failures[@]} -gt 0 ]; then
    echo "README commands that FAILED: ${failures[*]}"
    exit 1
fi
