#!/usr/bin/env bash
# Runs the whole test suite inside a private network namespace (only loopback, so the ports
# 9211 and 9212 are bound there alone and nothing reaches the machine's real interfaces),
# with its own X display and a throw-away home folder.
#
#   scripts/run-tests.sh BUILD_DIR [ctest arguments...]
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
shift || true

if [ "${QUENTARO_TEST_NETNS:-}" != 1 ]; then
    if [ "$(id -u)" -eq 0 ]; then
        exec unshare --net --mount --propagation private --fork env QUENTARO_TEST_NETNS=1 "$0" "$build" "$@"
    else
        exec unshare --user --map-root-user --net --mount --propagation private --fork env QUENTARO_TEST_NETNS=1 "$0" "$build" "$@"
    fi
fi

ip link set lo up

. "$(dirname "$0")/private-display.sh"

cd "$build"
ctest --output-on-failure "$@"
