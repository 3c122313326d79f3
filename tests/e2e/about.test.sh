# The About box: opened from the Help menu with its texts and its picture drawn unscaled from
# the top left and cut off below; it does not block the main window (a run can start while it
# is open); About again keeps one box; Enter closes it; OK closes it.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_program

menu_help 1
wait_for AboutBox.Visible 1
expect AboutBox.Caption "About Keyvet"
[ "$(visible_windows 'About Keyvet')" = 1 ] || fail "the About box's title is not on screen"
expect AboutBox.Bounds "$(value AboutBox.Bounds | cut -d, -f1,2),304,212"
expect AboutBox.OKButton.Caption OK
expect AboutBox.Version.Caption "Keyvet Version 2.0"
expect AboutBox.ProductName.Caption "Coded by Pelvar, Tavik,"
expect AboutBox.Label4.Caption "July 2013"
expect AboutBox.Label1.Caption "Thanks to Varnel"
expect AboutBox.Label2.Caption "for Port and Speaker drivers"
# Centred on the screen.
IFS=, read -r ax ay aw ah <<<"$(value AboutBox.Bounds)"
[ "$ax" = $(((1280 - aw) / 2)) ] && [ "$ay" = $(((1024 - ah) / 2)) ] || fail "About box not centred"

# The picture: pixel for pixel from its top-left corner, its rows below the control cut off.
IFS=, read -r ix iy iw ih <<<"$(value AboutBox.Image1.Screen)"
[ "$iw,$ih" = "105,113" ] || fail "picture control is ${iw}x${ih}"
bmp="$KEYVET_SOURCE_DIR/assets/about.bmp"
for point in "3 3" "50 20" "99 112" "10 100"; do
    read -r px py <<<"$point"
    expected=$(convert "$bmp" -format "%[fx:int(255*p{$px,$py}.r+0.5)],%[fx:int(255*p{$px,$py}.g+0.5)],%[fx:int(255*p{$px,$py}.b+0.5)]" info:)
    actual=$(pixel $((ix + px)) $((iy + py)))
    [ "$actual" = "$expected" ] || fail "picture pixel $px,$py is $actual, expected $expected"
done

# The main window stays usable: a run starts while the box is open; About again (nested in the
# run) brings the same box to the front.
click Form1.Start
wait_for Form1.Button1.Enabled 1
menu_help 1
sleep 0.3
state
expect AboutBox.Visible 1
[ "$(visible_windows 'About Keyvet')" = 1 ] || fail "a second About box opened"

# Enter in the box closes it.
read -r x y < <(centre AboutBox.Panel1)
xdotool mousemove "$x" "$y"
xdotool key Return
wait_for AboutBox.Visible 0
[ "$(visible_windows 'About Keyvet')" = 0 ] || fail "the About box stayed on screen"
expect Form1.Button1.Enabled 1

# Shown again; its OK button closes it.
menu_help 1
wait_for AboutBox.Visible 1
click AboutBox.OKButton
wait_for AboutBox.Visible 0
echo PASS
