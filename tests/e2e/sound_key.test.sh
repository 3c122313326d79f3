# The sound card as the key, on a machine without one: an ALSA "file" device whose input is a
# named pipe fed in real time by a synthesised keyed tone (the feeder). The device is chosen in the
# settings file; a warm-up lets the detector find the tone, then a run is keyed through the sound
# alone and the changes it logs lie where they were keyed, so the results equal the replay of the
# keyed timing.
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
# The detector decides about a third of a second after the sound.
sleep 2.5
state
expect Form1.Memo2.Lines 11
polls=$(value Form1.Memo2.Words)
states=$(value Form1.Memo3.Words)
click Form1.Button1
wait_for Form1.Start.Caption "Re-start: Press TWICE"
expect Dialog.Open 0

# Each change logged within a millisecond and a half of where it was keyed (160 polls a ms).
awk -v polls="$polls" -v run="$run" 'BEGIN {
    n = split(polls, p, " "); split(run, k, ",")
    for (i = 3; i <= n; i++) {
        logged = (p[i] - p[2]) / 160; keyed = k[i - 1] - k[1]
        if (logged - keyed > 1.5 || keyed - logged > 1.5) {
            printf "change %d logged at %.2f ms, keyed at %d ms\n", i - 1, logged, keyed; exit 1
        }
    }
}' || fail "a change is logged away from its keyed time (polls $polls)"

# The results equal the replay of the keyed timing, placed where the first change was logged.
awk -v polls="$polls" -v states="$states" -v run="$run" 'BEGIN {
    n = split(polls, p, " "); split(states, s, " "); split(run, k, ",")
    printf "rate 160\ninitial %d\n", s[1]
    for (i = 2; i <= n; i++) printf "%.6f %s\n", p[2] / 160 + k[i - 1] - 0.5 / 160, (s[i] > 120 ? "down" : "up")
}' >"$WORK/timing.txt"
"$KEYVET_REPLAY" "$WORK/timing.txt" >"$WORK/replayed" || fail "the replay failed: $(cat "$WORK/timing.txt")"
# Within a millisecond or a merit point (a tenth for a ratio): a change placed a fraction of a
# millisecond off can tip a rounding.
for box in Label21 Edit1 Edit2 Edit3 Edit4 Edit5 Edit6 Edit7 Edit8 Edit9 Edit10 Edit11 Edit12 Edit13; do
    exact=$(awk -F'\t' -v box="$box" '$1 == box {print $2}' "$WORK/replayed")
    shown=$(value "Form1.$box.Caption")
    awk -v a="$shown" -v b="$exact" 'BEGIN {
        if (a == b) exit 0
        if (a !~ /^-?[0-9.]+$/ || b !~ /^-?[0-9.]+$/) exit 1
        d = a - b; if (d < 0) d = -d
        exit d > (index(a b, ".") ? 0.1 : 1)
    }' || fail "$box shows '$shown', the replay of the keyed timing '$exact'"
done
[[ "$(value Form1.Edit1.Caption)" =~ ^[0-9]+$ ]] || fail "no dit length"
echo PASS
