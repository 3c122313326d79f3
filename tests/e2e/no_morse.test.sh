# A run without keying: Finish shows "No Morse detected!" in a dialog with one OK; Enter closes
# it and Start is enabled again as "Re-start:  Press TWICE".
source "$(dirname "$0")/lib.sh"
start_xvfb
start_program

click Form1.Start
wait_for Form1.Button1.Enabled 1
click Form1.Button1
wait_for Dialog.Open 1
expect Dialog.Text 'No Morse detected!\nSend some now?\nOr Check connections?'
[ "$(visible_windows Keyvet)" = 1 ] || fail "the message dialog is not on screen"
# The dialog is modal: Start does not react while it is open.
click Form1.Start
sleep 0.3
state
expect Form1.Button1.Enabled 0

wid=$(xdotool search --onlyvisible --name '^Keyvet$' | head -n1)
IFS=' ' read -r x y < <(xdotool getwindowgeometry --shell "$wid" | awk -F= '/^X=/{x=$2} /^Y=/{y=$2} END{print x+10, y+10}')
xdotool mousemove "$x" "$y"
xdotool key Return
wait_for Dialog.Open 0
expect Form1.Start.Caption "Re-start:  Press TWICE"
expect Form1.Start.Enabled 1
expect Form1.Button1.Enabled 0
expect Form1.Label21.Caption ""
[ "$(visible_windows Keyvet)" = 0 ] || fail "the message dialog stayed on screen"
echo PASS
