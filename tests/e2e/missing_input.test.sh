# A serial port chosen in the settings that is not there at start-up: one message says so once
# the main window is up, and the right mouse button is the key meanwhile.
source "$(dirname "$0")/lib.sh"
mkdir -p "$XDG_CONFIG_HOME/keyvet"
printf '[key-input]\ninput = serial-line\nserial-port = /dev/ttyUSB97\n' \
    >"$XDG_CONFIG_HOME/keyvet/settings.ini"
start_xvfb
start_program
wait_for Dialog.Open 1
expect Dialog.Text \
    'The serial port /dev/ttyUSB97 is not there. Is it plugged in?\nThe right mouse button is the key until then.'
xdotool key Return
wait_for Dialog.Open 0
expect KeyInput right-button
click Form1.Start
wait_for Form1.Button1.Enabled 1
read -r x y < <(centre Form1.Chart1)
xdotool mousemove "$x" "$y" mousedown 3
wait_for Form1.Label1.Caption 129
xdotool mouseup 3
wait_for Form1.Label1.Caption 1
# The settings file is the operator's: a failed start does not rewrite it.
grep -qx 'serial-port = /dev/ttyUSB97' "$XDG_CONFIG_HOME/keyvet/settings.ini" ||
    fail "the settings file was changed"
echo PASS
