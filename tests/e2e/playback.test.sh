# Run -> Play back and the side-tone's settings: a keyed run is played back (or, on a machine
# without a sound device, the one message says so) while the window goes on answering; Options ->
# Side-tone pitch -> 600 Hz is kept in the settings file's own section, every other line as it
# was. With KEYVET_SCREENSHOT set, the open Run menu and pitch menu are saved there (a prefix).
source "$(dirname "$0")/lib.sh"
start_xvfb
SETTINGS=$XDG_CONFIG_HOME/keyvet/settings.ini
mkdir -p "$(dirname "$SETTINGS")"
printf '# mine\n[window]\ndisplay-size = 100\nlive-monitor = 0\n' >"$SETTINGS"
start_program

click Form1.Start
wait_for Form1.Button1.Enabled 1
read -r x y < <(centre Form1.Chart1)
xdotool mousemove "$x" "$y"
key_morse 0.18/0.06 0.06/0.06 0.18/0.25 0.06/0.06 0.18
wait_for Form1.Label1.Caption 1
click Form1.Button1
wait_for Form1.Start.Caption "Re-start: Press TWICE"

# Run -> Play back, the fourth item.
click Form1.Run1
sleep 0.3
if [ -n "${KEYVET_SCREENSHOT:-}" ]; then
    import -window root "${KEYVET_SCREENSHOT}-run-menu.png"
fi
xdotool key Down Down Down Down Return
sleep 0.5
state
if [ "$(value Dialog.Open)" = 1 ]; then
    expect Dialog.Text 'No sound device could be opened to play the run back on.'
    echo "no sound device: the message was shown"
    xdotool key Return
    wait_for Dialog.Open 0
else
    # Playing: the window still answers while the run sounds.
    echo "a sound device: the run was played back"
    click Form1.Start
    wait_for Form1.Button1.Enabled 1
    click Form1.Button1
    wait_for Dialog.Open 1
    xdotool key Return
    wait_for Dialog.Open 0
fi

# Options -> Side-tone pitch -> 600 Hz (the third choice).
click Form1.Options1
sleep 0.3
xdotool key Down Down Down Right
sleep 0.3
if [ -n "${KEYVET_SCREENSHOT:-}" ]; then
    import -window root "${KEYVET_SCREENSHOT}-pitch-menu.png"
fi
xdotool key Down Down Return
for _ in $(seq $((WAIT * 10))); do
    grep -q '^pitch-hz = 600$' "$SETTINGS" 2>/dev/null && break
    sleep 0.1
done
expected=$(printf '# mine\n[window]\ndisplay-size = 100\nlive-monitor = 0\n[side-tone]\npitch-hz = 600\nvolume = 100')
[ "$(cat "$SETTINGS")" = "$expected" ] || fail "the settings file reads: $(cat "$SETTINGS")"
state
expect Dialog.Open 0
close_program
echo PASS
