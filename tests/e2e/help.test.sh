# Help opens file:// + the current folder + /help.htm through the desktop shell (xdg-open), for
# the folder the program was started from, not the program's own; where that folder has no
# help.htm (started from the desktop's menu, in the home folder), it opens the installed copy
# (from a build tree: the source tree's assets) and never a page that is not there.
source "$(dirname "$0")/lib.sh"
start_xvfb
mkdir -p "$WORK/bin" "$WORK/elsewhere"
cat >"$WORK/bin/xdg-open" <<SHELL
#!/bin/sh
printf '%s' "\$1" > "$WORK/opened"
SHELL
chmod +x "$WORK/bin/xdg-open"
start_program "$WORK/elsewhere" PATH="$WORK/bin:$PATH"

# Opens Help -> Help and echoes the address the desktop shell was given.
opened_by_help() {
    rm -f "$WORK/opened"
    menu_help 2
    for _ in $(seq 100); do
        [ -s "$WORK/opened" ] && break
        sleep 0.1
    done
    [ -s "$WORK/opened" ] || fail "Help did not ask the desktop shell to open anything"
    cat "$WORK/opened"
}

opened=$(opened_by_help)
installed=$(readlink -f "$KEYVET_SOURCE_DIR/assets/help.htm")
[ "$opened" = "file://$installed" ] || fail "without a page in the folder Help opened '$opened'"

echo '<html><body>the folder'"'"'s own page</body></html>' >"$WORK/elsewhere/help.htm"
opened=$(opened_by_help)
[ "$opened" = "file://$WORK/elsewhere/help.htm" ] || fail "Help opened '$opened'"
state
expect Dialog.Open 0
echo PASS
