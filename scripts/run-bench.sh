#!/usr/bin/env bash
# Prints the benchmark figures (never pass/fail). They bind the program's real ports and open
# windows, so they run inside a private network namespace with only loopback and a mount
# namespace of their own with their own X display, like the tests; the discovery figures run
# beside a private avahi-daemon (scripts/with-avahi.sh).
#
#   scripts/run-bench.sh BUILD_DIR
#
# Shorter runs: QUENTARO_BENCH_COUNT (protocol messages), QUENTARO_BENCH_COMMANDS,
# QUENTARO_BENCH_UPDATES, QUENTARO_BENCH_REFRESH_SECONDS, QUENTARO_BENCH_IDLE_SECONDS (60),
# QUENTARO_BENCH_STARTS, QUENTARO_BENCH_DISCOVERIES, QUENTARO_BENCH_RENDERS (page, Chromium).
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${QUENTARO_BENCH_NETNS:-}" != 1 ]; then
    if [ "$(id -u)" -eq 0 ]; then
        exec unshare --net --mount --propagation private --fork \
            env QUENTARO_BENCH_NETNS=1 QUENTARO_BENCH_ROOT=1 "$0" "$build"
    else
        exec unshare --user --map-root-user --net --mount --propagation private --fork \
            env QUENTARO_BENCH_NETNS=1 "$0" "$build"
    fi
fi

ip link set lo up

# The display's socket folder is private to this run (as in scripts/run-tests.sh).
mkdir -p /tmp/.X11-unix
mount -t tmpfs -o mode=1777 tmpfs /tmp/.X11-unix

scratch=$(mktemp -d)
xvfb_pid=
cleanup()
{
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

mkdir -p "$scratch/home"
export HOME="$scratch/home"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
export AVAHI_COMPAT_NOWARN=1
# Nothing here reaches the machine's D-Bus system bus (and through it its avahi-daemon).
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/quentaro-bench-bus
unset DBUS_SESSION_BUS_ADDRESS
# The virtual display has no GPU: the web engine draws its pages in software there.
export WEBKIT_DISABLE_COMPOSITING_MODE=1

Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 200); do
    [ -s "$scratch/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$scratch/xvfb.log" >&2; exit 1; }
    sleep 0.05
done
[ -s "$scratch/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$scratch/display")"

"$build/bench/quentaro-bench-protocol"

echo
echo "Show page render, headless Chromium:"
QUENTARO_SITE_DIR="$build/site" npm --prefix "$root/web" run --silent bench

program_bench="$build/bench/quentaro-bench-program"
for measure in command screen refresh idle startup; do
    echo
    "$program_bench" "$measure"
done

echo
# avahi-daemon needs the machine's own root (see scripts/with-avahi.sh).
if [ "${QUENTARO_BENCH_ROOT:-}" = 1 ]; then
    "$root/scripts/with-avahi.sh" "$program_bench" discovery
else
    echo "Discovery: not measured (the private avahi-daemon needs the machine's root)"
fi
