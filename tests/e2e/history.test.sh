# The history of runs: a keyed run is stored; after the program is started again, File ->
# History... lists it with its speed and merits, the progress chart has a point per figure,
# and Open shows the run's waveform again.
source "$(dirname "$0")/lib.sh"
start_xvfb
start_program

click Form1.Start
wait_for Form1.Button1.Enabled 1
read -r x y < <(centre Form1.Chart1)
xdotool mousemove "$x" "$y"
key_morse 0.18 0.06/0.18 0.18 0.06 0.18
wait_for Form1.Label1.Caption 1
click Form1.Button1
wait_for Form1.Start.Caption "Re-start: Press TWICE"
expect Dialog.Open 0
speed=$(value Form1.Edit10.Caption)
merit=$(value Form1.Edit7.Caption)

# End the program by its close box and start it again on the same data home.
close_program
[ -f "$XDG_DATA_HOME/keyvet/history.sqlite" ] || fail "no history in the data home"
start_program

# File is the first menu; History... its third item.
click Form1.File1
sleep 0.3
xdotool key Down Down Down Return
wait_for HistoryForm.Visible 1
expect HistoryForm.Runs.Items 1
expect HistoryForm.Runs.ItemIndex 0
line=$(value HistoryForm.Runs.Item0)
[[ "$line" =~ ^[0-9]{4}-[0-9]{2}-[0-9]{2}\ [0-9:]{8}\ +$speed\ wpm\ +merits\ $merit\ / ]] ||
    fail "the history lists '$line' (speed $speed, character merit $merit)"
# Two dits and three dahs are too few to show progress: listed, but left out of the chart.
[[ "$line" == *"   left out"* ]] || fail "the history lists '$line'"
expect HistoryForm.Status.Caption "1 run, 1 left out"

click HistoryForm.OpenButton
wait_for PastRunForm.Visible 1
[[ "$(value PastRunForm.Caption)" =~ ^Run\ of\ [0-9]{4}- ]] || fail "past run titled '$(value PastRunForm.Caption)'"
expect PastRunForm.Results.Items 16  # no practice text: no accuracy line
[ "$(value PastRunForm.Results.Item10)" = "Estimated speed (wpm): $speed" ] ||
    fail "the past run shows '$(value PastRunForm.Results.Item10)'"
echo PASS
