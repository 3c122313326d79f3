# Resizing the main window stretches the chart; the left+bottom controls keep their distance to
# the left and bottom edges; top-left ones stay put.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_program
state
IFS=, read -r _ _ w h <<<"$(value Form1.Screen)"
wid=$(xdotool search --onlyvisible --name '^Morse Keyvet' | head -n1)
xdotool windowsize "$wid" $((w + 100)) $((h + 60))
wait_for Form1.Bounds "241,196,898,691"
expect Form1.Chart1.Bounds "10,16,868,309"
expect Form1.Start.Bounds "8,337,137,25"
expect Form1.Button1.Bounds "8,375,73,25"
expect Form1.Edit8.Bounds "504,543,193,28"
expect Form1.Label2.Bounds "408,552,$(value Form1.Label2.Bounds | cut -d, -f3,4)"
# The chart's buffer follows its new size: its panel colour in the middle, its frame's shadow in
# the new bottom-right corner.
read -r x y < <(centre Form1.Chart1)
[ "$(pixel "$x" "$y")" = "128,255,255" ] || fail "the stretched chart is $(pixel "$x" "$y") inside"
IFS=, read -r cx cy cw ch <<<"$(value Form1.Chart1.Screen)"
[ "$(pixel $((cx + cw - 1)) $((cy + ch - 1)))" = "128,128,128" ] ||
    fail "the stretched chart's corner is $(pixel $((cx + cw - 1)) $((cy + ch - 1)))"

xdotool windowsize "$wid" "$w" "$h"
wait_for Form1.Bounds "241,196,798,631"
expect Form1.Chart1.Bounds "10,16,768,249"
expect Form1.Start.Bounds "8,277,137,25"
echo PASS
