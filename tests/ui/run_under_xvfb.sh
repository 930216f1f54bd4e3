#!/usr/bin/env bash
# Runs one window test under an X server of its own:
#   run_under_xvfb.sh PROGRAM [ARGUMENT ...]
# The server picks a free display number itself (-displayfd), so tests run
# side by side, by hand or from several checkouts without agreeing on
# numbers, and none takes the keyboard focus from another. Exits with the
# program's status. The tests that serve on the session bus themselves
# (named below) get a bus of their own, a private dbus-daemon gone with the
# test; no test ever reaches the desktop's bus.
set -uo pipefail

scratch=$(mktemp -d "${TMPDIR:-/tmp}/sorvi_xvfb_XXXXXX") || exit 1
xvfb_pid=""
bus_pid=""
cleanup() {
  for pid in $xvfb_pid $bus_pid; do
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  rm -rf "$scratch"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

# Waits until server NAME (process PID) has written its address to FILE;
# stops the run with its log (LOG) when it doesn't.
await_server() {
  local name=$1 pid=$2 file=$3 log=$4
  for _ in $(seq 200); do
    [ -s "$file" ] && return 0
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  [ -s "$file" ] && return 0
  echo "run_under_xvfb: $name did not start:" >&2
  cat "$log" >&2
  exit 1
}

# -noreset: the server stays as it is when a client such as xdotool leaves.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
  3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb_pid=$!
await_server Xvfb "$xvfb_pid" "$scratch/display" "$scratch/xvfb.log"
export DISPLAY=":$(head -n1 "$scratch/display")"
unset WAYLAND_DISPLAY
# Showing a window asks the session bus for the accessibility bus. With no
# bus address libdbus forks a launcher, and under AddressSanitizer that
# child can hang before it execs, leaving the test waiting on its pipe
# forever. A bus that isn't there answers at once, and the tests don't
# depend on the desktop they were started from.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$scratch/no-session-bus"
case "$(basename "${1:-}")" in
  stock_appearances_test) own_bus=1 ;;
  *) own_bus=0 ;;
esac
if [ "$own_bus" = 1 ]; then
  dbus-daemon --config-file="$(dirname "$0")/session_bus.conf" --address="unix:dir=$scratch" \
    --nofork --print-address=3 3>"$scratch/bus" 2>"$scratch/bus.log" &
  bus_pid=$!
  await_server dbus-daemon "$bus_pid" "$scratch/bus" "$scratch/bus.log"
  DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$scratch/bus")
fi

"$@"
exit $?
