#!/usr/bin/env bash
# The demo program as a technician runs it: on a private X server with a window manager, every click
# and key press sent through the X server, in real time, with the simulated wire at its real speed.
#
# Run 1: a three-load test. Each discharge is fired by a click in the Simulator window while the step
# window waits; after every download the step window is still the active window, and Return (not a
# click) starts the second load and ends the test on "Tests done"; a live viewer, once clicked, takes
# the keyboard, is zoomed and closed during the test; no "Load Configured Incorrectly" may appear. The
# test is finished with a Device ID, saved, exported as PDF (whose first page must be the one
# `zrqtool pdf` makes of the saved file) and printed, each through the File menu's mnemonics, opened
# again from the main window (not on top of the first viewer), and the report shown is compared with
# `zrqtool report` of the saved file. In a waveform viewer of it, Escape and Enter leave the Set Chart
# Axis dialog open, as designed; Tab and Space reach its buttons.
# Run 2: the jumper is moved wrongly by hand in the Simulator mid-test; the step reports "Load
# Configured Incorrectly"; the jumper is set right by hand and the load completes. The test is finished
# past "Device ID Not Entered", after which the Device ID typed must reach the record.
# Run 3: by keys alone (File > New with Alt+F, N; Enter for every step), checked against a profile chosen
# with the keyboard. Then the Test Library by keys: opened with Alt+F, L, searched, its lists reached with
# Tab and showing which one has the focus, a test opened with Enter, the window closed with Alt+F, C.
# F1 opens the help and Escape closes it. Closing the main window with the unsaved tests of runs 2 and
# 3: each "Save Test Report?" stands over its own viewer, brought to the front; Cancel, and Yes with the
# save dialog cancelled, keep every window; No to both ends the program with status 0.
#
# Usage: demo-e2e.sh CORVEXZR-DEMO ZRQTOOL SIMULATORMAP [--soak N]
# With --soak N it runs N whole seven-load tests instead, every discharge fired by hand, and reports
# how many load attempts met a false "Load Configured Incorrectly".
# Needs Xvfb, openbox, dbus-daemon, xdotool, xprop, xclip, xwd, netpbm and pdftotext (scripts/setup.sh installs them).
set -euo pipefail

demo=$1
zrqtool=$2
simulatormap=$3
soak=""
[ "${4:-}" = "--soak" ] && soak=${5:?--soak needs a number of tests}

e2e_tools="pdftotext xwdtopnm ppmhist"
source "$(dirname "${BASH_SOURCE[0]}")/xsession.sh"

ini="$XDG_CONFIG_HOME/Velmora/CorvexZR/corvexzr.ini"
choose_loads() { # the load selection the options window offers: LOAD_25=1 ...
  {
    echo "[TEST_OPTIONS]"
    for ohms in 25 50 75 100 125 150 175; do
      if [[ " $* " == *" $ohms "* ]]; then echo "LOAD_$ohms=1"; else echo "LOAD_$ohms=0"; fi
    done
  } >"$ini.options"
  # Keep the rest of the settings file; replace its load selection.
  if [ -f "$ini" ]; then
    awk '/^\[/{skip=($0=="[TEST_OPTIONS]")} !skip' "$ini" >"$ini.rest"
  else
    : >"$ini.rest"
  fi
  cat "$ini.rest" "$ini.options" >"$ini"
  rm -f "$ini.rest" "$ini.options"
}

# --- where the Simulator's controls are (laid out by the same code on the same display)
declare -A sim
while read -r name x y; do sim[$name]="$x $y"; done < <("$simulatormap")

# --- the program
choose_loads 25 100 175
"$demo" >"$work/program.log" 2>&1 &
demo_pid=$!
pids+=($demo_pid)

main=$(the_window "Velmora CorvexZR")
simulator=$(the_window "CorvexZR Simulator")
read -r _ _ sw sh <<<"$(geometry "$simulator")"
[ "$sw $sh" = "${sim[window]}" ] ||
  fail "the Simulator is $sw x $sh here but ${sim[window]} in simulatormap: its controls would be missed"
simulator_click() { click_at "$simulator" ${sim[$1]}; }

step_title="CorvexZR Variable Load Test"
# A report viewer's caption names its test: "CorvexZR Test Report Viewer - E2E-0001, Dec 9, 2026".
report_title="CorvexZR Test Report Viewer( - .*)?"
report_of() { echo "CorvexZR Test Report Viewer - $1, .*"; } # report_of DEVICE-ID
progress_title="CorvexZR Communications"
viewer_title="CorvexZR Waveform Viewer"
wrong_title="Load Configured Incorrectly"

# The start window, the load selection and the step window share one title; their sizes tell them apart.
window_sized() { # window_sized TITLE WxH (a pattern: the load selection grows as wide as its profiles' names)
  local id
  for id in $(windows "$1"); do
    [[ "$(geometry "$id" | awk '{print $3 "x" $4}')" =~ ^$2$ ]] && { echo "$id"; return 0; }
  done
  return 1
}
the_window_sized() {
  wait_until 20 "the window \"$1\" of $2" window_sized "$1" "$2" >/dev/null
  window_sized "$1" "$2"
}
step_size=640x475 # 640x559 when the loads are checked against a profile: the verdict strip shows
step_window() { the_window_sized "$step_title" "$step_size"; }
step_ok() { click_at "$(step_window)" 586 $((${step_size#*x} - 25)); }
step_is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$(step_window)" ]; }
# Return, sent to whichever window has the keyboard, as a technician's free hand presses it: it must be
# the step window's OK.
step_return() {
  step_is_active || fail "the step window is not the active window when Return is pressed"
  xdotool key Return
}

new_keys=ctrl+n # what opens a new test in the main window
start_test() { # start_test [KEY...]: the keys are pressed in the load selection before its OK
  # shellcheck disable=SC2086 # new_keys may be a sequence ("alt+f n")
  keys "$main" $new_keys
  keys "$(the_window_sized "$step_title" 640x506)" Return # Start Test: status and accessory check
  keys "$(the_window_sized "$step_title" '[0-9]+x325')" "$@" Return # the remembered loads
  step_window >/dev/null
}

# Presses OK on the step, fires the discharge from the Simulator once the analyzer waits for it, and
# waits for the download to end with a new live viewer. A "Load Configured Incorrectly" on the way is
# a failure, or, when counting (--soak), is counted, dismissed and the load tried again.
false_errors=0
attempts=0
# run_load [step_return]: OK is pressed by step_ok (a click) unless another command is given.
run_load() {
  local viewers_before press=${1:-step_ok}
  viewers_before=$(window_count "$viewer_title")
  while :; do
    attempts=$((attempts + 1))
    $press
    press=step_ok
    # The technician fires as soon as the analyzer waits; until then the Fire button is disabled and a
    # click on it does nothing. The progress window shows that the discharge was taken.
    local end=$((SECONDS + 30))
    until has_window "$progress_title" || count_is "$viewer_title" $((viewers_before + 1)) ||
      has_window "$wrong_title"; do
      [ $SECONDS -lt $end ] || fail "a click on Fire discharge in the Simulator never reached the analyzer"
      simulator_click btnDischarge
      sleep 0.2
    done
    if has_window "$wrong_title"; then
      false_errors=$((false_errors + 1))
      [ -n "$soak" ] || fail "\"$wrong_title\" on a correct setup"
      keys "$(the_window "$wrong_title")" Return
      wait_until 10 "the box to close" no_window "$wrong_title"
      continue
    fi
    break
  done
  # 10306 bytes at 960 bytes a second.
  wait_until 40 "the live viewer of the load" count_is "$viewer_title" $((viewers_before + 1))
  wait_until 10 "the progress window to close" no_window "$progress_title"
  has_window "$wrong_title" && fail "\"$wrong_title\" on a correct setup"
  # The live viewer opened beside the step window without taking the keyboard from it.
  local settle=$((SECONDS + 5))
  until step_is_active; do
    [ $SECONDS -lt $settle ] ||
      fail "after the download \"$(xdotool getactivewindow getwindowname 2>/dev/null)\" is the active window, not the step window"
    sleep 0.05
  done
  return 0
}

finish_test() { # finish_test DEVICE-ID [step_return]: OK on "Tests done", the Device ID, and the report viewer opens
  local reports_before
  reports_before=$(window_count "$report_title")
  ${2:-step_ok}
  activate "$(the_window "Edit Device Information")"
  type_text "$1"
  xdotool key Return
  wait_until 20 "the report viewer" count_is "$report_title" $((reports_before + 1))
  wait_until 10 "the live viewers to close with the step window" count_is "$viewer_title" 0
}

# --- the device editor: after "Device ID Not Entered" the focus is back in the Device ID, wherever it was
# finish_test_after_the_device_id_box DEVICE-ID: OK on "Tests done"; in the editor, Tab to the serial
# number and OK with no Device ID; once the box is answered, the text typed must be the Device ID the
# library keeps the test under.
finish_test_after_the_device_id_box() {
  local reports_before editor
  reports_before=$(window_count "$report_title")
  step_ok
  editor=$(the_window "Edit Device Information")
  keys "$editor" Tab Return
  keys "$(the_window "Device ID Not Entered")" Return
  wait_until 10 "the Device ID box to close" no_window "Device ID Not Entered"
  activate "$editor"
  type_text "$1"
  xdotool key Return
  wait_until 20 "the report viewer after the Device ID box" count_is "$report_title" $((reports_before + 1))
  wait_until 10 "the live viewers to close with the step window" count_is "$viewer_title" 0
  "$zrqtool" library --db "$XDG_CONFIG_HOME/Velmora/CorvexZR/demo-library.sqlite" list --json |
    grep -q "\"device_id\": \"$1\"" || fail "after the Device ID box the typed Device ID did not reach the test"
}

# --soak N: N whole seven-load tests, every discharge fired by hand, counting false configuration errors.
if [ -n "$soak" ]; then
  choose_loads 25 50 75 100 125 150 175
  for run in $(seq "$soak"); do
    start_test
    for _ in 1 2 3 4 5 6 7; do run_load; done
    finish_test "SOAK-$run"
    echo "e2e: seven-load test $run done: $attempts load attempts so far, $false_errors false configuration errors"
  done
  [ "$false_errors" -eq 0 ] || fail "$false_errors false configuration errors in $attempts load attempts"
  exit 0
fi

# ================= run 1: three loads, fired by hand
start_test
run_load # 25 ohms
first_viewer=$(the_window "$viewer_title")
run_load step_return # 100 ohms, with the keyboard the step window kept

# The newest live viewer (in front of the first) stands beside the step window, takes the keyboard
# when clicked (zoom in) and closes.
viewer=$(windows "$viewer_title" | grep -vx "$first_viewer")
overlaps "$(geometry "$viewer")" "$(geometry "$(step_window)")" && fail "the live viewer hides the step window"
click_at "$viewer" 100 300 # on its information panel
wait_until 5 "the clicked live viewer to take the keyboard" bash -c "[ \"\$(xdotool getactivewindow)\" = $viewer ]"
before=$(picture "$viewer")
xdotool key --clearmodifiers ctrl+equal
wait_until 10 "the live viewer to zoom" bash -c "[ \"\$(xwd -silent -id $viewer | md5sum)\" != \"$before\" ]"
keys "$viewer" alt+F4
wait_until 10 "the live viewer to close" count_is "$viewer_title" 1

run_load # 175 ohms
[ "$(window_count "$viewer_title")" -eq 2 ] || fail "expected two live viewers open"
v1=$(windows "$viewer_title" | head -1)
v2=$(windows "$viewer_title" | tail -1)
[ "$(geometry "$v1")" != "$(geometry "$v2")" ] || fail "two live viewers opened on the same spot"

# Tests done: Return asks for the Device ID, then the report viewer opens.
finish_test "E2E-0001" step_return
report=$(the_window "$(report_of E2E-0001)")

# Save (Alt+F, S), and open the saved file again from the main window.
saved="$work/records/e2e.zrq"
keys "$report" alt+f s
wait_until 20 "the save dialog" bash -c "[ \"\$(xdotool getactivewindow)\" != $report ]"
xdotool key ctrl+a
type_text "$saved"
xdotool key Return
wait_until 20 "the saved record" bash -c "[ -f '$saved' ] && [ \$(stat -c %s '$saved') -eq 72424 ]"

# Export PDF (Alt+F, E): the service report of the saved test, page 1 as zrqtool pdf makes it of the file,
# marked as a test of the simulated analyzer.
pdf_out="$work/records/e2e.pdf"
keys "$report" alt+f e
wait_until 20 "the Export PDF dialog" bash -c "[ \"\$(xdotool getactivewindow)\" != $report ]"
xdotool key ctrl+a
type_text "$pdf_out"
xdotool key Return
wait_until 20 "the exported PDF" test -s "$pdf_out"
"$zrqtool" pdf "$saved" "$work/expected.pdf" 2>/dev/null || fail "zrqtool pdf failed on the saved record"
pdftotext -layout -f 1 -l 1 "$pdf_out" "$work/exported-page1.txt"
pdftotext -layout -f 1 -l 1 "$work/expected.pdf" "$work/expected-page1.txt"
diff "$work/expected-page1.txt" "$work/exported-page1.txt" >"$work/pdf.diff" ||
  fail "the exported PDF differs from zrqtool pdf: $(head -5 "$work/pdf.diff")"
grep -q "SIMULATED ANALYZER: not a test of a real device" "$work/exported-page1.txt" ||
  fail "the exported PDF of a simulated test is not marked as such"

# Print Summary Data (Alt+F, P), and Enter in the print dialog: with no printer set up, the dialog
# prints to a PDF file in the home folder. It holds the report's header and results.
keys "$report" alt+f p
wait_until 20 "the print dialog" has_window "Print"
keys "$(the_window "Print")" Return
printed="$HOME/print.pdf"
wait_until 20 "the printed summary" test -s "$printed"
pdftotext -layout "$printed" "$work/printed.txt"
grep -q "DEVICE I.D.: E2E-0001" "$work/printed.txt" && grep -q "DISCHARGE ENERGY (J)" "$work/printed.txt" ||
  fail "the printed summary lacks the report's header or results"

keys "$main" alt+f o
wait_until 20 "the open dialog" bash -c "[ \"\$(xdotool getactivewindow)\" != $main ]"
xdotool key ctrl+a
type_text "$saved"
xdotool key Return
wait_until 20 "the second report viewer" count_is "$report_title" 2
reopened=$(windows "$report_title" | tail -1)
[ "$reopened" != "$report" ] || reopened=$(windows "$report_title" | head -1)
[ "$(geometry "$reopened")" != "$(geometry "$report")" ] || fail "the second report viewer opened on top of the first"

# The report on the screen is the one zrqtool makes of the file.
"$zrqtool" report "$saved" >"$work/expected.txt"
activate "$reopened"
read -r _ _ rw rh <<<"$(geometry "$reopened")"
click_at "$reopened" $((rw * 3 / 4)) $((rh / 2)) # into the report text
xdotool key ctrl+a ctrl+c
wait_until 20 "the report on the clipboard" bash -c \
  "xclip -o -selection clipboard 2>/dev/null >'$work/shown.txt'; [ -s '$work/shown.txt' ] && grep -q . '$work/shown.txt'"
diff <(sed -e '$a\' "$work/expected.txt") <(sed -e '$a\' "$work/shown.txt") >"$work/report.diff" ||
  fail "the reopened report differs from zrqtool report: $(head -5 "$work/report.diff")"

# The Set Chart Axis dialog keeps its designed keys: neither button is its default or cancel button, so
# Escape and Enter press nothing; its buttons are reached with Tab and pressed with Space. The box about
# an invalid number shows that the dialog was still open after Escape and Enter.
keys "$reopened" alt+v w # View Waveform: the loads selected in the wave list
wave=$(the_window "$viewer_title")
keys "$wave" alt+e a # Edit > Set Chart Axis..., the focus in the time axis minimum
axis=$(the_window "Set Chart Axis")
keys "$axis" Escape Return ctrl+a
type_text "abc"
xdotool key Tab Tab Tab Tab space # OK
keys "$(the_window "An invalid number was entered.")" Return
wait_until 10 "the invalid number box to close" no_window "An invalid number was entered."
has_window "Set Chart Axis" || fail "the Set Chart Axis dialog closed by Escape or Enter"
keys "$axis" Tab space # from OK to Cancel
wait_until 10 "the Set Chart Axis dialog to close with Cancel" no_window "Set Chart Axis"
keys "$wave" alt+F4
wait_until 10 "the waveform viewer to close" no_window "$viewer_title"

# ================= run 2: a jumper moved wrongly by hand mid-test, then set right
choose_loads 50
start_test
# By hand: Bank A and the jumper on 25 ohms, the first entries of the Simulator's lists.
simulator_click chkFollowLoad
demo_windows() { xdotool search --onlyvisible --pid "$demo_pid" 2>/dev/null | grep -c . || true; }
demo_windows_are() { [ "$(demo_windows)" -eq "$1" ]; }
choose_in_list() { # choose_in_list CONTROL DOWN-PRESSES: opens the list, takes its first entry and goes down
  local before
  before=$(demo_windows)
  simulator_click "$1"
  wait_until 10 "the list of $1 to open" demo_windows_are $((before + 1))
  xdotool key Home
  for _ in $(seq "$2"); do xdotool key Down; done
  xdotool key Return
  wait_until 10 "the list of $1 to close" demo_windows_are "$before"
}
choose_in_list cboBank 0
choose_in_list cboResistance 0
step_ok
wrong=$(the_window "$wrong_title")
keys "$wrong" Return
wait_until 10 "the box to close" no_window "$wrong_title"
# Set right: the jumper on 50 ohms.
choose_in_list cboResistance 1
run_load
finish_test_after_the_device_id_box "E2E-0002"

# ================= run 3: the whole test by keys alone, checked against a profile chosen with the keyboard
# File > New from the main window's menu (Alt+F, N); Enter for Start Test, the loads, the step and
# "Tests done". Only the discharge is fired in the Simulator, as the defibrillator's own button would.
step_size=640x559
new_keys="alt+f n"
start_test Tab Down # from the loads to "Check against:", and from "No check" to the first profile
wait_until 10 "the step window to take the keyboard" step_is_active
run_load step_return
finish_test "E2E-0003" step_return
grep -q '^PROFILE=CorvexZR Simulator' "$ini" || fail "the load selection did not remember the profile chosen"

# Every finished test went into the demo's own library as it ended, the first one byte for byte as saved,
# the third with its verdict; the real program's library was never made.
library="$XDG_CONFIG_HOME/Velmora/CorvexZR/demo-library.sqlite"
"$zrqtool" library --db "$library" list --json >"$work/library.json" || fail "the demo's library cannot be listed"
[ "$(grep -c '"device_id"' "$work/library.json")" -eq 3 ] || fail "the demo's library holds $(grep -c '"device_id"' "$work/library.json") tests, not 3"
# One load of seven judged within the limit is an incomplete test, never a pass.
grep -q '"verdict": "incomplete"' "$work/library.json" || fail "the checked one-load test is not incomplete in the library"
! grep -q '"verdict": "pass"' "$work/library.json" || fail "a test of fewer than seven loads is a pass in the library"
first=$(grep -A2 '"device_id": "E2E-0001"' "$work/library.json" | grep -o '"id": [0-9]*' | grep -o '[0-9]*' || true)
[ -n "$first" ] || fail "the first test is not in the demo's library"
"$zrqtool" library --db "$library" export "$first" "$work/exported.zrq" || fail "the first test cannot be exported"
cmp -s "$work/exported.zrq" "$saved" || fail "the library's copy of the first test differs from the saved file"
[ ! -e "$XDG_CONFIG_HOME/Velmora/CorvexZR/library.sqlite" ] || fail "the demo wrote into the program's library"

kill -0 "$demo_pid" 2>/dev/null || fail "the demo program ended by itself"

# ================= the test library by keys: File > Test Library (Alt+F, L) in the main window; the
# search (Alt+S), Tab to the device list and on to its tests, each list showing that it has the focus;
# Enter opens the test; File > Close (Alt+F, C) closes the window.
library_title="CorvexZR Test Library"
keys "$main" alt+f l
library=$(the_window "$library_title")
keys "$library" F5 # reads the library again
keys "$library" alt+s
type_text "E2E-0001"
# A list with the focus is framed and shows its selection in the highlight colour, the other list its
# selection in grey: the window shows more of that colour while a list has the focus than while the
# search box has it.
highlight_pixels() { # in the window's picture, of Fusion's highlight colour (48, 140, 198)
  xwd -silent -id "$1" | xwdtopnm 2>/dev/null | ppmhist -noheader | awk '$1 == 48 && $2 == 140 && $3 == 198 {n = $5} END {print n + 0}'
}
shows_focus_more_than() { [ "$(highlight_pixels "$library")" -gt $(($1 + 4000)) ]; }
in_search=$(highlight_pixels "$library")
xdotool key Tab # from the search to the devices it found
wait_until 10 "the device list to show that it has the focus" shows_focus_more_than "$in_search"
xdotool key Tab # the device's tests
wait_until 10 "the test list to show that it has the focus" shows_focus_more_than "$in_search"
reports_before=$(window_count "$(report_of E2E-0001)")
xdotool key Return
wait_until 20 "the test opened from the library" count_is "$(report_of E2E-0001)" $((reports_before + 1))
keys "$(windows "$(report_of E2E-0001)" | tail -1)" alt+F4 # a test of the library: closing asks nothing
wait_until 10 "the library's report viewer to close" count_is "$(report_of E2E-0001)" "$reports_before"
keys "$library" alt+f c
wait_until 10 "the Test Library window to close" no_window "$library_title"

# ================= the help: F1 in the main window opens it, Escape closes it
keys "$main" F1
help=$(the_window "CorvexZR Help - .*")
keys "$help" Escape
wait_until 10 "the help window to close with Escape" no_window "CorvexZR Help - .*"
grep -q '^\[TestLibraryWindow\]' "$ini" || fail "the Test Library window did not remember its placement"

# ================= the end: closing the main window with unsaved tests (runs 2 and 3)
# Cancel in "Save Test Report?", and Yes with the save dialog cancelled, abandon the exit: every window
# stays as it was. No to both ends the program with status 0.
save_box='Save Test Report\?' # a pattern: the question mark is the title's own
box_gone() { ! windows "$save_box" | grep -qx "$1"; }
reports_open=4 # run 1's report and the same file opened again, and the reports of runs 2 and 3
wait_until 10 "the $reports_open report viewers" count_is "$report_title" "$reports_open"

# The question stands over its own viewer, which has come to the front (the box belongs to it, and no
# other window of the program stands above it). stands_over BOX DEVICE-ID
stands_over() {
  local viewer owner stacking
  viewer=$(windows "$(report_of "$2")")
  [ -n "$viewer" ] || fail "no report viewer of $2"
  owner=$(xprop -id "$1" WM_TRANSIENT_FOR | grep -o '0x[0-9a-f]*' || true)
  [ -n "$owner" ] && [ "$((owner))" = "$viewer" ] || fail "\"Save Test Report?\" does not stand over the viewer of $2"
  stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' | while read -r id; do echo $((id)); done)
  for other in $main $(windows "$report_title"); do
    [ "$other" = "$viewer" ] && continue
    [ "$(echo "$stacking" | grep -nx "$other" | cut -d: -f1)" -lt "$(echo "$stacking" | grep -nx "$viewer" | cut -d: -f1)" ] ||
      fail "the viewer of $2 is not in front while \"Save Test Report?\" asks about it"
  done
}

# Alt+F4 on the main window, and the newest unsaved report's question (run 3's).
ask_to_close() {
  keys "$main" alt+F4
  local box
  box=$(the_window "$save_box")
  stands_over "$box" E2E-0003
  echo "$box"
}

# A window that has closed does not come back: the waits only ride over a search that misses a window
# while another one goes away.
windows_as_they_were() { # windows_as_they_were AFTER-WHAT
  kill -0 "$demo_pid" 2>/dev/null || fail "the program ended after $1"
  wait_until 5 "the main window after $1" has_window "Velmora CorvexZR"
  wait_until 5 "the Simulator after $1" has_window "CorvexZR Simulator"
  wait_until 5 "the $reports_open report viewers after $1" count_is "$report_title" "$reports_open"
  no_window "$save_box" || fail "another save question came after $1"
}
# Every window is there, and still after the main window has answered Ctrl+L, which shows that the
# program has gone on past the answer.
every_window_stays() {
  windows_as_they_were "$1"
  keys "$main" ctrl+l
  local library_window
  library_window=$(the_window "$library_title")
  keys "$library_window" alt+F4
  wait_until 10 "the Test Library window to close" no_window "$library_title"
  windows_as_they_were "$1"
}

closing_cancelled_keeps_every_window() {
  local box
  box=$(ask_to_close)
  keys "$box" Escape # Cancel
  wait_until 10 "the box to close" box_gone "$box"
  every_window_stays "Cancel"
}

closing_with_a_cancelled_save_keeps_every_window() {
  local box dialog
  box=$(ask_to_close)
  keys "$box" alt+y
  wait_until 10 "the box to close" box_gone "$box"
  dialog=$(the_window "Save Test Record")
  keys "$dialog" Escape
  wait_until 10 "the save dialog to close" no_window "Save Test Record"
  every_window_stays "Yes and a cancelled save dialog"
}

closing_answered_no_ends_the_program() {
  keys "$main" alt+F4
  local end=$((SECONDS + 30)) box answered=0 asked=(E2E-0003 E2E-0002)
  while kill -0 "$demo_pid" 2>/dev/null; do
    [ $SECONDS -lt $end ] || fail "the program did not end after its main window closed"
    box=$(windows "$save_box" | tail -1)
    if [ -n "$box" ]; then
      stands_over "$box" "${asked[$answered]:-none}"
      keys "$box" alt+n || true # the box may have gone already
      wait_until 10 "the box to close" box_gone "$box"
      answered=$((answered + 1))
    fi
    sleep 0.05
  done
  local status=0
  wait "$demo_pid" || status=$?
  [ "$status" -eq 0 ] || fail "the program ended with status $status"
  [ "$answered" -eq 2 ] || fail "$answered save questions were answered No, not one for each unsaved test"
}

closing_cancelled_keeps_every_window
closing_with_a_cancelled_save_keeps_every_window
closing_answered_no_ends_the_program
echo "e2e: all three runs, the test library, the abandoned exits and the program's end passed"
