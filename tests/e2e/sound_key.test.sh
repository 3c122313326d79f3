# The sound card as the key, on a machine without one: an ALSA "file" device whose input is a
# named pipe fed in real time by a synthesised keyed tone (the feeder). The device is chosen in the
# settings file; a warm-up lets the detector find the tone, then a run is keyed through the sound
# alone: every change is logged, where it was keyed, and the results are the analysis of what was
# logged. Then the Key input window shows the tone's pitch, its level and the key held down.
# With KEYVET_SCREENSHOT set, the window is saved there.
source "$(dirname "$0")/lib.sh"
: "${KEYVET_REPLAY:?KEYVET_REPLAY must name keyvet-replay}"
: "${KEYVET_SOUND_FEEDER:?KEYVET_SOUND_FEEDER must name e2e-sound-feeder}"
FEEDER_PID=
trap '[ -z "$FEEDER_PID" ] || kill "$FEEDER_PID" 2>/dev/null || true; cleanup' EXIT

# The virtual capture device, in the scenario's own home.
mkdir -p "$WORK/home"
mkfifo "$WORK/tone.pipe"
cat >"$WORK/home/.asoundrc" <<ASOUND
pcm.keyvet_tone_raw {
    type file
    slave.pcm "null"
    file "/dev/null"
    infile "$WORK/tone.pipe"
    format "raw"
}
pcm.keyvet_tone {
    type plug
    slave { pcm "keyvet_tone_raw"; format S16_LE; rate 16000; channels 1 }
    hint { show on; description "Keyvet test tone" }
}
ASOUND

# The warm-up: TEST TEST at a 60 ms unit (the tone is found on it); the run: dah dit dah dit dah
# with spaces of two lengths, ms after its trigger.
warmup=""
t=0
for code in - . ... - "" - . ... -; do
    if [ -z "$code" ]; then t=$((t + 240)); continue; fi
    for element in $(sed 's/./& /g' <<<"$code"); do
        length=60
        [ "$element" = - ] && length=180
        warmup="$warmup,$t,$((t + length))"
        t=$((t + length + 60))
    done
    t=$((t + 120))
done
run="0,190,250,310,510,700,760,820,1020,1210"
"$KEYVET_SOUND_FEEDER" "$WORK/tone.pipe" 700 "$WORK/warmup=${warmup#,}" "$WORK/run=$run" \
    "$WORK/hold=0,4000" "$WORK/late=$run" \
    2>"$WORK/feeder.log" &
FEEDER_PID=$!

mkdir -p "$XDG_CONFIG_HOME/keyvet"
printf '[key-input]\ninput = sound\nsound-device = keyvet_tone\n' \
    >"$XDG_CONFIG_HOME/keyvet/settings.ini"
start_xvfb
start_program "$WORK" HOME="$WORK/home"
state
expect KeyInput sound
expect Dialog.Open 0

touch "$WORK/warmup"
sleep 4.5
click Form1.Start
wait_for Form1.Button1.Enabled 1
touch "$WORK/run"
# A change reaches the capture about 0.9 s after the sound: the run's 1.2 s and that, or longer on
# a loaded machine.
wait_for Form1.Memo2.Lines 11
polls=$(value Form1.Memo2.Words)
states=$(value Form1.Memo3.Words)
ticks=$(value Form1.Memo6.Words)
click Form1.Button1
wait_for Form1.Start.Caption "Re-start: Press TWICE"
expect Dialog.Open 0

# Each change logged where it was keyed (160 polls a ms). The pipe gives the stream no capture
# clock of its own: on a quiet machine the changes are logged within half a millisecond, but on a
# loaded one the feeder and the device's reader are held off the cores for spells that a sound
# card's capture times would show and the pipe does not, so this checks the placing to within a
# dit (the stamping's exactness is tested through the detector's seam) and prints what it
# measured.
awk -v polls="$polls" -v run="$run" 'BEGIN {
    n = split(polls, p, " "); split(run, k, ",")
    worst = 0
    for (i = 3; i <= n; i++) {
        logged = (p[i] - p[2]) / 160; keyed = k[i - 1] - k[1]
        off = logged - keyed; if (off < 0) off = -off
        if (off > worst) worst = off
        if (off > 60) { printf "change %d logged at %.2f ms, keyed at %d ms\n", i - 1, logged, keyed; exit 1 }
    }
    printf "changes logged within %.2f ms of their keyed times\n", worst
}' || fail "a change is logged away from its keyed time (polls $polls)"

# The results are those the replay tool computes for the logged timing.
expect_replayed_results "$polls" "$ticks" "$states"

# The Key input window hears a long mark.
click Form1.Options1
sleep 0.3
xdotool key Down Return
wait_for KeyInputForm.Visible 1
touch "$WORK/hold"
wait_for KeyInputForm.LampLabel.Caption "Key down"
expect KeyInputForm.InputBox.Caption "Sound (a Morse tone)"
expect KeyInputForm.DeviceBox.Caption keyvet_tone
# The pitch as the detector follows it, to a few hertz.
[[ "$(value KeyInputForm.ToneLabel.Caption)" =~ ^Tone\ (69[5-9]|70[0-5])\ Hz$ ]] ||
    fail "the window shows '$(value KeyInputForm.ToneLabel.Caption)' for a tone of 700 Hz"
# The meter holds the loudest sample of each tenth of a second: the lamp goes down first.
sleep 0.5
state
IFS=, read -r _ _ bar _ <<<"$(value KeyInputForm.MeterBar.Screen)"
# The tone at -10.5 dB of full scale fills 0.825 of the meter's 156 pixels from -60 dB.
[ "$bar" -ge 125 ] && [ "$bar" -le 133 ] || fail "the level meter shows $bar pixels for the tone"
if [ -n "${KEYVET_SCREENSHOT:-}" ]; then
    IFS=, read -r x y w h <<<"$(value KeyInputForm.Screen)"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$KEYVET_SCREENSHOT"
fi
wait_for KeyInputForm.LampLabel.Caption "Key up"

# Finish clicked soon after the last change, before the capture has seen the last ones: Finish
# listens on until they have come, and the run holds every change, the last where it was keyed.
# The click comes 0.6 s after the last change's sound (the capture sees a change about 0.9 s after
# it): the pipe has no capture clock, and on a loaded machine a backlog read late can stamp a
# change some tenths of a second late, which a click closer to it would leave out of the run.
click Form1.Start
wait_for Form1.Button1.Enabled 1
sleep 1
touch "$WORK/late"
sleep 1.8
click Form1.Button1
wait_for Form1.Start.Caption "Re-start: Press TWICE"
state
expect Form1.Memo2.Lines 11
polls=$(value Form1.Memo2.Words)
awk -v polls="$polls" -v run="$run" 'BEGIN {
    n = split(polls, p, " "); split(run, k, ",")
    off = (p[n] - p[2]) / 160 - (k[n - 1] - k[1]); if (off < 0) off = -off
    printf "Finish soon after the run: its last change logged %.2f ms from its keyed time\n", off
    exit off > 60
}' || fail "the last change of a run finished soon after it is misplaced (polls $polls)"
echo PASS
