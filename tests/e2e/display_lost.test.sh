# The display going away during a keying run (key held down, tone on) ends the program with the
# toolkit's message and status 1: no crash on the way out, and the lost run is named.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_program

click Form1.Start
wait_for Form1.Button1.Enabled 1
read -r x y < <(centre Form1.Chart1)
xdotool mousemove "$x" "$y" mousedown 3
wait_for Form1.Label1.Caption 129

kill "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null || true
XVFB_PID=
wait_for_exit
status=$PROGRAM_STATUS
[ -n "$status" ] || fail "the program did not end after its display went away"
PROGRAM_PID=
[ "$status" = 1 ] || fail "the program ended with status $status"
grep -q "^keyvet: X I/O error" "$WORK/program.log" || fail "no message for the lost display"
grep -q "^keyvet: the run in progress is lost" "$WORK/program.log" || fail "the lost run is not named"
if grep -q "ERROR: \|runtime error\|corrupted\|Aborted" "$WORK/program.log"; then
    fail "the program reported errors on its way out"
fi
echo PASS
