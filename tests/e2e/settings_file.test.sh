# The settings file at start-up and on OK: a damaged setting keeps its default and is named in
# one message once the main window is up; a settings folder that cannot be written makes OK say
# so and leaves the Key input window open.
source "$(dirname "$0")/lib.sh"
mkdir -p "$XDG_CONFIG_HOME/keyvet"
printf '[key-input]\ninput = keyboard-key\ndebounce-ms = 50\nfrobnicate = 1\n' \
    >"$XDG_CONFIG_HOME/keyvet/settings.ini"
start_xvfb
start_program
wait_for Dialog.Open 1
text=$(value Dialog.Text)
grep -q "could not be used and keep their defaults" <<<"$text" || fail "dialog: $text"
grep -q "line 3: the debounce time must be a whole number of milliseconds from 0 to 20, not '50'" \
    <<<"$text" || fail "dialog: $text"
grep -q "line 4: unknown setting 'frobnicate'" <<<"$text" || fail "dialog: $text"
xdotool key Return
wait_for Dialog.Open 0
# What could be read is in use.
expect KeyInput keyboard-key

# A file where the settings folder should be: OK cannot save.
rm -rf "$XDG_CONFIG_HOME/keyvet"
echo "not a folder" >"$XDG_CONFIG_HOME/keyvet"
click Form1.Options1
sleep 0.3
xdotool key Down Return
wait_for KeyInputForm.Visible 1
click KeyInputForm.OKButton
wait_for Dialog.Open 1
text=$(value Dialog.Text)
grep -q "^Cannot write settings file '$XDG_CONFIG_HOME/keyvet/settings.ini': " <<<"$text" ||
    fail "dialog: $text"
xdotool key Return
wait_for Dialog.Open 0
expect KeyInputForm.Visible 1
[ "$(cat "$XDG_CONFIG_HOME/keyvet")" = "not a folder" ] || fail "the blocking file was changed"
echo PASS
