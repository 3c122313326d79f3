# File -> Analyse a recording...: a recording of a keyed tone (the side-tone the replay tool
# records of a script) is read with the progress window, its run shows in the past-run window
# with the boxes `keyvet-replay --audio` prints for it and in the Details window, and Keep in
# history stores it. A file that is no sound says so in one message. With KEYVET_SCREENSHOT set,
# the run window is saved there.
source "$(dirname "$0")/lib.sh"
: "${KEYVET_REPLAY:?KEYVET_REPLAY must name the replay tool}"

# PARIS twice at 20 wpm, then 20 s of silence so that the reading takes a while.
cat >"$WORK/keying.txt" <<'KEYS'
1000 down
1060 up
1120 down
1300 up
1360 down
1540 up
1600 down
1660 up
1840 down
1900 up
1960 down
2140 up
2320 down
2380 up
2440 down
2620 up
2680 down
2740 up
2920 down
2980 up
3040 down
3100 up
3280 down
3340 up
3400 down
3460 up
3520 down
3580 up
4000 down
4060 up
4120 down
4300 up
4360 down
4540 up
4600 down
4660 up
4840 down
4900 up
4960 down
5140 up
5320 down
5380 up
5440 down
5620 up
5680 down
5740 up
5920 down
5980 up
6040 down
6100 up
6280 down
6340 up
6400 down
6460 up
6520 down
6580 up
finish 26000
KEYS
"$KEYVET_REPLAY" --wav "$WORK/keying.wav" "$WORK/keying.txt" >/dev/null ||
    fail "the replay tool did not record the keying"
"$KEYVET_REPLAY" --details --audio "$WORK/keying.wav" >"$WORK/heard.txt" ||
    fail "the replay tool did not analyse the recording"
box() { grep -m1 "^$1	" "$WORK/heard.txt" | cut -f2-; }

start_xvfb
start_program "" KEYVET_OPEN_FILE="$WORK/keying.wav"

# File -> Analyse a recording... is the fifth item.
click Form1.File1
sleep 0.3
xdotool key Down Down Down Down Down Return
wait_for PastRunForm.Visible 1
expect PastRunForm.Caption "Recording keying.wav"
expect RecordingForm.Visible 0
expect Dialog.Open 0
expect PastRunForm.Results.Item0 "Practice text: "
expect PastRunForm.Results.Item1 "Average dit length (ms): $(box Edit1)"
expect PastRunForm.Results.Item2 "Average dah length (ms): $(box Edit2)"
expect PastRunForm.Results.Item7 "Character merit: $(box Edit7)"
expect PastRunForm.Results.Item10 "Estimated speed (wpm): $(box Edit10)"
expect PastRunForm.Results.Item11 "Word merit: $(box Edit11)"
expect PastRunForm.Results.Item14 "Read back: $(box ReadBack)"
[ "$(box ReadBack)" = "PARIS PARIS" ] || fail "the tool reads back '$(box ReadBack)'"
expect DetailsForm.Visible 1
expect PastRunForm.KeepButton.Visible 1
expect PastRunForm.KeepButton.Caption "Keep in history"
# The main window's boxes are its own runs', untouched.
expect Form1.Edit7.Caption ""

if [ -n "${KEYVET_SCREENSHOT:-}" ]; then
    # The Details window opens over the run window: put it away for the picture.
    xdotool search --onlyvisible --name '^Details$' windowunmap 2>/dev/null || true
    sleep 0.3
    import -window root "$KEYVET_SCREENSHOT"
fi

click PastRunForm.KeepButton
wait_for PastRunForm.KeepButton.Caption "Kept in history"
expect PastRunForm.KeepButton.Enabled 0
DB=$XDG_DATA_HOME/keyvet/history.sqlite
[ "$("$KEYVET_HOLD_HISTORY" "$DB" --count)" = 1 ] || fail "the history does not hold the run"
close_program

# A file that is no sound: one message, no run window.
echo "not sound" >"$WORK/notes.wav"
start_program "" KEYVET_OPEN_FILE="$WORK/notes.wav"
click Form1.File1
sleep 0.3
xdotool key Down Down Down Down Down Return
wait_for Dialog.Open 1
[[ "$(value Dialog.Text)" == "$WORK/notes.wav is not a sound file that can be read"* ]] ||
    fail "the message is '$(value Dialog.Text)'"
expect PastRunForm.Visible 0
echo PASS
