# The keyboard key as the Morse key, chosen in the settings file: Start, five elements keyed with
# Left Ctrl in the focused main window, Finish. The right button does nothing meanwhile, and the
# results equal those the replay tool computes for the same timing (the polls at which the
# program saw each change, at the rate it measured).
source "$(dirname "$0")/lib.sh"
: "${KEYVET_REPLAY:?KEYVET_REPLAY must name keyvet-replay}"
mkdir -p "$XDG_CONFIG_HOME/keyvet"
printf '[key-input]\ninput = keyboard-key\nkeyboard-key = Control_L\n' \
    >"$XDG_CONFIG_HOME/keyvet/settings.ini"
start_xvfb
start_program
state
expect KeyInput keyboard-key
expect Dialog.Open 0

click Form1.Start
wait_for Form1.Button1.Enabled 1
read -r x y < <(centre Form1.Chart1)
xdotool mousemove "$x" "$y"
window=$(xdotool search --name '^Morse Keyvet' | head -n1)
xdotool windowfocus --sync "$window" 2>/dev/null || true
# The right button is not the key now.
xdotool mousedown 3
sleep 0.1
xdotool mouseup 3
sleep 0.1
state
expect Form1.Memo2.Lines 1
# dah dit dah dit dah with Left Ctrl, with spaces of two lengths (spaces all alike leave the
# analysis no longer spaces to average: it would stop with a division by zero).
xdotool keydown Control_L
sleep 0.3
state
expect Form1.Label1.Caption 129
xdotool keyup Control_L
for element in 0.06/0.06 0.18/0.2 0.06/0.06 0.18/0.2; do
    sleep "${element#*/}"
    xdotool keydown Control_L
    sleep "${element%/*}"
    xdotool keyup Control_L
done
wait_for Form1.Label1.Caption 1
expect Form1.Memo2.Lines 11
polls=$(value Form1.Memo2.Words)
ticks=$(value Form1.Memo6.Words)
states=$(value Form1.Memo3.Words)

click Form1.Button1
wait_for Form1.Start.Caption "Re-start: Press TWICE"
expect Dialog.Open 0

# The results are those the replay tool computes for the same timing.
expect_replayed_results "$polls" "$ticks" "$states"
echo PASS
