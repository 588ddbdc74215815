#!/usr/bin/env bash
# Runs a command beside a PipeWire daemon and WirePlumber of its own, in a
# runtime folder of its own, and exits with the command's status. The
# command finds them as any PipeWire client does (PIPEWIRE_RUNTIME_DIR, and
# XDG_RUNTIME_DIR and DBUS_SESSION_BUS_ADDRESS for the session bus they
# share); nothing of the user's own desktop session is reached or changed.
# Without pipewire, wireplumber or dbus-daemon the command runs alone, so
# its tests can say what they lack and skip.
# usage: pipewire-exec.sh COMMAND [ARGUMENT...]
set -euo pipefail

for program in pipewire wireplumber dbus-daemon pw-dump; do
    if ! command -v "$program" >/dev/null; then
        echo "pipewire-exec: $program is not installed (scripts/setup installs it); running without PipeWire" >&2
        exec "$@"
    fi
done

runtime=$(mktemp -d "${TMPDIR:-/tmp}/skinrecorder-pipewire.XXXXXX")
pids=()

stop_all() {
    # The session manager and the daemon go before the bus they talk on.
    local index
    for ((index = ${#pids[@]} - 1; index >= 0; --index)); do
        kill "${pids[index]}" 2>/dev/null || true
        wait "${pids[index]}" 2>/dev/null || true
    done
    rm -rf "$runtime"
}
trap stop_all EXIT

export XDG_RUNTIME_DIR=$runtime
export PIPEWIRE_RUNTIME_DIR=$runtime
# WirePlumber keeps the streams' chosen targets here; a test's must not
# reach the user's.
export XDG_STATE_HOME=$runtime/state
unset PIPEWIRE_REMOTE
unset PIPEWIRE_CORE

# WirePlumber will not run without a session bus; a private one keeps it
# off the user's.
exec 3< <(exec dbus-daemon --session --nofork --nopidfile --print-address=1 2>/dev/null)
pids+=($!)
if ! read -r -t 30 DBUS_SESSION_BUS_ADDRESS <&3; then
    echo "pipewire-exec: dbus-daemon did not start" >&2
    exit 1
fi
export DBUS_SESSION_BUS_ADDRESS

log=$runtime/daemons.log

# Waits up to 30 s for a condition command.
wait_for() {
    local attempt
    for ((attempt = 0; attempt < 300; ++attempt)); do
        "$@" && return 0
        sleep 0.1
    done
    echo "pipewire-exec: PipeWire or WirePlumber did not start:" >&2
    cat "$log" >&2
    exit 1
}

pipewire >>"$log" 2>&1 3<&- &
pids+=($!)
# WirePlumber gives up when the daemon is not there yet.
wait_for test -S "$runtime/pipewire-0"
wireplumber >>"$log" 2>&1 3<&- &
pids+=($!)

# Ready once WirePlumber has connected and exported its objects, which it
# does after loading the policy that links streams to their targets.
wireplumber_ready() {
    pw-dump 2>/dev/null | grep -q '"application.name": "WirePlumber \[export\]"'
}
wait_for wireplumber_ready

status=0
"$@" 3<&- || status=$?
exit "$status"
