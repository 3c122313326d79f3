# Zoom, undo and panning on the main window's chart after a keyed run, with the real mouse: a left
# drag right and down zooms the time axis to the dragged span, the reverse drag undoes it, a right
# drag pans; during a run the right button only keys, even in drags over the chart, and Start
# shows the new run unzoomed.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_program

# Screen position of a pixel of the chart: "X Y" for chart pixel $1 $2.
chart_screen() {
    local rect x y w h
    rect=$(value Form1.Chart1.Screen)
    IFS=, read -r x y w h <<<"$rect"
    echo "$((x + $1)) $((y + $2))"
}
# Field $2 (1-based) of the comma list in state key $1.
field() { value "$1" | cut -d, -f"$2"; }

click Form1.Start
wait_for Form1.Button1.Enabled 1
read -r cx cy < <(centre Form1.Chart1)
xdotool mousemove "$cx" "$cy"
# Dits and dahs, element and character spaces: a run of marks or spaces all alike stops the
# analysis with a division by zero.
key_morse 0.1 0.3/0.2 0.1 0.3/0.2 0.1 0.3/0.2 0.1 0.3
sleep 0.3
click Form1.Button1
wait_for Form1.Start.Caption "Re-start: Press TWICE"
state
[ "$(field Form1.Chart1.BottomAxis 3)" = 1 ] || fail "the time axis does not follow the run"
min=$(field Form1.Chart1.BottomAxis 1)
max=$(field Form1.Chart1.BottomAxis 2)
start_px=$(field Form1.Chart1.BottomAxisPixels 1)
end_px=$(field Form1.Chart1.BottomAxisPixels 2)
top=$(field Form1.Chart1.Plot 2)
bottom=$(field Form1.Chart1.Plot 4)
echo "time axis $min .. $max ms over pixels $start_px .. $end_px"
awk -v m="$max" 'BEGIN { exit !(m > 1500) }' || fail "the run is shorter than 1.5 s ($max ms)"

# Drag from the start of the run to 1000 ms.
px=$(awk -v a="$min" -v b="$max" -v s="$start_px" -v e="$end_px" \
    'BEGIN { printf "%d", s + (1000 - a) * (e - s) / (b - a) }')
read -r x0 y0 < <(chart_screen "$start_px" $((top + 5)))
read -r x1 y1 < <(chart_screen "$px" $((bottom - 5)))
xdotool mousemove "$x0" "$y0" mousedown 1
xdotool mousemove $(((x0 + x1) / 2)) $(((y0 + y1) / 2))
xdotool mousemove "$x1" "$y1"
sleep 0.1
xdotool mouseup 1
sleep 0.3
state
zmin=$(field Form1.Chart1.BottomAxis 1)
zmax=$(field Form1.Chart1.BottomAxis 2)
echo "zoomed to $zmin .. $zmax ms"
[ "$(field Form1.Chart1.BottomAxis 3)" = 0 ] || fail "the drag did not zoom"
per_px=$(awk -v a="$min" -v b="$max" -v s="$start_px" -v e="$end_px" 'BEGIN { print (b - a) / (e - s) }')
awk -v z="$zmax" -v p="$per_px" 'BEGIN { exit !(z > 1000 - 2 * p && z < 1000 + 2 * p) }' ||
    fail "zoomed to $zmax ms instead of 1000"
awk -v z="$zmin" -v a="$min" -v p="$per_px" 'BEGIN { exit !(z > a - 2 * p && z < a + 2 * p) }' ||
    fail "zoomed from $zmin ms instead of $min"

# The reverse drag undoes the zoom.
xdotool mousemove "$x1" "$y1" mousedown 1
xdotool mousemove $(((x0 + x1) / 2)) $(((y0 + y1) / 2))
xdotool mousemove "$x0" "$y0"
sleep 0.1
xdotool mouseup 1
sleep 0.3
state
[ "$(field Form1.Chart1.BottomAxis 3)" = 1 ] || fail "the reverse drag did not undo the zoom"
[ "$(field Form1.Chart1.BottomAxis 2)" = "$max" ] || fail "undo left $(value Form1.Chart1.BottomAxis)"

# A right drag to the left pans later times into view; the key byte still follows the button.
read -r x y < <(centre Form1.Chart1)
xdotool mousemove "$x" "$y" mousedown 3
sleep 0.1
state
expect KeyState 129
xdotool mousemove $((x - 30)) "$y"
xdotool mousemove $((x - 60)) "$y"
sleep 0.1
xdotool mouseup 3
sleep 0.3
state
expect KeyState 1
pmin=$(field Form1.Chart1.BottomAxis 1)
awk -v p="$pmin" -v a="$min" 'BEGIN { exit !(p > a) }' || fail "the right drag did not pan ($pmin)"

# A new run shows the whole chart again, and keying over the chart while dragging neither zooms
# nor pans it.
click Form1.Start
wait_for Form1.Button1.Enabled 1
state
[ "$(field Form1.Chart1.BottomAxis 3)" = 1 ] || fail "Start left the chart panned"
read -r x y < <(centre Form1.Chart1)
xdotool mousemove "$x" "$y" mousedown 3
xdotool mousemove $((x - 80)) $((y + 20))
sleep 0.2
xdotool mouseup 3
xdotool mousemove "$x" "$y" mousedown 1
xdotool mousemove $((x + 80)) $((y + 40))
sleep 0.1
xdotool mouseup 1
key_morse 0.1/0.2 0.3 0.1
sleep 0.2
click Form1.Button1
wait_for Form1.Start.Caption "Re-start: Press TWICE"
state
[ "$(field Form1.Chart1.BottomAxis 3)" = 1 ] || fail "keying over the chart zoomed or panned it"
[ "$(field Form1.Chart1.LeftAxis 3)" = 1 ] || fail "keying over the chart moved the vertical axis"
echo PASS
