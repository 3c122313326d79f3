# Shared steps of the end-to-end scenarios: an Xvfb of their own, the program started with the
# test-only state channel, reading its state, clicking its controls, keying, checking pixels.
set -euo pipefail

: "${KEYVET:?KEYVET must name the keyvet program}"
WORK=$(mktemp -d)
# The program keeps its history under the data home: the scenario's own, never the user's.
export XDG_DATA_HOME=$WORK/data
STATE=$WORK/state
PROGRAM_PID=
XVFB_PID=
# Seconds to wait for the program (generous: sanitizer builds start slowly).
WAIT=${KEYVET_E2E_WAIT:-30}

cleanup() {
    if [ -n "$PROGRAM_PID" ] && kill -0 "$PROGRAM_PID" 2>/dev/null; then
        kill "$PROGRAM_PID" 2>/dev/null || true
        wait "$PROGRAM_PID" 2>/dev/null || true
    fi
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -f "$WORK/program.log" ]; then
        echo "--- program output:" >&2
        cat "$WORK/program.log" >&2
    fi
    exit 1
}

# Starts Xvfb on a display number it picks itself (free by construction), 1280 x 1024 unless
# $1 gives another size ("WxH"); further arguments go to Xvfb ("-dpi 192").
start_xvfb() {
    rm -f "$WORK/display"
    # -noreset: a server resets when its last client leaves, and a step that connects then (an
    # xdotool after the program has ended) would find no display.
    Xvfb -displayfd 3 -screen 0 "${1:-1280x1024}x24" "${@:2}" -nolisten tcp -noreset \
        3>"$WORK/display" 2>"$WORK/xvfb.log" &
    XVFB_PID=$!
    for _ in $(seq 200); do
        [ -s "$WORK/display" ] && break
        sleep 0.05
    done
    [ -s "$WORK/display" ] || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
    export DISPLAY=":$(head -n1 "$WORK/display")"
}

# The program's settings folder: the test's own, never the user's.
export XDG_CONFIG_HOME=$WORK/config

# Starts the program in folder $1 (default: the work folder) with extra environment "$@" and
# waits for its first painted main window.
start_program() {
    local folder=${1:-$WORK}
    shift || true
    (cd "$folder" && exec env KEYVET_STATE_FILE="$STATE" "$@" "$KEYVET" >"$WORK/program.log" 2>&1) &
    PROGRAM_PID=$!
    for _ in $(seq $((WAIT * 20))); do
        [ -f "$STATE" ] && return 0
        kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended at start-up"
        sleep 0.05
    done
    fail "the main window was not painted within $WAIT s"
}

# Asks the running program for its state (written to $STATE).
state() {
    rm -f "$STATE"
    kill -USR1 "$PROGRAM_PID" 2>/dev/null || fail "the program is not running"
    for _ in $(seq $((WAIT * 50))); do
        [ -f "$STATE" ] && return 0
        sleep 0.02
    done
    fail "no state from the program"
}

# The value of KEY in the last state read.
value() {
    grep -m1 "^$1=" "$STATE" | cut -d= -f2- || true
}

expect() {
    local key=$1 expected=$2 actual
    actual=$(value "$key")
    [ "$actual" = "$expected" ] || fail "$key is '$actual', expected '$expected'"
}

# Reads the state until KEY has the expected value (up to $WAIT seconds).
wait_for() {
    local key=$1 expected=$2
    for _ in $(seq $((WAIT * 10))); do
        state
        [ "$(value "$key")" = "$expected" ] && return 0
        sleep 0.1
    done
    fail "$key stayed '$(value "$key")', expected '$expected'"
}

# The centre "X Y" of a control's place on screen, from the last state.
centre() {
    local rect x y w h
    rect=$(value "$1.Screen")
    [ -n "$rect" ] || fail "no $1 on screen"
    IFS=, read -r x y w h <<<"$rect"
    echo "$((x + w / 2)) $((y + h / 2))"
}

# Left-clicks a control (read from a fresh state).
click() {
    state
    local x y
    read -r x y < <(centre "$1")
    xdotool mousemove "$x" "$y" click 1
}

# Opens the main window's Help menu and picks its item number $1 (1 About, 2 Help).
menu_help() {
    click Form1.Help1
    sleep 0.3
    for _ in $(seq "$1"); do
        xdotool key Down
    done
    xdotool key Return
}

# Keys Morse with the right button: each argument is a key-down time in seconds, followed by
# a key-up time of one dit (0.06 s), or DOWN/UP for both times. A run whose spaces all last the
# same has no longer spaces to average: its analysis stops with a division by zero, so a run
# that must be analysed keys at least one longer space.
key_morse() {
    local element down up
    for element in "$@"; do
        down=${element%/*}
        up=0.06
        [ "$element" = "$down" ] || up=${element#*/}
        xdotool mousedown 3
        sleep "$down"
        xdotool mouseup 3
        sleep "$up"
    done
}

# Opens the main window's Run menu and picks its item number $1 (1 Practice text, 2 Details).
menu_run() {
    click Form1.Run1
    sleep 0.3
    for _ in $(seq "$1"); do
        xdotool key Down
    done
    xdotool key Return
}

# Waits up to $WAIT seconds for the program to end by itself and sets PROGRAM_STATUS to its exit
# status (empty while it still runs). Called in the scenario's own shell, not in $( ): only the
# shell that started the program can wait for it.
wait_for_exit() {
    PROGRAM_STATUS=
    for _ in $(seq $((WAIT * 10))); do
        if ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
            wait "$PROGRAM_PID" && PROGRAM_STATUS=0 || PROGRAM_STATUS=$?
            break
        fi
        sleep 0.1
    done
}

# Ends the program by its main window's close box, waits for it and checks that it ended
# cleanly; the next start_program starts afresh.
close_program() {
    "$KEYVET_CLOSE_WINDOW" "$(xdotool search --onlyvisible --name '^Morse Keyvet' | head -n1)"
    for _ in $(seq $((WAIT * 10))); do
        kill -0 "$PROGRAM_PID" 2>/dev/null || break
        sleep 0.1
    done
    wait "$PROGRAM_PID" || fail "the program ended with an error"
    PROGRAM_PID=
    rm -f "$STATE"  # the ended program's: the next must write its own before it is asked
}

# Keys one character's code ("." and "-") with a unit of $UNIT seconds (0.25 s unless set: long
# enough to survive a busy machine's delays), then a character gap of $GAP units (3 unless set).
key_code() {
    local element unit=${UNIT:-0.25}
    for element in $(sed 's/./& /g' <<<"$1"); do
        xdotool mousedown 3
        if [ "$element" = . ]; then sleep "$unit"; else sleep "$(echo "3 * $unit" | bc)"; fi
        xdotool mouseup 3
        sleep "$unit"
    done
    sleep "$(echo "(${GAP:-3} - 1) * $unit" | bc)"
}

# Ends the program by its close box, as a user does, and starts it again on the same folders.
restart_program() {
    close_program
    start_program
}

# "R,G,B" of the screen pixel at X Y.
pixel() {
    import -window root -crop "1x1+$1+$2" +repage "$WORK/pixel.png"
    convert "$WORK/pixel.png" -format '%[fx:int(255*r+0.5)],%[fx:int(255*g+0.5)],%[fx:int(255*b+0.5)]' info:
}

# The number of distinct colours in a screen rectangle "X,Y,W,H".
colours_in() {
    local x y w h
    IFS=, read -r x y w h <<<"$1"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$WORK/region.png"
    convert "$WORK/region.png" -format '%k' info:
}

# Visible windows whose title is exactly $1.
visible_windows() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l
}

# Waits (up to 10 s) until $2 visible windows are titled exactly $1; fails with message $3.
wait_windows() {
    for _ in $(seq 100); do
        [ "$(visible_windows "$1")" = "$2" ] && return 0
        sleep 0.1
    done
    fail "$3"
}

# Checks that the results boxes show what the replay tool computes for the run the main window
# logged ($1 its poll counts, $2 its tick counts, $3 its key states, as Memo2, Memo6 and Memo3's
# words): each change half a poll before the poll that logged it, at the rate measured between the
# first and last change.
expect_replayed_results() {
    : "${KEYVET_REPLAY:?KEYVET_REPLAY must name keyvet-replay}"
    awk -v polls="$1" -v ticks="$2" -v states="$3" 'BEGIN {
        n = split(polls, p, " "); split(ticks, t, " "); split(states, s, " ")
        rate = (p[n] - p[2]) / (t[n] - t[2])
        printf "rate %.17g\ninitial %d\n", rate, s[1]
        for (i = 2; i <= n; i++) printf "%.6f %s\n", (p[i] - 0.5) / rate, (s[i] > 120 ? "down" : "up")
    }' >"$WORK/timing.txt"
    "$KEYVET_REPLAY" "$WORK/timing.txt" >"$WORK/replayed" ||
        fail "the replay failed: $(cat "$WORK/timing.txt")"
    local box exact
    for box in Label21 Edit1 Edit2 Edit3 Edit4 Edit5 Edit6 Edit7 Edit8 Edit9 Edit10 Edit11 Edit12 Edit13; do
        exact=$(awk -F'\t' -v box="$box" '$1 == box {print $2}' "$WORK/replayed")
        [ "$(value "Form1.$box.Caption")" = "$exact" ] ||
            fail "$box shows '$(value "Form1.$box.Caption")', the replay '$exact' ($(cat "$WORK/timing.txt"))"
    done
    [[ "$(value Form1.Edit1.Caption)" =~ ^[0-9]+$ ]] || fail "no dit length"
}
