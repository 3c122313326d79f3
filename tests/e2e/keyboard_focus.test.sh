# The keyboard key held while the focus leaves Keyvet for another program's window: the key ends
# as up at that moment (Keyvet sees no key release once it has lost the focus, so it would
# otherwise stay down for the rest of the run), and keying goes on when Keyvet has the focus back.
source "$(dirname "$0")/lib.sh"
mkdir -p "$XDG_CONFIG_HOME/keyvet"
printf '[key-input]\ninput = keyboard-key\nkeyboard-key = Control_L\n' \
    >"$XDG_CONFIG_HOME/keyvet/settings.ini"
start_xvfb
start_program
state
expect KeyInput keyboard-key

click Form1.Start
wait_for Form1.Button1.Enabled 1
window=$(xdotool search --name '^Morse Keyvet' | head -n1)
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool keydown Control_L
wait_for Form1.Label1.Caption 129
expect Form1.Memo2.Lines 2

# Another program's window takes the focus while the key is held.
xmessage -geometry +900+10 -name keyvet-focus-thief 'another program' &
thief_pid=$!
thief=
for _ in $(seq 100); do
    thief=$(xdotool search --name '^keyvet-focus-thief$' 2>/dev/null | head -n1 || true)
    [ -n "$thief" ] && break
    sleep 0.05
done
[ -n "$thief" ] || fail "the other window did not appear"
xdotool windowfocus --sync "$thief"
# The key-state byte: bit 7 the key, bit 0 toggled at each press.
wait_for Form1.Label1.Caption 1
expect Form1.Memo2.Lines 3
# The release goes to the other window: Keyvet's key stays up.
xdotool keyup Control_L
sleep 0.2
state
expect Form1.Memo2.Lines 3

# Back in Keyvet the key keys again.
xdotool windowfocus --sync "$window"
xdotool keydown Control_L
wait_for Form1.Label1.Caption 128
xdotool keyup Control_L
wait_for Form1.Label1.Caption 0
expect Form1.Memo2.Lines 5
kill "$thief_pid" 2>/dev/null || true
echo PASS
