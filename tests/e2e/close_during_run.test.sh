# Closing the main window during a keying run (key held down, tone on) ends the program
# cleanly: the run stops, the tone is silenced and the process exits with status 0.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_program

click Form1.Start
wait_for Form1.Button1.Enabled 1
read -r x y < <(centre Form1.Chart1)
xdotool mousemove "$x" "$y" mousedown 3
wait_for Form1.Label1.Caption 129
menu_help 1
wait_for AboutBox.Visible 1

wid=$(xdotool search --onlyvisible --name '^Morse Keyvet' | head -n1)
"$KEYVET_CLOSE_WINDOW" "$wid"
wait_for_exit
status=$PROGRAM_STATUS
xdotool mouseup 3
[ -n "$status" ] || fail "the program did not end after its main window was closed"
PROGRAM_PID=
[ "$status" = 0 ] || fail "the program ended with status $status"
if grep -q "ERROR: \|runtime error" "$WORK/program.log"; then
    fail "the program reported errors on its way out"
fi
echo PASS
