#!/usr/bin/env bash
# Screen capture as the desktop portal delivers it against the X11 grabber:
# a 1920x1080 picture at 30 frames/s recorded into 720x480 MPEG-2 with the
# test tone, once from a PipeWire stream (a private daemon and a GStreamer
# producer standing for the screen cast) and once from a 1920x1080 virtual X
# server showing the same moving picture. Prints the frames dropped and the
# recorder's CPU time per second of video for each; asserts nothing.
#
# usage: bench/portal_capture.sh [BUILD_DIR]      environment: SECONDS_REAL (default 30)
set -euo pipefail

bench_dir=$(cd "$(dirname "$0")" && pwd)
tests_dir=$bench_dir/../tests
seconds=${SECONDS_REAL:-30}
# The same moving picture for both: GStreamer's bouncing ball.
picture="videotestsrc pattern=ball is-live=true ! video/x-raw,format=BGRx,width=1920,height=1080,framerate=30/1"

# Waits for a condition command, up to 30 s.
wait_for() {
    local attempt
    for ((attempt = 0; attempt < 300; ++attempt)); do
        "$@" && return 0
        sleep 0.1
    done
    echo "portal_capture: gave up waiting for: $*" >&2
    return 1
}

# Runs beside the private PipeWire daemon.
record_pipewire() {
    gst-launch-1.0 -q $picture ! pipewiresink mode=provide \
        stream-properties="p,node.name=skinrecorder-bench,media.class=Video/Source" &
    local producer=$! node=
    find_node() {
        node=$(pw-dump | jq '.[] | select(.info.props."node.name" == "skinrecorder-bench") | .id')
        [ -n "$node" ]
    }
    wait_for find_node
    "$bench" pipewire "$node" "$seconds" "$work/pipewire.mpg" || true
    kill "$producer"
    wait "$producer" 2>/dev/null || true
}

# Runs on the virtual X server.
record_x11() {
    gst-launch-1.0 -q $picture ! ximagesink &
    local player=$!
    wait_for sh -c 'xwininfo -root -children | grep -q "1920x1080+"'
    "$bench" x11 "$seconds" "$work/x11.mpg" || true
    kill "$player"
    wait "$player" 2>/dev/null || true
}

case "${1:-}" in
--pipewire | --x11)
    bench=$2
    work=$3
    "record_${1#--}"
    exit 0
    ;;
esac

build_dir=${1:-build}
bench=$(cd "$build_dir" && pwd)/bin/bench_screen_capture
[ -x "$bench" ] || { echo "no $bench; build the bench_screen_capture target first" >&2; exit 1; }
for program in gst-launch-1.0 jq xwininfo; do
    command -v "$program" >/dev/null || { echo "$program is not installed (scripts/setup installs it)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

echo "${seconds} s of 1920x1080 at 30 frames/s into 720x480 MPEG-2"
SECONDS_REAL=$seconds "$tests_dir/pipewire-exec.sh" "$0" --pipewire "$bench" "$work"
SECONDS_REAL=$seconds "$tests_dir/xvfb-exec.sh" 1920x1080x24 "$0" --x11 "$bench" "$work"
