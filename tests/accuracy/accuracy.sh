# How close the real program comes to the exact analysis of a keying: starts keyvet under its own
# Xvfb, keys tests/accuracy/keying.txt with keyvet-injector (XTest, absolute-time sleeps), reads
# the result boxes through the test-only state channel and compares them with keyvet-replay's
# results for the same timing (the times at which the events were really sent). Ten runs idle, then ten with a busy loop on every core; prints per
# box the bias (mean of measured minus exact) and the spread (lowest and highest difference),
# then keys twenty 10 ms presses and counts the ones lost. Fails only when a run could not be
# made; the figures are reported, not judged. ACCURACY_RUNS sets the runs per load (default 10);
# ACCURACY_MONITOR=1 keeps the Live monitor open in every run (its settings file says so).
# ACCURACY_INPUT=device keys an input device: keyvet-virtual-device serves one under /dev through
# FUSE and the injector sends it the changes with their times; where FUSE cannot be mounted (no
# /dev/fuse, not root, the daemon not built) it says so and the test is skipped (status 77).
source "$(dirname "$0")/../e2e/lib.sh"
: "${KEYVET_REPLAY:?KEYVET_REPLAY must name keyvet-replay}"
: "${KEYVET_INJECTOR:?KEYVET_INJECTOR must name keyvet-injector}"
HERE=$(cd "$(dirname "$0")" && pwd)
KEYING=$HERE/keying.txt
SHORT=$HERE/short-presses.txt
RUNS=${ACCURACY_RUNS:-10}
# Average dit, dah, dit-space, dah-space; character and word merit.
BOXES="Edit1 Edit2 Edit3 Edit4 Edit7 Edit11"
HOGS=()
MONITOR=${ACCURACY_MONITOR:-0}
# The key keyed: the right button, or with ACCURACY_INPUT=keyboard the keyboard key (Left Ctrl),
# or with ACCURACY_INPUT=device the virtual input device's key (BTN_LEFT).
INPUT=${ACCURACY_INPUT:-button}
DEVICE_PID=
DEVICE_MOUNT=
DEVICE_CODE=272  # BTN_LEFT
mkdir -p "$XDG_CONFIG_HOME/keyvet"
: >"$XDG_CONFIG_HOME/keyvet/settings.ini"
if [ "$MONITOR" = 1 ]; then
    printf '[window]\nlive-monitor = 1\n' >>"$XDG_CONFIG_HOME/keyvet/settings.ini"
fi
case "$INPUT" in
    button) export KEYVET_INJECT_KEY= ;;
    keyboard)
        printf '[key-input]\ninput = keyboard-key\nkeyboard-key = Control_L\n' \
            >>"$XDG_CONFIG_HOME/keyvet/settings.ini"
        export KEYVET_INJECT_KEY=Control_L
        ;;
    device) ;;  # set up once the device is served (below)
    *) fail "ACCURACY_INPUT must be button, keyboard or device, not '$INPUT'" ;;
esac

# The input device cannot be measured here: says why and ends as skipped.
skip_device() {
    echo "input device: not measured: $*"
    exit 77
}

# Serves the virtual input device under /dev (the program takes device paths there only) and
# points the program's settings at it.
start_device() {
    [ -n "${KEYVET_VIRTUAL_DEVICE:-}" ] ||
        skip_device "keyvet-virtual-device was not built (libfuse3 not found)"
    [ -e /dev/fuse ] || skip_device "the machine has no /dev/fuse"
    [ "$(id -u)" = 0 ] || skip_device "mounting a file system under /dev needs root"
    DEVICE_MOUNT=$(mktemp -d /dev/keyvet-vdev.XXXXXX 2>/dev/null) ||
        skip_device "cannot make a folder under /dev"
    : >"$WORK/device.counts"
    "$KEYVET_VIRTUAL_DEVICE" --code "$DEVICE_CODE" "$DEVICE_MOUNT" "$WORK/device-control" \
        >"$WORK/device.counts" 2>"$WORK/device.log" &
    DEVICE_PID=$!
    for _ in $(seq 200); do
        [ -e "$DEVICE_MOUNT/event0" ] && break
        if ! kill -0 "$DEVICE_PID" 2>/dev/null; then
            local status=0
            wait "$DEVICE_PID" || status=$?
            DEVICE_PID=
            [ "$status" = 3 ] && skip_device "$(head -n1 "$WORK/device.log")"
            fail "keyvet-virtual-device ended at start-up: $(cat "$WORK/device.log")"
        fi
        sleep 0.05
    done
    [ -e "$DEVICE_MOUNT/event0" ] || fail "keyvet-virtual-device served no event0 within 10 s"
    printf '[key-input]\ninput = input-device\ninput-device = %s\ndevice-code = %s\n' \
        "$DEVICE_MOUNT/event0" "$DEVICE_CODE" >>"$XDG_CONFIG_HOME/keyvet/settings.ini"
    export KEYVET_INJECT_KEY=
    export KEYVET_INJECT_DEVICE=$WORK/device-control
}

# Asks the device how often it has been read so far; waits for its answer line.
device_count() {
    local before
    before=$(wc -l <"$WORK/device.counts")
    echo count >"$KEYVET_INJECT_DEVICE"
    for _ in $(seq 200); do
        [ "$(wc -l <"$WORK/device.counts")" -gt "$before" ] && return 0
        sleep 0.01
    done
    fail "keyvet-virtual-device did not answer a count"
}

# Between the last two counts: the reads per millisecond (the program reads once per poll) and
# the key changes that the program's state reads dropped before it read them (logged where they
# were noticed instead of at their times), as "READS_PER_MS DROPPED".
device_counts() {
    tail -n2 "$WORK/device.counts" | awk 'NR == 1 { r = $2; t = $4; d = $5 }
        NR == 2 { printf "%.1f %d\n", ($2 - r) / (($4 - t) / 1e6), $5 - d }'
}

# How far the logged transitions lie from the keying as sent: the gaps between successive logged
# poll counts (160 slices a ms) against the gaps between the times sent, as "WORST MEAN" in
# microseconds (absolute differences); nothing when the counts of transitions differ.
placement_errors() {
    awk -v polls="$(value Form1.Memo2.Words)" '
        /^[0-9.]+ (down|up)/ { sent[++n] = $1 }
        END {
            if (split(polls, p, " ") - 1 != n || n < 2) exit
            for (i = 2; i <= n; i++) {
                d = (p[i + 1] - p[i]) / 160 * 1000 - (sent[i] - sent[i - 1]) * 1000
                if (d < 0) d = -d
                if (d > worst) worst = d
                sum += d
            }
            printf "%.0f %.1f\n", worst, sum / (n - 1)
        }' "$WORK/sent"
}

# The keying as sent, moved by less than a millisecond so that the replay's polls fall at the
# program's phase of the slice grid (written to file $1; false when the logged transitions do
# not match those sent). The analysis truncates each transition to whole milliseconds of its poll
# count, so the replay of the keying as sent can differ by a millisecond a length from a program
# that logged every change exactly; at the same phase it cannot. The replay polls at ceil(160 t),
# the program at floor(160 t + A): every transition bounds A (to within the microseconds its time
# was rounded to), the middle of the bounds is taken, and a shift of (A - 1) / 160 ms (modulo a
# millisecond) makes the two agree.
phase_matched_script() {
    awk -v polls="$(value Form1.Memo2.Words)" -v out="$1" '
        /^[0-9.]+ (down|up)/ { sent[++n] = $1; kind[n] = $2; next }
        /^(rate|tick0) / { header = header $0 "\n" }
        END {
            if (split(polls, p, " ") - 1 != n || n < 2) exit 1
            for (i = 1; i <= n; i++) {
                a = p[i + 1] - 160 * sent[i]
                if (i == 1 || a > lo) lo = a
                if (i == 1 || a + 1 < hi) hi = a + 1
            }
            shift = (lo + hi) / 2 - 1
            shift = (shift - 160 * int(shift / 160)) / 160
            printf "# the keying as sent, at the program'"'"'s slice phase\n%s", header > out
            for (i = 1; i <= n; i++) printf "%.4f %s\n", sent[i] + shift, kind[i] > out
        }' "$WORK/sent"
}

# Stops the daemon (it unmounts) and removes the mount point; unmounts by force a mount that a
# killed daemon left behind.
stop_device() {
    if [ -n "$DEVICE_PID" ]; then
        kill "$DEVICE_PID" 2>/dev/null || true
        wait "$DEVICE_PID" 2>/dev/null || true
        DEVICE_PID=
    fi
    if [ -n "$DEVICE_MOUNT" ]; then
        if grep -q " $DEVICE_MOUNT " /proc/mounts; then
            umount -l "$DEVICE_MOUNT" 2>/dev/null || true
        fi
        rmdir "$DEVICE_MOUNT" 2>/dev/null || true
        DEVICE_MOUNT=
    fi
}

stop_hogs() {
    local pid
    for pid in "${HOGS[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    HOGS=()
}
# The program lets go of the device before the device goes.
trap 'stop_hogs; stop_program; stop_device; cleanup' EXIT

start_hogs() {
    local _
    for _ in $(seq "$(nproc)"); do
        bash -c 'while :; do :; done' &
        HOGS+=($!)
    done
}

stop_program() {
    [ -n "$PROGRAM_PID" ] || return 0
    kill "$PROGRAM_PID" 2>/dev/null || true
    wait "$PROGRAM_PID" 2>/dev/null || true
    PROGRAM_PID=
}

# The boxes' values that keyvet-replay gives for script $1, as "Edit1=63" lines in file $2.
replay_boxes() {
    "$KEYVET_REPLAY" "$1" | awk -F'\t' '$1 ~ /^Edit/ {print $1 "=" $2}' >"$2"
}
# The value of box $2 in file $1.
box_in() { grep -m1 "^$2=" "$1" | cut -d= -f2-; }
replay_boxes "$KEYING" "$WORK/scripted"
for box in $BOXES; do
    [[ "$(box_in "$WORK/scripted" "$box")" =~ ^-?[0-9]+$ ]] ||
        fail "the replay gives no $box for the keying"
done
transitions=$(grep -cE '^[0-9.]+ (down|up)' "$KEYING")

# One keyed run in a fresh program: keys $1, clicks Finish, leaves the state in $STATE.
keyed_run() {
    rm -f "$STATE"  # the last run's state must not pass for the new program's first paint
    if ! kill -0 "$XVFB_PID" 2>/dev/null; then
        echo "(the X server had ended: a new one)"
        start_xvfb
    fi
    start_program
    if [ "$MONITOR" = 1 ]; then
        wait_for MonitorForm.Visible 1
    fi
    click Form1.Start
    wait_for Form1.Button1.Enabled 1
    local x y
    read -r x y < <(centre Form1.Chart1)
    xdotool mousemove "$x" "$y"
    if [ "$INPUT" = keyboard ]; then
        xdotool windowfocus --sync "$(xdotool search --name '^Morse Keyvet' | head -n1)" 2>/dev/null ||
            true
    fi
    sleep 0.3
    if [ "$INPUT" = device ]; then
        device_count
    fi
    "$KEYVET_INJECTOR" "$1" "$WORK/sent" >"$WORK/injected" || fail "the injector failed"
    if [ "$INPUT" = device ]; then
        device_count
    fi
    cat "$WORK/injected" >>"$WORK/injector.log"
    sleep 0.3
    click Form1.Button1
    wait_for Form1.Button1.Enabled 0
    sleep 0.5
    state
}

# Ten runs under the current load. The exact values are the replay's for the times at which the
# injector really sent the events (a loaded machine wakes it late, and a late press is the
# keying's, not the capture's error); appends "load box measured exact" lines to $WORK/diffs.
measure() {
    local load=$1 run box value exact lines
    for run in $(seq "$RUNS"); do
        keyed_run "$KEYING"
        replay_boxes "$WORK/sent" "$WORK/exact"
        lines=$(value Form1.Memo2.Lines)
        printf '%s run %2d: rate %s, %s of %s transitions; measured/exact' "$load" "$run" \
            "$(value Form1.Label21.Caption)" "$((lines - 1))" "$transitions"
        for box in $BOXES; do
            value=$(value "Form1.$box.Caption")
            [[ "$value" =~ ^-?[0-9]+$ ]] || value=NaN
            exact=$(box_in "$WORK/exact" "$box")
            printf ' %s %s/%s' "$box" "$value" "$exact"
            echo "$load $box $value $exact" >>"$WORK/diffs"
        done
        printf '; injector late at most %s ms' "$(awk '{print $10}' "$WORK/injected")"
        if [ "$INPUT" = device ]; then
            local rate dropped
            read -r rate dropped < <(device_counts)
            printf '; device read %s times per ms, %s changes read without their times' "$rate" \
                "$dropped"
            echo "$load $rate $dropped" >>"$WORK/device.rates"
        fi
        # What the boxes would be at the program's own phase of the slice grid, and how far the
        # logged gaps lie from those sent: what is left once the analysis's whole milliseconds
        # are set aside.
        if phase_matched_script "$WORK/matched.txt"; then
            replay_boxes "$WORK/matched.txt" "$WORK/matched"
            local off=""
            for box in $BOXES; do
                value=$(value "Form1.$box.Caption")
                [ "$value" = "$(box_in "$WORK/matched" "$box")" ] ||
                    off="$off $box $value/$(box_in "$WORK/matched" "$box")"
            done
            printf '; at the same slice phase %s' "${off:-every box equal}"
            echo "$load ${off:+differ}" >>"$WORK/matched.log"
        fi
        local worst mean
        if read -r worst mean < <(placement_errors); then
            printf '; gaps off by %s us at most, %s us on average' "$worst" "$mean"
            echo "$load $worst $mean" >>"$WORK/placement.log"
        fi
        echo
        stop_program
    done
}

# Twenty 10 ms presses; prints how many were lost.
short_presses() {
    local load=$1 logged
    keyed_run "$SHORT"
    logged=$(( $(value Form1.Memo2.Lines) - 1 ))
    printf '%s: 10 ms presses: %s of 20 logged (transitions %s of 40)' "$load" \
        "$((logged / 2))" "$logged"
    if [ "$INPUT" = device ]; then
        local rate dropped
        read -r rate dropped < <(device_counts)
        printf '; %s changes read without their times' "$dropped"
    fi
    echo
    stop_program
}

[ "$INPUT" = device ] && start_device
start_xvfb
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg) at the start"
echo "live monitor: $([ "$MONITOR" = 1 ] && echo open || echo closed); key: $INPUT"
echo "exact for the keying as scripted:$(for b in $BOXES; do printf ' %s %s' "$b" "$(box_in "$WORK/scripted" "$b")"; done)"
measure idle
short_presses idle
start_hogs
measure busy
short_presses busy
stop_hogs
stop_device
echo "load average $(cut -d' ' -f1-3 /proc/loadavg) at the end"
if [ "$INPUT" = device ]; then
    awk '{ n[$1]++; sum[$1] += $2; dropped[$1] += $3 } END {
        printf "device: read %.1f times per ms idle, %.1f busy (mean over the runs); changes read " \
            "without their times: %d idle, %d busy\n", sum["idle"] / n["idle"], sum["busy"] / n["busy"],
            dropped["idle"], dropped["busy"] }' "$WORK/device.rates"
fi
if [ -s "$WORK/matched.log" ]; then
    awk -v input="$INPUT" '{ n[$1]++; if ($2 == "") same[$1]++ } END {
        printf "%s: every box equal to the replay at the program'"'"'s slice phase in %d " \
            "of %d runs idle, %d of %d busy\n", input, same["idle"], n["idle"], same["busy"], n["busy"] }' \
        "$WORK/matched.log"
fi
if [ -s "$WORK/placement.log" ]; then
    awk -v input="$INPUT" '{ if ($2 > worst[$1]) worst[$1] = $2; n[$1]++; sum[$1] += $3 } END {
        printf "%s: gaps between logged transitions off the sent ones by at most %d us " \
            "idle, %d us busy; %.1f and %.1f us on average\n", input, worst["idle"], worst["busy"],
            n["idle"] ? sum["idle"] / n["idle"] : 0, n["busy"] ? sum["busy"] / n["busy"] : 0 }' \
        "$WORK/placement.log"
fi
cat "$WORK/injector.log" | awk '{ if ($10 + 0 > worst) worst = $10 + 0 }
    END { printf "injector: events sent at most %.3f ms late\n", worst }'

# Per load and box: bias and spread of measured minus exact, and runs outside the goal (1 ms or
# 1 point idle, 2 busy).
awk -v boxes="$BOXES" '{
    key = $1 " " $2
    if ($3 == "NaN" || $4 == "") { failed[key]++; next }
    d = $3 - $4; n[key]++; sum[key] += d
    if (!(key in lo) || d < lo[key]) lo[key] = d
    if (!(key in hi) || d > hi[key]) hi[key] = d
    limit = ($1 == "idle") ? 1 : 2
    if (d > limit || d < -limit) out[key]++
} END {
    printf "%-5s %-7s %6s %5s %5s %8s %7s\n", "load", "box", "bias", "min", "max", "outside", "failed"
    split("idle busy", loads, " ")
    nb = split(boxes, names, " ")
    for (l = 1; l <= 2; l++) for (b = 1; b <= nb; b++) {
        key = loads[l] " " names[b]
        printf "%-5s %-7s %6.2f %5d %5d %8d %7d\n", loads[l], names[b],
            n[key] ? sum[key] / n[key] : 0, lo[key], hi[key], out[key], failed[key]
    }
}' "$WORK/diffs"
echo PASS
