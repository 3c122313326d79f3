# The desktop: every window carries the class keyvet (the StartupWMClass of keyvet.desktop) and the
# program's icon; the menus open from the keyboard (Alt and a menu's first letter, F10), F1 opens
# the help page, and Ctrl+Q ends the program as the close box does, even during a keying run.
source "$(dirname "$0")/lib.sh"
start_xvfb
mkdir -p "$WORK/bin"
cat >"$WORK/bin/xdg-open" <<SHELL
#!/bin/sh
printf '%s' "\$1" > "$WORK/opened"
SHELL
chmod +x "$WORK/bin/xdg-open"
start_program "$WORK" PATH="$WORK/bin:$PATH"

grep -qx 'StartupWMClass=keyvet' "$KEYVET_SOURCE_DIR/assets/keyvet.desktop.in" ||
    fail "the desktop entry names no window class keyvet"

# The window's WM_CLASS is instance keyvet (what the desktop matches StartupWMClass with) and
# class Keyvet (the toolkit capitalises it, as is usual), and it has an icon.
check_window() {
    local id=$1 what=$2 class
    class=$(xprop -id "$id" WM_CLASS)
    [ "$class" = 'WM_CLASS(STRING) = "keyvet", "Keyvet"' ] || fail "the $what's class: $class"
    xprop -id "$id" _NET_WM_ICON >"$WORK/icon"
    grep -q '^_NET_WM_ICON(CARDINAL) = .*Icon (48 x 48)' "$WORK/icon" ||
        fail "the $what has no icon: $(head -c 200 "$WORK/icon")"
}

main=$(xdotool search --onlyvisible --name '^Morse Keyvet' | head -n1)
[ -n "$main" ] || fail "no main window"
check_window "$main" "main window"
# The keys go to the window under the pointer (there is no window manager): the chart.
state
read -r x y < <(centre Form1.Chart1)
xdotool mousemove "$x" "$y"

# Alt+H opens Help; its first item is About.
xdotool key alt+h
sleep 0.3
xdotool key Down Return
wait_windows 'About Keyvet' 1 "Alt+H, Down, Enter did not show the About box"
check_window "$(xdotool search --onlyvisible --name '^About Keyvet$' | head -n1)" "About box"
click AboutBox.OKButton
xdotool mousemove "$x" "$y"

# F10 opens the first menu, File; its third item shows the History window.
xdotool key F10
sleep 0.3
xdotool key Down Down Down Return
wait_windows 'History of runs' 1 "F10 did not open the File menu"
history=$(xdotool search --onlyvisible --name '^History of runs$' | head -n1)
check_window "$history" "History window"
"$KEYVET_CLOSE_WINDOW" "$history"
wait_windows 'History of runs' 0 "the History window stayed open"
xdotool mousemove "$x" "$y"

# F1 asks the desktop to open the help page.
xdotool key F1
for _ in $(seq 100); do
    [ -s "$WORK/opened" ] && break
    sleep 0.1
done
[ -s "$WORK/opened" ] || fail "F1 did not open the help page"

# Ctrl+Q in the middle of a run ends the program at once, with status 0.
click Form1.Start
wait_for Form1.Button1.Enabled 1
xdotool mousemove "$x" "$y"
xdotool key ctrl+q
for _ in $(seq $((WAIT * 10))); do
    kill -0 "$PROGRAM_PID" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$PROGRAM_PID" 2>/dev/null; then
    fail "Ctrl+Q did not end the program"
fi
status=0
wait "$PROGRAM_PID" || status=$?
PROGRAM_PID=
[ "$status" = 0 ] || fail "the program ended with status $status after Ctrl+Q"
echo PASS
