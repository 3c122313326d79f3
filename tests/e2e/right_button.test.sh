# The right button is the Morse key everywhere and never clicks: not Start before a run, not
# Finish during one. An error leaving the analysis shows in the dialog and the program goes on.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_program

# Over Start, before any run: the key state follows the button, nothing starts.
state
read -r x y < <(centre Form1.Start)
xdotool mousemove "$x" "$y" mousedown 3
sleep 0.2
state
expect KeyState 129
xdotool mouseup 3
sleep 0.3
state
expect KeyState 1
expect Form1.Button1.Enabled 0
expect Form1.Start.Caption Start

click Form1.Start
wait_for Form1.Button1.Enabled 1
# Over Finish during the run: the press is keyed (the second press reads 128), Finish is not
# clicked.
read -r x y < <(centre Form1.Button1)
xdotool mousemove "$x" "$y" mousedown 3
sleep 0.3
state
expect KeyState 128
expect Form1.Label1.Caption 128
xdotool mouseup 3
sleep 0.5
state
expect Form1.Label1.Caption 0
expect Form1.Button1.Enabled 1
expect Form1.Start.Enabled 1
expect Form1.Start.Caption Start
expect Form1.Memo2.Lines 3

# One press is a mark without any space: the analysis divides by zero. The message shows and
# the program goes on.
click Form1.Button1
wait_for Dialog.Open 1
expect Dialog.Text "Division by zero"
xdotool key Return
wait_for Dialog.Open 0
menu_help 1
wait_for AboutBox.Visible 1
echo PASS
