# What the operator hears, through the real sound path on a machine without a sound card: the
# default sound device is an ALSA "file" device that pipes each stream the program opens into a
# sink taking it at a sound card's pace into a WAV file of its own. The run played back (Run ->
# Play back), read from its file by the replay tool's tone detector, gives the run's own results
# within a millisecond: what sounds is the keying that was logged. The live side-tone's stream
# holds the keyed run too (its edges follow the callbacks, which a pipe bunches together, so its
# lengths are not judged here).
source "$(dirname "$0")/lib.sh"
: "${KEYVET_REPLAY:?KEYVET_REPLAY must name keyvet-replay}"
: "${KEYVET_SOUND_SINK:?KEYVET_SOUND_SINK must name e2e-sound-sink}"
mkdir -p "$WORK/home" "$WORK/played"
cat >"$WORK/home/.asoundrc" <<ASOUND
pcm.keyvet_sink {
    type file
    slave.pcm "null"
    file "|$KEYVET_SOUND_SINK $WORK/played 48000"
    format "raw"
}
pcm.!default {
    type plug
    slave { pcm "keyvet_sink"; format S16_LE; rate 48000; channels 1 }
}
ASOUND
start_xvfb
start_program "$WORK" HOME="$WORK/home"

click Form1.Start
wait_for Form1.Button1.Enabled 1
read -r x y < <(centre Form1.Chart1)
xdotool mousemove "$x" "$y"
# Dah dit dah, a longer space, dit dah dit dah.
key_morse 0.18/0.06 0.06/0.06 0.18/0.25 0.06/0.06 0.18/0.06 0.06/0.06 0.18
wait_for Form1.Label1.Caption 1
click Form1.Button1
wait_for Form1.Start.Caption "Re-start: Press TWICE"
state
declare -A shown
for box in Edit1 Edit2 Edit3 Edit4 Edit7 Edit11; do
    shown[$box]=$(value "Form1.$box.Caption")
    [[ "${shown[$box]}" =~ ^[0-9]+$ ]] || fail "$box shows '${shown[$box]}'"
done

# Run -> Play back, the fourth item; the run lasts under 2 s. Its stream is the one opened then.
ls "$WORK/played" >"$WORK/streams-before"
click Form1.Run1
sleep 0.3
xdotool key Down Down Down Down Return
sleep 0.5
state
expect Dialog.Open 0
sleep 2.5
close_program
# The sinks end when the program closes its streams.
for _ in $(seq $((WAIT * 10))); do
    ls "$WORK"/played/*.part >/dev/null 2>&1 || break
    sleep 0.1
done
ls "$WORK/played" | sed 's/\.part$//' | sort -u >"$WORK/streams"
live=$(sed 's/\.part$//' "$WORK/streams-before")
played=$(grep -vxF -f "$WORK/streams-before" "$WORK/streams" | grep -vxF "$live" || true)
[ -n "$live" ] && [ -f "$WORK/played/$live" ] || fail "no live side-tone stream: $(cat "$WORK/streams")"
[ "$(wc -w <<<"$played")" = 1 ] || fail "the play back's stream: '$played' ($(cat "$WORK/streams"))"

"$KEYVET_REPLAY" --audio "$WORK/played/$live" >"$WORK/heard-live" 2>&1 ||
    fail "the live side-tone held no keying: $(head -n1 "$WORK/heard-live")"
"$KEYVET_REPLAY" --audio "$WORK/played/$played" >"$WORK/heard" 2>&1 ||
    fail "the run played back could not be analysed: $(head -n1 "$WORK/heard")"
for box in Edit1 Edit2 Edit3 Edit4 Edit7 Edit11; do
    heard=$(awk -F'\t' -v box="$box" '$1 == box {print $2}' "$WORK/heard")
    [[ "$heard" =~ ^[0-9]+$ ]] || fail "$box: the play back gives '$heard'"
    # Averages within 1 ms; a merit moves 2 points for a 1 ms flip of an average.
    limit=1
    case $box in Edit7 | Edit11) limit=2 ;; esac
    diff=$((heard - shown[$box]))
    [ "${diff#-}" -le "$limit" ] || fail "$box: the run showed ${shown[$box]}, its play back $heard"
    echo "$box: shown ${shown[$box]}, played back $heard"
done
echo PASS
