#!/usr/bin/env bash
# Times this checkout's server benchmarks against an older commit's in one
# window: the older commit is built in its own worktree, and the two run
# one after the other, round by round, so that both meet the same machine
# and the same load. Run from the top of the checkout after `./lerva setup`:
#
#   bench/side_by_side.sh [--rounds N] [--filter REGEX] COMMIT
#
# The default filter is the solver's (BM_Solver); each round prints one line
# per program with the benchmarks' times and counters.
set -euo pipefail

rounds=3
filter=BM_Solver
base=""
while [ $# -gt 0 ]; do
    case "$1" in
        --rounds) rounds="${2:?--rounds wants a number}"; shift ;;
        --filter) filter="${2:?--filter wants a benchmark name pattern}"; shift ;;
        -h|--help) sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        -*) echo "side_by_side: unknown option '$1'" >&2; exit 2 ;;
        *) base="$1" ;;
    esac
    shift
done
[ -n "$base" ] || { echo "side_by_side: name the commit to compare with" >&2; exit 2; }
case "$rounds" in ''|*[!0-9]*|0) echo "side_by_side: --rounds wants a number, not '$rounds'" >&2; exit 2 ;; esac

root="$(cd "$(dirname "$0")/.." && pwd)"
commit="$(git -C "$root" rev-parse --verify --quiet "$base^{commit}")" ||
    { echo "side_by_side: '$base' is not a commit of this repository" >&2; exit 2; }
short="$(git -C "$root" rev-parse --short "$commit")"
tree="$root/build/side-by-side/$short"
jobs="$(nproc 2>/dev/null || echo 2)"

build() {   # source folder, build folder
    cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$2" -j "$jobs" --target server_bench >/dev/null
}

git -C "$root" worktree prune   # forgets worktrees whose folders were removed with build/
if [ ! -d "$tree" ]; then
    echo "==> a worktree of $short in $tree"
    git -C "$root" worktree add --detach "$tree" "$commit" >/dev/null
fi
echo "==> building $short and this checkout"
build "$tree" "$tree/build/native"
build "$root" "$root/build/native"

run() {   # label, benchmark program
    printf '%-14s' "$1"
    "$2" --benchmark_filter="$filter" 2>/dev/null | grep '^BM_' | grep -Ev '_(stddev|cv)' |
        sed 's/  */ /g' | paste -sd ';' -
}
for round in $(seq "$rounds"); do
    echo "==> round $round of $rounds"
    run "$short" "$tree/build/native/bench/server_bench"
    run "this checkout" "$root/build/native/bench/server_bench"
done
