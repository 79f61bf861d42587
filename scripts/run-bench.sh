#!/usr/bin/env bash
# Prints the benchmark figures. They bind the program's real ports, so they run inside a
# private network namespace with only loopback, like the tests.
set -euo pipefail

build=$(cd "${1:-build}" && pwd)

if [ "${QUENTARO_BENCH_NETNS:-}" != 1 ]; then
    if [ "$(id -u)" -eq 0 ]; then
        exec unshare --net --fork env QUENTARO_BENCH_NETNS=1 "$0" "$build"
    else
        exec unshare --user --map-root-user --net --fork env QUENTARO_BENCH_NETNS=1 "$0" "$build"
    fi
fi

ip link set lo up
export HOME=$(mktemp -d)
export AVAHI_COMPAT_NOWARN=1
trap 'rm -rf "$HOME"' EXIT

"$build/bench/quentaro-bench-protocol"

echo
echo "Show page render, headless Chromium:"
root=$(cd "$(dirname "$0")/.." && pwd)
QUENTARO_SITE_DIR="$build/site" npm --prefix "$root/web" run --silent bench
