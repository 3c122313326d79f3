# The Run menu: Details before any run says there is none; a practice text typed in the
# Practice text window and a keyed run of part of it show the aligned read-back, the missed
# character and the accuracy in the Details window. With KEYVET_SCREENSHOT set, the Details
# window is saved there afterwards.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_program

# Opens the main window's Run menu and picks its item number $1 (1 Practice text, 2 Details).
menu_run() {
    click Form1.Run1
    sleep 0.3
    for _ in $(seq "$1"); do
        xdotool key Down
    done
    xdotool key Return
}

state
[ -n "$(value Form1.Run1.Screen)" ] || fail "no Run menu"
IFS=, read -r runx _ <<<"$(value Form1.Run1.Screen)"
IFS=, read -r helpx _ <<<"$(value Form1.Help1.Screen)"
[ "$runx" -lt "$helpx" ] || fail "the Run menu is not before Help"

menu_run 2
wait_for DetailsForm.Visible 1
expect DetailsForm.Caption Details
expect DetailsForm.TextMemo.Text "No run has been analysed yet: press Start, key, then Finish."
read -r x y < <(centre DetailsForm.TextMemo)
xdotool mousemove "$x" "$y"
xdotool key Escape
wait_for DetailsForm.Visible 0

menu_run 1
wait_for PracticeForm.Visible 1
expect PracticeForm.Caption "Practice text"
click PracticeForm.ParisButton
wait_for PracticeForm.TextEdit.Caption "PARIS PARIS PARIS PARIS PARIS"
click PracticeForm.TextEdit
xdotool key ctrl+a BackSpace
xdotool type --delay 50 "ant"
wait_for PracticeForm.TextEdit.Caption "ant"
click PracticeForm.OKButton
wait_for PracticeForm.Visible 0

# A N keyed (the T of the practice text left out).
click Form1.Start
wait_for Form1.Button1.Enabled 1
read -r x y < <(centre Form1.Chart1)
xdotool mousemove "$x" "$y"
key_code .-
key_code -.
# The state at Start and eight transitions.
wait_for Form1.Memo2.Lines 9
click Form1.Button1
wait_for Form1.Start.Caption "Re-start: Press TWICE"

menu_run 2
wait_for DetailsForm.Visible 1
text=$(value DetailsForm.TextMemo.Text)
grep -qF 'Read back:\nAN\n' <<<"$text" || fail "the read-back is not AN: $text"
grep -qF 'Sent  ANT\nRead  AN_\n        -\n' <<<"$text" || fail "no aligned practice text: $text"
grep -qF 'Character accuracy: 66.7 % (0 wrong, 1 missed, 0 extra)' <<<"$text" ||
    fail "no accuracy: $text"
grep -qF 'Worst characters:' <<<"$text" || fail "no worst characters: $text"

if [ -n "${KEYVET_SCREENSHOT:-}" ]; then
    xdotool mousemove 0 0
    sleep 0.5
    IFS=, read -r x y w h <<<"$(value DetailsForm.Screen)"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$KEYVET_SCREENSHOT"
fi
echo PASS
