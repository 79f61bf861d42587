#!/usr/bin/env bash
# Runs a command (the host browser's tests) beside a DNS-SD daemon of its own, where nothing
# can reach the machine's real interfaces or its real daemons:
#
#   - new network, mount and process namespaces (this script is process 1 of the last, so
#     everything started here dies with it, also when it is killed or the command crashes);
#   - loopback and a veth pair qavahi0 10.211.0.1/24 <-> qavahi1 10.211.0.2/24, multicast on;
#   - a private tmpfs over /run, so the D-Bus system bus socket and avahi's run-time files
#     (both file paths, which a network namespace does not separate) are this run's alone;
#   - dbus-daemon as the system bus and avahi-daemon on qavahi0 only (IPv4, no wide area).
#
# The command finds in its environment: QUENTARO_TEST_NETNS=1 (a private network),
# QUENTARO_AVAHI_DAEMON=1, QUENTARO_AVAHI_ADDRESS (the daemon's address, which services it
# publishes resolve to), QUENTARO_AVAHI_PUBLISH and QUENTARO_AVAHI_BROWSE (avahi-publish and
# avahi-browse) and AVAHI_COMPAT_NOWARN=1.
# The daemons are stopped by their process ids when the command ends; its exit code is ours.
# Needs root: avahi-daemon gives its run-time folder to its own user, which a user namespace
# set up by an ordinary user cannot map.
#
#   scripts/with-avahi.sh COMMAND [ARGUMENTS...]
set -euo pipefail

# The bus this script starts is the only one its daemons and tests may use.
unset DBUS_SYSTEM_BUS_ADDRESS DBUS_SESSION_BUS_ADDRESS

[ $# -ge 1 ] || { echo "usage: $0 COMMAND [ARGUMENTS...]" >&2; exit 2; }

if [ "${QUENTARO_AVAHI_STAGE:-}" != inside ]; then
    namespaces=(--net --mount --pid --mount-proc --propagation private --kill-child)

    if [ "$(id -u)" -eq 0 ]; then
        exec unshare "${namespaces[@]}" env QUENTARO_AVAHI_STAGE=inside "$0" "$@"
    else
        exec unshare --user --map-root-user "${namespaces[@]}" env QUENTARO_AVAHI_STAGE=inside "$0" "$@"
    fi
fi

fail()
{
    echo "with-avahi: $*" >&2
    exit 1
}

# Only a fresh network namespace has nothing but loopback: never go on anywhere else.
[ "$$" -eq 1 ] || fail "not the first process of a new process namespace"
[ "$(ip -o link show | wc -l)" -eq 1 ] || fail "not in a fresh network namespace"

address=10.211.0.1
ip link set lo up
ip link add qavahi0 type veth peer name qavahi1
ip addr add "$address/24" dev qavahi0
ip addr add 10.211.0.2/24 dev qavahi1
ip link set qavahi0 multicast on up
ip link set qavahi1 multicast on up

mount -t tmpfs -o mode=755 quentaro-avahi /run
mkdir -p /run/dbus /run/avahi-daemon /run/quentaro-avahi
work=/run/quentaro-avahi

# A bus of its own: no user switch (there may be no other user in this namespace) and any
# client may own names, so avahi-daemon needs no policy file from the machine.
cat >"$work/bus.conf" <<'EOF'
<busconfig>
  <type>system</type>
  <listen>unix:path=/run/dbus/system_bus_socket</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_type="method_call"/>
    <allow send_type="signal"/>
    <allow send_requested_reply="true" send_type="method_return"/>
    <allow send_requested_reply="true" send_type="error"/>
    <allow receive_type="method_call"/>
    <allow receive_type="method_return"/>
    <allow receive_type="error"/>
    <allow receive_type="signal"/>
  </policy>
</busconfig>
EOF

cat >"$work/avahi-daemon.conf" <<'EOF'
[server]
host-name=quentaro-test
use-ipv4=yes
use-ipv6=no
allow-interfaces=qavahi0
enable-dbus=yes

[wide-area]
enable-wide-area=no

[publish]
publish-workstation=no
publish-hinfo=no
EOF

dbus_pid=
avahi_pid=
stop_daemons()
{
    if [ -n "$avahi_pid" ]; then
        kill "$avahi_pid" 2>/dev/null || true
        wait "$avahi_pid" 2>/dev/null || true
        avahi_pid=
    fi

    if [ -n "$dbus_pid" ]; then
        kill "$dbus_pid" 2>/dev/null || true
        dbus_pid=
    fi
}
trap stop_daemons EXIT

dbus_pid=$(dbus-daemon --config-file="$work/bus.conf" --fork --print-pid)
[ -S /run/dbus/system_bus_socket ] || fail "dbus-daemon did not start"

avahi-daemon -f "$work/avahi-daemon.conf" --no-rlimits --no-chroot --no-drop-root --no-proc-title \
    >"$work/avahi.log" 2>&1 &
avahi_pid=$!

for _ in $(seq 1 200); do
    grep -q "Server startup complete" "$work/avahi.log" && break
    kill -0 "$avahi_pid" 2>/dev/null || break
    sleep 0.05
done
if ! grep -q "Server startup complete" "$work/avahi.log"; then
    cat "$work/avahi.log" >&2
    # avahi-daemon insists on handing its run-time folder to its own user, which a user
    # namespace that maps only root does not have.
    fail "avahi-daemon did not start (it needs to run as the machine's root, with its user 'avahi')"
fi

export QUENTARO_TEST_NETNS=1
export QUENTARO_AVAHI_DAEMON=1
export QUENTARO_AVAHI_ADDRESS="$address"
# For tests of a daemon that dies under the program (the daemon is ours, in our namespaces).
export QUENTARO_AVAHI_PID="$avahi_pid"
QUENTARO_AVAHI_PUBLISH=$(command -v avahi-publish) || fail "avahi-publish not found"
QUENTARO_AVAHI_BROWSE=$(command -v avahi-browse) || fail "avahi-browse not found"
export QUENTARO_AVAHI_PUBLISH QUENTARO_AVAHI_BROWSE
export AVAHI_COMPAT_NOWARN=1
unset QUENTARO_AVAHI_STAGE DBUS_SYSTEM_BUS_ADDRESS

status=0
"$@" || status=$?

if [ "$status" -ne 0 ]; then
    echo "with-avahi: the command ended with $status; avahi-daemon's log:" >&2
    cat "$work/avahi.log" >&2
fi

stop_daemons
exit "$status"
