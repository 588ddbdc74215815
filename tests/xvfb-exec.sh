#!/usr/bin/env bash
# Runs a command on a virtual X server of its own and exits with the
# command's status. Xvfb chooses a free display number itself (-displayfd),
# so tests started in parallel never race for one as `xvfb-run -a` does.
# usage: xvfb-exec.sh WIDTHxHEIGHTxDEPTH COMMAND [ARGUMENT...]
set -euo pipefail

screen=$1
shift

# A server that is shutting down removes its socket file by name. Were another
# server to take the same display number in that moment, the file removed
# would be the new server's and its clients could not connect. Starting and
# stopping servers one at a time (the tests themselves still run in
# parallel) rules that out.
exec 9>"${TMPDIR:-/tmp}/skinrecorder-xvfb.lock"
flock 9

# -noreset: the server would otherwise reset when the readiness probe below
# disconnects, just as the command connects.
exec 3< <(exec Xvfb -displayfd 1 -screen 0 "$screen" -nolisten tcp -noreset 2>/dev/null 9>&-)
xvfb_pid=$!

stop_server() {
    flock 9
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
}
trap stop_server EXIT

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
flock -u 9

status=0
DISPLAY=":$display" "$@" 9>&- || status=$?
exit "$status"
