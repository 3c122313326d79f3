# Help opens file:// + the current folder + /help.htm through the desktop shell (xdg-open),
# for the folder the program was started from, not the program's own.
source "$(dirname "$0")/lib.sh"
start_xvfb
mkdir -p "$WORK/bin" "$WORK/elsewhere"
cat >"$WORK/bin/xdg-open" <<SHELL
#!/bin/sh
printf '%s' "\$1" > "$WORK/opened"
SHELL
chmod +x "$WORK/bin/xdg-open"
start_program "$WORK/elsewhere" PATH="$WORK/bin:$PATH"

menu_help 2
for _ in $(seq 100); do
    [ -s "$WORK/opened" ] && break
    sleep 0.1
done
[ -s "$WORK/opened" ] || fail "Help did not ask the desktop shell to open anything"
opened=$(cat "$WORK/opened")
[ "$opened" = "file://$WORK/elsewhere/help.htm" ] || fail "Help opened '$opened'"
state
expect Dialog.Open 0
echo PASS
