#!/usr/bin/env bash
# Runs a command with an accessibility bus of its own: meant to run inside a
# private session bus (dbus-run-session) on a private X server
# (xvfb-exec.sh), so parallel tests never share a registry.
# usage: atspi-session.sh COMMAND [ARGUMENT...]
set -euo pipefail

/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher_pid=$!
trap 'kill "$launcher_pid" 2>/dev/null || true; wait "$launcher_pid" 2>/dev/null || true' EXIT

status=0
"$@" || status=$?
exit "$status"
