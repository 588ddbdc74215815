#!/usr/bin/env bash
# Runs a command on a virtual X server of its own and exits with the
# command's status. Xvfb chooses a free display number itself (-displayfd),
# so tests started in parallel never race for one as `xvfb-run -a` does.
# usage: xvfb-exec.sh WIDTHxHEIGHTxDEPTH COMMAND [ARGUMENT...]
set -euo pipefail

screen=$1
shift

exec 3< <(exec Xvfb -displayfd 1 -screen 0 "$screen" -nolisten tcp 2>/dev/null)
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT

if ! read -r -t 30 display <&3; then
    echo "xvfb-exec: Xvfb did not start" >&2
    exit 1
fi

# The number comes as soon as the socket exists; clients are served a moment
# later, once the server has set up its screen.
for ((attempt = 0; attempt < 300; ++attempt)); do
    xdpyinfo -display ":$display" >/dev/null 2>&1 && break
    sleep 0.1
done

status=0
DISPLAY=":$display" "$@" || status=$?
exit "$status"
