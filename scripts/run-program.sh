#!/usr/bin/env bash
# Starts the built program; without a display it gets a virtual one.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
program="$build/app/QuentaroRemote_artefacts/Release/QUENTARO Remote"

if [ -z "${DISPLAY:-}" ]; then
    echo "No display: starting the program on a virtual X display (Xvfb)." >&2
    exec xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" "$program"
fi

exec "$program"
