# The coach's verdicts in the Details window for runs keyed in the real window: a drill of dits
# only is named as one the main window's merits do not apply to; a run with stretched
# (Farnsworth) character gaps has its figures graded, the character gaps fair. The practice text
# is kept in the settings file and is there again after a restart. With KEYVET_SCREENSHOT set,
# the Details window of the second run is saved there.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_program

# Keys a run of characters given as codes ("." "-", "/" for a word gap of $WORDGAP units, 7
# unless set), every other character a little slower as a hand keys them (marks all alike stop
# the main window's analysis), waits for the transitions and presses Finish.
key_run() {
    local code transitions=1 slow=0 base=$UNIT
    click Form1.Start
    wait_for Form1.Button1.Enabled 1
    read -r x y < <(centre Form1.Chart1)
    xdotool mousemove "$x" "$y"
    for code in "$@"; do
        if [ "$code" = / ]; then
            sleep "$(echo "(${WORDGAP:-7} - ${GAP:-3}) * $base" | bc)"
            continue
        fi
        slow=$((1 - slow))
        UNIT=$(echo "$base * (1 + 0.08 * $slow)" | bc -l) key_code "$code"
        transitions=$((transitions + 2 * ${#code}))
    done
    wait_for Form1.Memo2.Lines "$transitions"
    click Form1.Button1
    wait_for Form1.Start.Caption "Re-start: Press TWICE"
    expect Dialog.Open 0
}

show_details() {
    menu_run 2
    wait_for DetailsForm.Visible 1
}

hide_details() {
    read -r x y < <(centre DetailsForm.TextMemo)
    xdotool mousemove "$x" "$y"
    xdotool key Escape
    wait_for DetailsForm.Visible 0
}

# SSS HHH, a drill of dits only.
UNIT=0.15
key_run ... ... ... / .... .... ....
show_details
verdicts=$(value DetailsForm.VerdictMemo.Text)
grep -qF "This run holds dits only: the main window's merits" <<<"$verdicts" ||
    fail "the dits-only drill is not named: $verdicts"
grep -qF 'dah ratio' <<<"$verdicts" && fail "a dah ratio without dahs: $verdicts"
grep -qE 'weighting +[-+]?[0-9.]+ unit +(good|fair|fix)' <<<"$verdicts" ||
    fail "no weighting row: $verdicts"
hide_details

# The practice text, kept in the settings file on OK.
menu_run 1
wait_for PracticeForm.Visible 1
click PracticeForm.TextEdit
xdotool key ctrl+a BackSpace
xdotool type --delay 50 "paris paris"
wait_for PracticeForm.TextEdit.Caption "paris paris"
click PracticeForm.OKButton
wait_for PracticeForm.Visible 0
grep -qx 'text = paris paris' "$XDG_CONFIG_HOME/keyvet/settings.ini" ||
    fail "the practice text is not in the settings file: $(cat "$XDG_CONFIG_HOME/keyvet/settings.ini")"

# PARIS PARIS with character gaps of 4.2 units (Farnsworth x1.4) and a word gap of 9.8. A busy
# machine may stretch a gap past the 5 units that end a word; the grade, from the middle
# character gap, stands.
GAP=4.2 WORDGAP=9.8 key_run .--. .- .-. .. ... / .--. .- .-. .. ...
show_details
text=$(value DetailsForm.TextMemo.Text)
verdicts=$(value DetailsForm.VerdictMemo.Text)
grep -qE 'with the gaps as keyed, [0-9]+ wpm effective' <<<"$text" ||
    fail "no effective speed: $text"
grep -qE 'character gap +[0-9.]+ units +fair' <<<"$verdicts" ||
    fail "the stretched character gaps are not fair: $verdicts"
grep -qE 'dah ratio +[0-9.]+ dits +(good|fair|fix)' <<<"$verdicts" ||
    fail "no dah ratio: $verdicts"
grep -qF 'too short' <<<"$verdicts" && fail "PARIS PARIS taken as too short: $verdicts"
if [ -n "${KEYVET_SCREENSHOT:-}" ]; then
    xdotool mousemove 0 0
    sleep 0.5
    IFS=, read -r x y w h <<<"$(value DetailsForm.Screen)"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$KEYVET_SCREENSHOT"
fi
hide_details

# Started again, the program has the practice text back.
restart_program
menu_run 1
wait_for PracticeForm.Visible 1
expect PracticeForm.TextEdit.Caption "paris paris"
echo PASS
