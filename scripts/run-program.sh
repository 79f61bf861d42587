#!/usr/bin/env bash
# Starts the host simulator on this machine with its built-in show, then the program; closing
# the program stops the simulator. Without a display the program gets a virtual one.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
program="$build/app/QuentaroRemote_artefacts/Release/QUENTARO Remote"
simulator="$build/tools/host-sim/quentaro-host-sim_artefacts/Release/quentaro-host-sim"

export AVAHI_COMPAT_NOWARN=1

# The simulator answers the program on this machine (connect to 127.0.0.1, or pick
# "QUENTARO Sim" from the list where a DNS-SD daemon runs). Its output goes to a log file.
log="${TMPDIR:-/tmp}/quentaro-host-sim.log"
"$simulator" </dev/null >"$log" 2>&1 &
simulator_pid=$!
trap 'kill "$simulator_pid" 2>/dev/null; wait "$simulator_pid" 2>/dev/null || true' EXIT
echo "Host simulator running (process $simulator_pid, log $log): connect to 127.0.0.1" >&2

if [ -z "${DISPLAY:-}" ]; then
    echo "No display: starting the program on a virtual X display (Xvfb)." >&2
    xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" "$program"
else
    "$program"
fi
