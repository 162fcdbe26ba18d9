# The private X session every end-to-end test runs in, sourced by each one after `set -euo pipefail`:
# a private X server (Xvfb) with a window manager (openbox) and a session bus, folders of its own under
# $work (the settings in $XDG_CONFIG_HOME/Velmora/CorvexZR), the cleanup at exit (the screen and the
# program's output, $work/program.log, kept when the test failed), and the helpers that wait on conditions
# and drive windows through xdotool. Set e2e_tools to the tools the test needs besides these.
for tool in Xvfb openbox dbus-daemon xdotool xprop xclip xwd ${e2e_tools:-}; do
  command -v "$tool" >/dev/null || { echo "e2e: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  local status=$?
  if [ "$status" -ne 0 ] && [ -n "${DISPLAY:-}" ]; then
    xwd -root -silent >"$work/failure.xwd" 2>/dev/null || true
  fi
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  if [ "$status" -ne 0 ]; then
    echo "e2e: failed; the screen at that moment is in $work/failure.xwd, the program's output in $work/program.log" >&2
    tail -20 "$work/program.log" >&2 2>/dev/null || true
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT

# --- a private X server, a window manager, and folders of our own
exec 3>"$work/display"
# -noreset: a server that resets when its last client leaves (simulatormap, before the window manager
# has connected under load) breaks the connections being made at that moment.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
deadline=$((SECONDS + 20))
until [ -s "$work/display" ]; do
  [ $SECONDS -lt $deadline ] || { echo "e2e: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
  sleep 0.05
done
export DISPLAY=":$(head -1 "$work/display")"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache"
export XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home"
mkdir -p "$XDG_CONFIG_HOME/Velmora/CorvexZR" "$XDG_RUNTIME_DIR" "$HOME" "$work/records"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=0 NO_AT_BRIDGE=1
# A private session bus, as every desktop session has one. Without a bus, Qt's D-Bus thread leaves
# about 1 KB of libdbus's allocations behind at exit, and LeakSanitizer fails each clean exit of the
# sanitizer build (status 134); with one it exits 0, and nothing outside the test's folder is touched.
exec 4>"$work/bus"
dbus-daemon --session --address="unix:dir=$XDG_RUNTIME_DIR" --nofork --nopidfile --print-address=4 >"$work/dbus.log" 2>&1 &
pids+=($!)
exec 4>&-
deadline=$((SECONDS + 20))
until [ -s "$work/bus" ]; do
  [ $SECONDS -lt $deadline ] || { echo "e2e: the session bus did not start" >&2; cat "$work/dbus.log" >&2; exit 1; }
  sleep 0.05
done
export DBUS_SESSION_BUS_ADDRESS="$(head -1 "$work/bus")"
openbox --startup "touch $work/wm-ready" >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_wm_end=$((SECONDS + 20))
until [ -e "$work/wm-ready" ]; do
  [ $SECONDS -lt $wait_wm_end ] || { echo "e2e: openbox did not start" >&2; cat "$work/openbox.log" >&2; exit 1; }
  sleep 0.05
done

# --- waiting on conditions, never on fixed sleeps
fail() { echo "e2e: $*" >&2; exit 1; }
# wait_until SECONDS DESCRIPTION COMMAND...: polls COMMAND until it succeeds.
wait_until() {
  local limit=$1 what=$2
  shift 2
  local end=$((SECONDS + limit))
  until "$@"; do
    [ $SECONDS -lt $end ] || fail "waited $limit s for $what"
    sleep 0.05
  done
}
windows() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true; }
window_count() { windows "$1" | grep -c . || true; }
has_window() { [ -n "$(windows "$1")" ]; }
no_window() { [ -z "$(windows "$1")" ]; }
count_is() { [ "$(window_count "$1")" -eq "$2" ]; }
the_window() { # the newest visible window of that title
  local id
  wait_until 20 "the window \"$1\"" has_window "$1"
  id=$(windows "$1" | tail -1)
  echo "$id"
}
activate() { timeout 10 xdotool windowactivate --sync "$1" >/dev/null 2>&1 || timeout 10 xdotool windowfocus --sync "$1"; }
click_at() { # click_at WINDOW X Y (window coordinates)
  xdotool mousemove --window "$1" "$2" "$3" click 1
}
keys() { # keys WINDOW KEY...
  activate "$1"
  xdotool key --clearmodifiers "${@:2}"
}
type_text() { xdotool type --delay 20 "$1"; }
picture() { xwd -silent -id "$1" | md5sum; }
geometry() { # x y w h of a window's client area
  xdotool getwindowgeometry --shell "$1" | awk -F= '/^(X|Y|WIDTH|HEIGHT)=/{printf "%s ", $2}'
}
overlaps() { # overlaps "x y w h" "x y w h"
  read -r ax ay aw ah <<<"$1"
  read -r bx by bw bh <<<"$2"
  [ "$ax" -lt $((bx + bw)) ] && [ "$bx" -lt $((ax + aw)) ] && [ "$ay" -lt $((by + bh)) ] && [ "$by" -lt $((ay + ah)) ]
}
