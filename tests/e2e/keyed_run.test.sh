# A keyed run: Start, five elements keyed with the right button over the chart, Finish. The
# result boxes fill, the rate shows, Start reads "Re-start: Press TWICE". With KEYVET_SCREENSHOT
# set, the main window is saved there afterwards.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_program

click Form1.Start
wait_for Form1.Button1.Enabled 1
read -r x y < <(centre Form1.Chart1)
xdotool mousemove "$x" "$y"
# dah dit dah dit dah, then the key stays up. The keying is plainly off its ideal (dits longer
# than their spaces, long character spaces), so that every advice box has its advice: keying
# exactly on time would leave some of them without.
xdotool mousedown 3
sleep 0.3
state
expect KeyState 129
expect Form1.Label1.Caption 129
xdotool mouseup 3
sleep 0.06
key_morse 0.07/0.25 0.18/0.05 0.07/0.25 0.18
wait_for Form1.Label1.Caption 1
expect Form1.Memo2.Lines 11
expect Form1.Start.Caption Start

click Form1.Button1
wait_for Form1.Start.Caption "Re-start: Press TWICE"
expect Form1.Start.Enabled 1
expect Form1.Button1.Enabled 0
expect Dialog.Open 0
for i in 1 2 3 4 10; do
    [[ "$(value "Form1.Edit$i.Caption")" =~ ^[0-9]+$ ]] ||
        fail "Edit$i shows '$(value "Form1.Edit$i.Caption")', not a whole number"
done
for i in 5 6 12; do
    [[ "$(value "Form1.Edit$i.Caption")" =~ ^[0-9]+(\.[0-9]+)?$ ]] ||
        fail "Edit$i shows '$(value "Form1.Edit$i.Caption")', not a number"
done
for i in 7 11; do
    [[ "$(value "Form1.Edit$i.Caption")" =~ ^-?[0-9]+$ ]] || fail "Edit$i shows no merit"
done
[[ "$(value Form1.Edit8.Caption)" =~ ^weighting\ is\ (heavy|light)$ ]] || fail "no weighting advice"
[[ "$(value Form1.Edit9.Caption)" =~ ^dashes\ are\ too\ (long|short)$ ]] || fail "no dash advice"
[[ "$(value Form1.Edit13.Caption)" =~ ^Charspace\ is\ (long|short)$ ]] || fail "no space advice"
rate=$(value Form1.Label21.Caption)
[[ "$rate" =~ ^[0-9]+$ ]] && [ "$rate" -gt 0 ] || fail "Samples per ms shows '$rate'"
echo "polls per ms: $rate"
# The dah is about three dits long.
dit=$(value Form1.Edit1.Caption)
dah=$(value Form1.Edit2.Caption)
[ "$dah" -gt "$dit" ] || fail "dah $dah not longer than dit $dit"

if [ -n "${KEYVET_SCREENSHOT:-}" ]; then
    xdotool mousemove 0 0
    sleep 0.3
    IFS=, read -r x y w h <<<"$(value Form1.Screen)"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$KEYVET_SCREENSHOT"
fi
echo PASS
