# Help -> Help where no browser can be started (no xdg-open on the path): the help page is shown
# in a window of the program itself, titled "Keyvet help", instead of nothing at all.
source "$(dirname "$0")/lib.sh"
start_xvfb
mkdir -p "$WORK/nobin"
start_program "$WORK" PATH="$WORK/nobin"
[ "$(visible_windows 'Keyvet help')" = 0 ] || fail "a help window before Help was chosen"
menu_help 2
wait_windows 'Keyvet help' 1 "Help showed no page without a browser"
page=$(xdotool search --onlyvisible --name '^Keyvet help$' | head -n1)
# The page has text on it: more than a blank window's one or two colours.
geometry=$(xdotool getwindowgeometry "$page")
read -r px py < <(sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p' <<<"$geometry")
colours=$(colours_in "$px,$py,400,200")
[ "$colours" -gt 4 ] || fail "the help window shows no page ($colours colours)"
# Choosing it again raises the same window, never a second one.
menu_help 2
sleep 0.5
[ "$(visible_windows 'Keyvet help')" = 1 ] || fail "a second help window"
state
expect Dialog.Open 0
echo PASS
