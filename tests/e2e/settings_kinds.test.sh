# A settings file that is no regular file, or one with thousands of bad lines: the program starts
# all the same (a named pipe is never waited on), says what is wrong in a dialog that fits on the
# screen, and its OK closes the dialog.
source "$(dirname "$0")/lib.sh"
mkdir -p "$XDG_CONFIG_HOME/keyvet"
settings=$XDG_CONFIG_HOME/keyvet/settings.ini
mkfifo "$settings"
start_xvfb
start_program
wait_for Dialog.Open 1
text=$(value Dialog.Text)
expected="Cannot read the settings file $settings (it is a named pipe, not a file);"
[ "$text" = "$expected the default settings are used." ] || fail "dialog: $text"
xdotool key Return
wait_for Dialog.Open 0
kill "$PROGRAM_PID"
wait "$PROGRAM_PID" 2>/dev/null || true
PROGRAM_PID=

rm "$settings"
for i in $(seq 3000); do echo "inverted = $((i + 1))"; done >"$settings"
rm -f "$STATE"
start_program
wait_for Dialog.Open 1
grep -q '(and 2990 more problems, 3000 in all)$' <<<"$(value Dialog.Text)" ||
    fail "dialog: $(value Dialog.Text)"
dialog=$(xdotool search --onlyvisible --name '^Keyvet$' | head -n1)
eval "$(xdotool getwindowgeometry --shell "$dialog")"
[ "$HEIGHT" -lt 600 ] || fail "the dialog is $HEIGHT pixels high"
xdotool key Return
wait_for Dialog.Open 0
echo PASS
