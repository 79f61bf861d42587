# Sourced by scripts/run-tests.sh and scripts/run-bench.sh, already inside their own network and
# mount namespaces: a scratch folder removed on exit, a throw-away home, no D-Bus bus of the
# machine's, and an Xvfb display of its own (DISPLAY exported).

# The display's socket folder is private to this run, so a run beside another (or a desktop's
# own X server) can never reach the wrong display.
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
# Nothing reaches the machine's D-Bus system bus, so nothing (the simulator's DNS-SD
# announcement, say) can reach the machine's own avahi-daemon and the real network.
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/quentaro-private-bus
unset DBUS_SESSION_BUS_ADDRESS
export AVAHI_COMPAT_NOWARN=1
# The virtual display has no GPU: the web engine draws its pages in software there.
export WEBKIT_DISABLE_COMPOSITING_MODE=1
export HOME="$scratch/home"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_CACHE_HOME
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"

# Xvfb chooses a free display number and reports it on the given descriptor.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 200); do
    [ -s "$scratch/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$scratch/xvfb.log" >&2; exit 1; }
    sleep 0.05
done
[ -s "$scratch/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$scratch/display")"
