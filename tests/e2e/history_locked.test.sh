# A history held locked by another program: Finish comes back within about a second and says once
# that the run waits in memory; the History window says so too; once the lock is gone the next
# Finish stores both runs; a run still waiting when the program ends is reported lost.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_program

DB=$XDG_DATA_HOME/keyvet/history.sqlite
# PARIS: fourteen marks of both kinds, enough for the progress.
PARIS=(0.06 0.18 0.18 0.06/0.18 0.06 0.18/0.18 0.06 0.18 0.06/0.18 0.06 0.06/0.18 0.06 0.06 0.06)
LOCKER=

# Start, PARIS keyed; then Finish, clicked by key_run or by the caller.
key_paris() {
    click Form1.Start
    wait_for Form1.Button1.Enabled 1
    read -r x y < <(centre Form1.Chart1)
    xdotool mousemove "$x" "$y"
    key_morse "${PARIS[@]}"
    sleep 0.3  # the last release reaches the capture
}
key_run() {
    key_paris
    click Form1.Button1
}

# The locking program goes when the scenario does, whatever way it ends.
trap 'if [ -n "$LOCKER" ]; then kill "$LOCKER" 2>/dev/null || true; fi; cleanup' EXIT

# Another program takes the history's write lock and keeps it until told to let go.
lock() {
    rm -f "$WORK/locked" "$WORK/unlock"
    "$KEYVET_HOLD_HISTORY" "$DB" "$WORK/locked" "$WORK/unlock" &
    LOCKER=$!
    for _ in $(seq 100); do
        [ -f "$WORK/locked" ] && return 0
        sleep 0.05
    done
    fail "the locking program did not start"
}
unlock() {
    touch "$WORK/unlock"
    wait "$LOCKER" || fail "the locking program failed"
    LOCKER=
}

# Presses Enter in the message dialog (the pointer on it, so that it has the keyboard).
press_ok() {
    local wid x y
    wid=$(xdotool search --onlyvisible --name '^Keyvet$' | head -n1)
    [ -n "$wid" ] || fail "no message dialog on screen"
    IFS=' ' read -r x y < <(xdotool getwindowgeometry --shell "$wid" |
        awk -F= '/^X=/{x=$2} /^Y=/{y=$2} END{print x+10, y+10}')
    xdotool mousemove "$x" "$y"
    xdotool key Return
}
dismiss() {
    press_ok
    wait_for Dialog.Open 0
}

key_run
wait_for Form1.Start.Caption "Re-start: Press TWICE"
expect Dialog.Open 0
[ -f "$DB" ] || fail "no history in the data home"

lock
key_paris
started=$(date +%s%N)
click Form1.Button1
wait_for Dialog.Open 1
waited=$((($(date +%s%N) - started) / 1000000))
text=$(value Dialog.Text)
[[ "$text" == *"database is locked"* && "$text" == *"waits in memory"* ]] ||
    fail "the dialog says '$text'"
# The click on Finish, the analysis and the store's wait: well within the old ten seconds.
[ "$waited" -lt 6000 ] || fail "Finish took $waited ms with the history locked"
dismiss
expect Form1.Start.Caption "Re-start: Press TWICE"

# File -> History... (it lies over the main window: closed again after).
open_history() {
    click Form1.File1
    sleep 0.3
    xdotool key Down Down Down Return
    wait_for HistoryForm.Visible 1
}
close_history() {
    "$KEYVET_CLOSE_WINDOW" "$(xdotool search --onlyvisible --name '^History of runs$' | head -n1)"
    wait_for HistoryForm.Visible 0
}

# The run waiting is named in the History window's status.
open_history
expect HistoryForm.Runs.Items 1
status=$(value HistoryForm.Status.Caption)
[[ "$status" == "1 run; 1 run waits to be stored: "*"locked"* ]] || fail "the status says '$status'"
expect Dialog.Open 0  # told once only
close_history

unlock
key_run
wait_for Form1.Start.Caption "Re-start: Press TWICE"
expect Dialog.Open 0
open_history
expect HistoryForm.Runs.Items 3
expect HistoryForm.Status.Caption "3 runs"
close_history

# Locked again when the program ends: the run is lost, and the operator is told.
lock
key_run
wait_for Dialog.Open 1
dismiss
wid=$(xdotool search --onlyvisible --name '^Morse Keyvet' | head -n1)
"$KEYVET_CLOSE_WINDOW" "$wid"
for _ in $(seq $((WAIT * 10))); do
    [ "$(visible_windows Keyvet)" = 1 ] && break
    sleep 0.1
done
[ "$(visible_windows Keyvet)" = 1 ] || fail "no message at the end"
press_ok
for _ in $(seq $((WAIT * 10))); do
    kill -0 "$PROGRAM_PID" 2>/dev/null || break
    sleep 0.1
done
wait "$PROGRAM_PID" || fail "the program ended with an error"
PROGRAM_PID=
grep -q "could not be stored in the history and is lost: .*locked" "$WORK/program.log" ||
    fail "the end did not say the run is lost"
unlock
[ "$("$KEYVET_HOLD_HISTORY" "$DB" --count)" = 3 ] || fail "the history does not hold 3 runs"
echo PASS
