#!/usr/bin/env bash
# Fuzzes the remote's hostile-input paths: builds the libFuzzer harnesses of tests/fuzz with
# clang, AddressSanitizer and UndefinedBehaviorSanitizer in a build folder of their own, writes
# their seed corpora there, runs each harness for a bounded time inside a private network
# namespace (only loopback, like the tests) and prints per harness the executions, the coverage
# and the findings. Any finding (a crash, leak, timeout or out-of-memory input, kept under
# BUILD_DIR/fuzz/findings/<harness>/) makes it fail once every harness has run.
#
#   scripts/fuzz.sh [BUILD_DIR]          default: build-fuzz beside build
#   QUENTARO_FUZZ_SECONDS=N              seconds per harness (default 180)
#   QUENTARO_FUZZ_TARGETS="fuzz_formats" the harnesses to run (default all three)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-fuzz"}
mkdir -p "$build"
build=$(cd "$build" && pwd)
seconds=${QUENTARO_FUZZ_SECONDS:-180}
read -r -a targets <<<"${QUENTARO_FUZZ_TARGETS:-fuzz_receive fuzz_recent_hosts fuzz_formats}"

if [ "${QUENTARO_FUZZ_NETNS:-}" != 1 ]; then
    # The sanitizers in every object, JUCE's included, so that a fault inside the framework
    # (on bytes we handed it) shows too. Built once; later runs only rebuild what changed.
    if [ ! -f "$build/build.ninja" ]; then
        flags="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer"
        # The page is not needed (no harness has a web view), and its npm install must not
        # touch web/node_modules, which the normal build uses: npm is replaced by `true`, and
        # the program then carries an empty site.
        mkdir -p "$build/site"
        # Configuring builds JUCE's juceaide: under the shared lock, like every build.
        flock /tmp/quentaro-build.lock cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
            -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
            -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
            -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
            -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
            -DQUENTARO_FUZZ=ON -DQUENTARO_WERROR=OFF -DNPM_EXECUTABLE="$(command -v true)"
    fi

    # Builds share the machine: one at a time, through the shared lock.
    flock /tmp/quentaro-build.lock cmake --build "$build" --target "${targets[@]}" quentaro-fuzz-seeds

    # The generator is no harness: what the font library keeps until exit is not a finding.
    rm -rf "$build/fuzz/seeds"
    ASAN_OPTIONS=detect_leaks=0 "$build/tests/fuzz/quentaro-fuzz-seeds" "$build/fuzz/seeds"

    if [ "$(id -u)" -eq 0 ]; then
        exec unshare --net --fork env QUENTARO_FUZZ_NETNS=1 "$0" "$build"
    else
        exec unshare --user --map-root-user --net --fork env QUENTARO_FUZZ_NETNS=1 "$0" "$build"
    fi
fi

ip link set lo up

# In memory where there is room: the recent-hosts harness writes (and syncs) its files for
# every input.
scratch=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/home" "$scratch/tmp"
export HOME="$scratch/home" TMPDIR="$scratch/tmp"
unset DISPLAY XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME
# Nothing reaches the machine's D-Bus system bus (the connect screen's DNS-SD browser tries).
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/quentaro-fuzz-bus
unset DBUS_SESSION_BUS_ADDRESS
export AVAHI_COMPAT_NOWARN=1

# A quarter of AddressSanitizer's default quarantine of freed memory: the receive harness
# builds and drops a whole screen's components for every input, and with the default the
# process stands near -rss_limit_mb without any input needing it.
export ASAN_OPTIONS="detect_leaks=1:symbolize=1:quarantine_size_mb=64"
export LSAN_OPTIONS="suppressions=$root/tests/fuzz/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:symbolize=1"
symbolizer=$(command -v llvm-symbolizer-14 || command -v llvm-symbolizer || true)
[ -n "$symbolizer" ] && export ASAN_SYMBOLIZER_PATH="$symbolizer"

# The largest input each harness takes: a datagram fills at most the receiver's buffer; a
# recent-hosts file of a few lines is a hundred bytes or so, and one over the 4096-byte line
# limit shows its skip; a host text is short.
max_len()
{
    case "$1" in
        fuzz_receive) echo 65535 ;;
        fuzz_recent_hosts) echo 16384 ;;
        *) echo 4096 ;;
    esac
}

# Every input once found and fixed runs first, under the sanitizers (make test replays them
# without). New inputs go only into the first folder, the build's corpus.
regressions="$root/tests/fuzz/regressions"
summary=()
failed=0

for target in "${targets[@]}"; do
    corpus="$build/fuzz/corpus/$target"
    findings="$build/fuzz/findings/$target"
    log="$build/fuzz/$target.log"
    mkdir -p "$corpus"
    inputs=("$corpus" "$build/fuzz/seeds/$target")
    [ -d "$regressions/$target" ] && inputs+=("$regressions/$target")
    rm -rf "$findings" && mkdir -p "$findings"

    echo "== $target: ${seconds} s" >&2
    status=0
    nice -n 10 "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=512 \
        -detect_leaks=1 -max_len="$(max_len "$target")" -print_final_stats=1 \
        -artifact_prefix="$findings/" "${inputs[@]}" >"$log" 2>&1 || status=$?

    # The last status line: "#RUNS<tab><event> cov: N ft: N corp: N/SIZE ... exec/s: N ...".
    last=$(grep -E '^#[0-9]+[[:space:]].*cov: ' "$log" | tail -n 1 || true)
    field() { sed -nE "s/.* $1: ([^ ]+).*/\1/p" <<<"$last"; }
    runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$log" | tail -n 1)
    speed=$(sed -nE 's/^stat::average_exec_per_sec: *([0-9]+).*/\1/p' "$log" | tail -n 1)
    found=$(find "$findings" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) \
        -printf '%f\n' | sort | tr '\n' ' ')

    if [ -n "$found" ]; then
        failed=1
        echo "   findings in $findings (log: $log):" >&2
        grep -E '^(==[0-9]+==ERROR|SUMMARY|.*fuzz check failed|.*runtime error)' "$log" | head -n 5 >&2 || true
    elif [ "$status" -ne 0 ]; then
        failed=1
        found="(exit status $status, see $log)"
    fi

    summary+=("$(printf '%-18s %12s %8s %7s %8s %8s  %s' "$target" "${runs:--}" "${speed:--}" \
        "$(field cov)" "$(field ft)" "$(field corp)" "${found:-none}")")
done

echo
printf '%-18s %12s %8s %7s %8s %8s  %s\n' harness executions exec/s cov ft corpus findings
printf '%s\n' "${summary[@]}"
exit "$failed"
