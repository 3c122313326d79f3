# Options, Key input…: the lamp follows the right button, then the keyboard key once it is
# chosen, and the inverted switch turns it round; OK keeps the choice and writes the settings
# file; Cancel goes back to what was in use. With KEYVET_SCREENSHOT set, the window is saved there.
source "$(dirname "$0")/lib.sh"
SETTINGS=$XDG_CONFIG_HOME/keyvet/settings.ini
start_xvfb
start_program

open_key_input() {
    click Form1.Options1
    sleep 0.3
    xdotool key Down Return
    wait_for KeyInputForm.Visible 1
}

# Picks item $2 (counted from 0) of the drop-down list $1, whose chosen item is $3.
choose() {
    local moves=$(( $2 - $3 ))
    click "KeyInputForm.$1"
    sleep 0.3
    if [ "$moves" -gt 0 ]; then
        for _ in $(seq "$moves"); do xdotool key Down; done
    else
        for _ in $(seq $(( -moves ))); do xdotool key Up; done
    fi
    xdotool key Return
}

open_key_input
expect KeyInputForm.Caption "Key input"
expect KeyInputForm.InputBox.Caption "Right mouse button"
expect KeyInputForm.LineBox.Enabled 0
expect KeyInputForm.LampLabel.Caption "Key up"
read -r x y < <(centre KeyInputForm.Lamp)
xdotool mousemove "$x" "$y" mousedown 3
wait_for KeyInputForm.LampLabel.Caption "Key down"
xdotool mouseup 3
wait_for KeyInputForm.LampLabel.Caption "Key up"

choose InputBox 2 0
wait_for KeyInputForm.InputBox.Caption "Keyboard key"
expect KeyInput keyboard-key
expect KeyInputForm.KeyBox.Enabled 1
expect KeyInputForm.KeyBox.Caption "Left Ctrl"
xdotool keydown Control_L
wait_for KeyInputForm.LampLabel.Caption "Key down"
xdotool keyup Control_L
wait_for KeyInputForm.LampLabel.Caption "Key up"
click KeyInputForm.InvertedBox
wait_for KeyInputForm.InvertedBox.Checked 1
wait_for KeyInputForm.LampLabel.Caption "Key down"
if [ -n "${KEYVET_SCREENSHOT:-}" ]; then
    IFS=, read -r x y w h <<<"$(value KeyInputForm.Screen)"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$KEYVET_SCREENSHOT"
fi
[ ! -e "$SETTINGS" ] || fail "the settings were written before OK"
click KeyInputForm.OKButton
wait_for KeyInputForm.Visible 0
grep -qx 'input = keyboard-key' "$SETTINGS" || fail "settings: $(cat "$SETTINGS")"
grep -qx 'inverted = 1' "$SETTINGS" || fail "settings: $(cat "$SETTINGS")"
expect KeyInput keyboard-key

# Cancel: the serial line is tried and given up; the keyboard key stays, the file unchanged.
cp "$SETTINGS" "$WORK/saved.ini"
open_key_input
expect KeyInputForm.InputBox.Caption "Keyboard key"
expect KeyInputForm.InvertedBox.Checked 1
choose InputBox 0 2
wait_for KeyInput right-button
click KeyInputForm.CancelButton
wait_for KeyInputForm.Visible 0
expect KeyInput keyboard-key
cmp -s "$SETTINGS" "$WORK/saved.ini" || fail "Cancel changed the settings file"
expect Dialog.Open 0
echo PASS
