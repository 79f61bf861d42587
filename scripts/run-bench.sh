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

. "$(dirname "$0")/private-display.sh"

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
