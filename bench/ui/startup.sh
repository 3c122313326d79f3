#!/usr/bin/env bash
# Measures the start-up of the desktop program: from starting the process to the end of the
# first paint of its main window (the program built with test hooks records that moment in its
# state file). Runs the program N times (default 15) under a private Xvfb and prints every time
# and the median, in milliseconds.
#   bench/ui/startup.sh [BUILD-DIR] [N]      (default build dir: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
runs=${2:-15}
program=$build/src/ui/keyvet
[ -x "$program" ] || { echo "startup.sh: no program at $program" >&2; exit 2; }

work=$(mktemp -d)
xvfb=
trap '[ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$work/display")"
# A settings folder of its own: the user's settings must neither be read nor change the figure.
export XDG_CONFIG_HOME=$work/config

times=()
for i in $(seq "$runs"); do
    rm -f "$work/state"
    start=$(date +%s%N)
    KEYVET_STATE_FILE="$work/state" "$program" >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 400); do [ -f "$work/state" ] && break; sleep 0.01; done
    painted=$(grep -m1 '^FirstPaint=' "$work/state" | cut -d= -f2)
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    ms=$(( (painted - start) / 1000000 ))
    times+=("$ms")
    echo "run $i: $ms ms"
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END{print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}')
echo "median start-up to first painted main window: $median ms over $runs runs"
