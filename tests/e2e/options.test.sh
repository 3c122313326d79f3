# keyvet's command line: --help and --version answer without a display, an unknown option or a
# toolkit option without a fitting value is refused, named, with the usage and status 2, and the
# window toolkit's own options reach the window.
source "$(dirname "$0")/lib.sh"

out=$(env -u DISPLAY "$KEYVET" --version) || fail "--version failed"
[ "$out" = "keyvet (Keyvet) 2.0" ] || fail "--version printed '$out'"
out=$(env -u DISPLAY "$KEYVET" --help) || fail "--help failed"
grep -q '^usage: keyvet' <<<"$out" || fail "--help printed '$out'"
status=0
env -u DISPLAY "$KEYVET" --frobnicate >"$WORK/out" 2>"$WORK/err" || status=$?
[ "$status" = 2 ] || fail "an unknown option ended with status $status"
[ ! -s "$WORK/out" ] || fail "an unknown option wrote to standard output"
grep -q "unknown option '--frobnicate'" "$WORK/err" || fail "stderr: $(cat "$WORK/err")"
grep -q '^usage: keyvet' "$WORK/err" || fail "no usage on stderr"
# A toolkit option is named with what is wrong with its value.
status=0
env -u DISPLAY "$KEYVET" -display 2>"$WORK/err" || status=$?
[ "$status" = 2 ] || fail "-display without a value ended with status $status"
grep -qx "keyvet: option '-display' needs a value: an X display such as :0" "$WORK/err" ||
    fail "-display: $(cat "$WORK/err")"
env -u DISPLAY "$KEYVET" -geometry garbage 2>"$WORK/err" || true
grep -qx "keyvet: option '-geometry': 'garbage' is not a window geometry such as 800x600+10+20" \
    "$WORK/err" || fail "-geometry garbage: $(cat "$WORK/err")"

start_xvfb
(cd "$WORK" && exec env KEYVET_STATE_FILE="$STATE" "$KEYVET" -title "Keyvet under test" \
    -geometry +40+30 >"$WORK/program.log" 2>&1) &
PROGRAM_PID=$!
for _ in $(seq $((WAIT * 20))); do
    [ -f "$STATE" ] && break
    kill -0 "$PROGRAM_PID" 2>/dev/null || fail "the program ended at start-up"
    sleep 0.05
done
[ -f "$STATE" ] || fail "the main window was not painted within $WAIT s"
window=$(xdotool search --name '^Keyvet under test$' | head -n1)
[ -n "$window" ] || fail "no window titled by -title"
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$X" = 40 ] && [ "$Y" = 30 ] || fail "-geometry +40+30 placed the window at $X,$Y"
echo PASS
