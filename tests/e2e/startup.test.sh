# Start-up: the main window's title, its centred place, the controls' first states, the chart's
# panel colour; the About box and the never-shown windows stay closed.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_program
state

[ "$(visible_windows 'Morse Keyvet version 2:  Pelvar Tavik July 2012')" = 1 ] ||
    fail "the main window's title is not on screen"
for title in 'About Keyvet' About Form2 Form4 Form5; do
    [ "$(visible_windows "$title")" = 0 ] || fail "window '$title' is open at start-up"
done
expect Form1.Visible 1
expect AboutBox.Visible 0
expect AboutBox1.Visible 0

# Centred on the 1280 x 1024 screen: outer 798 x 631.
expect Form1.Bounds "241,196,798,631"

expect Form1.Start.Caption Start
expect Form1.Start.Enabled 1
expect Form1.Button1.Caption Finish
expect Form1.Button1.Enabled 0
expect Form1.Button2.Visible 0
for i in $(seq 13); do
    expect "Form1.Edit$i.Caption" ""
    expect "Form1.Edit$i.Visible" 1
done
for i in $(seq 6); do
    expect "Form1.Memo$i.Visible" 0
done
expect Form1.Label22.Caption "Samples per ms"
expect Form1.Label13.Caption "Port value"

# The chart paints itself: its panel colour (light cyan) inside its frame.
read -r x y < <(centre Form1.Chart1)
[ "$(pixel "$x" "$y")" = "128,255,255" ] || fail "the chart is $(pixel "$x" "$y"), not light cyan"

# A disabled Finish does nothing when clicked.
click Form1.Button1
sleep 0.3
state
expect Form1.Start.Caption Start
expect Dialog.Open 0
echo PASS
