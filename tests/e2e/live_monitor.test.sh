# The Live monitor (Run menu): during a keyed run its lamp follows the key and the read-back
# grows as characters are keyed; the pointer leaving the program's windows during a run with the
# right button as the key is told in the monitor and the main window's title, and taken back
# when it returns and after the run; the monitor opens again at the next start when it was left
# open. With KEYVET_SCREENSHOT set, the screen during the run is saved there.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_program

MAIN_TITLE="Morse Keyvet version 2:  Pelvar Tavik July 2012"
SETTINGS=$XDG_CONFIG_HOME/keyvet/settings.ini

click Form1.Run1
sleep 0.3
xdotool key Down Down Down Return
wait_for MonitorForm.Visible 1
expect MonitorForm.Caption "Live monitor"
expect MonitorForm.LampLabel.Caption "Not running"
grep -q '^live-monitor = 1$' "$SETTINGS" || fail "the open monitor is not kept in the settings"

click Form1.Start
wait_for Form1.Button1.Enabled 1
read -r x y < <(centre Form1.Chart1)
xdotool mousemove "$x" "$y"
wait_for MonitorForm.LampLabel.Caption "Key up"
key_code .-
wait_for MonitorForm.ReadBackLabel.Caption "A"
key_code -.
wait_for MonitorForm.ReadBackLabel.Caption "AN"
# The lamp follows the key (a press after the text: its length does not matter).
xdotool mousedown 3
wait_for MonitorForm.LampLabel.Caption "Key down"
expect MonitorForm.Lamp.Color 65280  # lime
xdotool mouseup 3
wait_for MonitorForm.LampLabel.Caption "Key up"
expect MonitorForm.Lamp.Color 8421504  # grey
[ "$(value MonitorForm.SpeedValue.Caption)" != "-" ] || fail "no speed during the run"
[ "$(value MonitorForm.TimeValue.Caption)" != "0:00.0" ] || fail "the time stands still"
if [ -n "${KEYVET_SCREENSHOT:-}" ]; then
    import -window root "$KEYVET_SCREENSHOT"
fi

# The pointer leaves every window of the program: told at once, taken back when it returns.
xdotool mousemove 1270 1015
wait_for MonitorForm.WarningLabel.Caption "The key is not heard outside the window"
for _ in $(seq 50); do
    [ "$(xdotool search --name "not heard outside the window" 2>/dev/null | wc -l)" -ge 1 ] && break
    sleep 0.1
done
[ "$(xdotool search --name "not heard outside the window" | wc -l)" -ge 1 ] ||
    fail "the main window's title does not warn"
expect Form1.Caption "$MAIN_TITLE"
xdotool mousemove "$x" "$y"
wait_for MonitorForm.WarningLabel.Caption ""
sleep 0.3
[ "$(visible_windows "$MAIN_TITLE")" = 1 ] || fail "the main window's title was not restored"

# Out of the window when Finish is clicked: the warning goes with the run.
click Form1.Button1
wait_for Form1.Button1.Enabled 0
wait_for MonitorForm.LampLabel.Caption "Not running"
expect MonitorForm.WarningLabel.Caption ""
[[ "$(value MonitorForm.ReadBackLabel.Caption)" == AN* ]] ||
    fail "the read-back after the run is '$(value MonitorForm.ReadBackLabel.Caption)'"
[ "$(visible_windows "$MAIN_TITLE")" = 1 ] || fail "the main window's title changed after the run"

# Left open: open again at the next start; closed: kept closed.
close_program
grep -q '^live-monitor = 1$' "$SETTINGS" || fail "closing the program closed the monitor for good"
start_program
wait_for MonitorForm.Visible 1
"$KEYVET_CLOSE_WINDOW" "$(xdotool search --onlyvisible --name '^Live monitor$' | head -n1)"
wait_for MonitorForm.Visible 0
grep -q '^live-monitor = 0$' "$SETTINGS" || fail "the closed monitor is kept open"
echo PASS
