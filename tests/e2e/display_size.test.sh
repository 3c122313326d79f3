# Display size 200 % (from the settings file): the main window is twice its design size, every
# control where its design data puts it, scaled, the chart drawn at that size with its text as
# sharp as at 100 % (no blended colours); Options -> Display size -> 100 % brings the design size
# back at once and keeps it in the settings; automatic on a 192 dpi screen is 200 %. With
# KEYVET_SCREENSHOT set, the 200 % window is saved there.
source "$(dirname "$0")/lib.sh"
start_xvfb 2048x1536
SETTINGS=$XDG_CONFIG_HOME/keyvet/settings.ini
mkdir -p "$(dirname "$SETTINGS")"
printf '[window]\ndisplay-size = 200\n' >"$SETTINGS"
start_program
state

# Every control of the main window: its place and size on the screen are its design bounds
# doubled, below the menu bar (19 pixels designed, 38 drawn).
check_scaled() {
    local percent=$1 menu=$2 wx wy control bx by bw bh sx sy sw sh checked=0
    IFS=, read -r wx wy _ _ <<<"$(value Form1.Screen)"
    for control in $(grep -o '^Form1\.[A-Za-z0-9]*\.Bounds=' "$STATE" | cut -d. -f2); do
        IFS=, read -r bx by bw bh <<<"$(value "Form1.$control.Bounds")"
        IFS=, read -r sx sy sw sh <<<"$(value "Form1.$control.Screen")"
        [ "$((sx - wx))" = "$((bx * percent / 100))" ] &&
            [ "$((sy - wy))" = "$((menu + by * percent / 100))" ] &&
            [ "$sw" = "$((bw * percent / 100))" ] && [ "$sh" = "$((bh * percent / 100))" ] ||
            fail "$control at $percent %: design $bx,$by,$bw,$bh, on screen $((sx - wx)),$((sy - wy)),$sw,$sh"
        checked=$((checked + 1))
    done
    [ "$checked" -gt 40 ] || fail "only $checked controls checked"
}
check_scaled 200 38
IFS=, read -r _ _ w h <<<"$(value Form1.Screen)"
[ "$w,$h" = "1580,1208" ] || fail "the main window is $w x $h at 200 %, not 1580 x 1208"
expect Form1.Bounds "$(value Form1.Bounds | cut -d, -f1,2),798,631"

# The chart's title, drawn at twice its height: blue text on the panel's cyan, nothing between.
IFS=, read -r cx cy cw _ <<<"$(value Form1.Chart1.Screen)"
title="$((cx + cw / 2 - 150)),$((cy + 4)),300,40"
colours=$(colours_in "$title")
[ "$colours" = 2 ] || fail "the chart's title at 200 % has $colours colours, not 2 (blended text?)"
import -window root -crop "300x40+$((cx + cw / 2 - 150))+$((cy + 4))" +repage "$WORK/title.png"
blue=$(convert "$WORK/title.png" -fill black +opaque "rgb(0,0,255)" -fill white -opaque "rgb(0,0,255)" -format '%[fx:int(mean*w*h+0.5)]' info:)
[ "$blue" -gt 150 ] || fail "the chart's title at 200 % has only $blue blue pixels"
if [ -n "${KEYVET_SCREENSHOT:-}" ]; then
    import -window root "$KEYVET_SCREENSHOT"
fi

# Back to 100 % from the menu: at once, and kept.
click Form1.Options1
sleep 0.3
xdotool key Down Down Right Return
for _ in $(seq $((WAIT * 10))); do
    state
    IFS=, read -r _ _ w h <<<"$(value Form1.Screen)"
    [ "$w,$h" = "790,604" ] && break
    sleep 0.1
done
[ "$w,$h" = "790,604" ] || fail "the main window is $w x $h after choosing 100 %"
check_scaled 100 19
grep -q '^display-size = 100$' "$SETTINGS" || fail "the chosen size is not in the settings"

# Automatic on a screen of 192 dpi: 200 %.
kill "$PROGRAM_PID"
wait "$PROGRAM_PID" 2>/dev/null || true
PROGRAM_PID=
kill "$XVFB_PID"
wait "$XVFB_PID" 2>/dev/null || true
start_xvfb 2048x1536 -dpi 192
printf '[window]\ndisplay-size = automatic\n' >"$SETTINGS"
rm -f "$STATE"
start_program
state
IFS=, read -r _ _ w h <<<"$(value Form1.Screen)"
[ "$w,$h" = "1580,1208" ] || fail "automatic at 192 dpi gives $w x $h, not 1580 x 1208"
echo PASS
