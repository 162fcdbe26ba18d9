#!/usr/bin/env bash
# The Test Library window of the real program on a shared library whose server never answers (a port that
# takes connections and says nothing, with a connect time-out of 15 s), through a real X server: the window
# opens at once, takes keys (F1 opens its help) and closes while the library is waited for; the main window
# opens it again meanwhile; and closing the main window then ends the program within the connect time-out,
# with status 0.
#
# Usage: library-e2e.sh CORVEXZR SILENTSERVER
set -euo pipefail

program=$1
silentserver=$2

source "$(dirname "${BASH_SOURCE[0]}")/xsession.sh"

"$silentserver" >"$work/address" &
pids+=($!)
wait_until 10 "the silent server's address" test -s "$work/address"
printf '[Library]\nDATABASE=%s\n' "$(head -1 "$work/address")" >"$XDG_CONFIG_HOME/Velmora/CorvexZR/corvexzr.ini"

"$program" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=($program_pid)
main=$(the_window "Velmora CorvexZR")
library_title="CorvexZR Test Library"
help_title="CorvexZR Help( - .*)?"

started=$SECONDS
keys "$main" ctrl+l
wait_until 3 "the Test Library window while the server says nothing" has_window "$library_title"
library=$(the_window "$library_title")
keys "$library" F1
help=$(the_window "$help_title")
[ $((SECONDS - started)) -le 5 ] || fail "the help came $((SECONDS - started)) s after the Test Library window was asked for"
keys "$help" alt+F4
wait_until 3 "the help window to close" no_window "$help_title"
keys "$library" alt+F4
wait_until 3 "the Test Library window to close while it waits" no_window "$library_title"

# Again, while the worker still waits for the first window's read.
keys "$main" ctrl+l
wait_until 3 "the Test Library window again" has_window "$library_title"
library=$(the_window "$library_title")
keys "$library" alt+F4
wait_until 3 "the second Test Library window to close" no_window "$library_title"
waited=$((SECONDS - started))
[ "$waited" -lt 14 ] || fail "the windows took $waited s, longer than the server was waited for: nothing was shown"

# The main window's exit ends the program, at the latest when the connect time-out gives the server up.
program_ended() { ! kill -0 "$program_pid" 2>/dev/null; }
keys "$main" alt+F4
wait_until 20 "the program to end after its main window closed" program_ended
status=0
wait "$program_pid" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "e2e: the Test Library window stayed usable while the server did not answer, and the program ended"
