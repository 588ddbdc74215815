#!/usr/bin/env bash
# Records hours of media from the built-in sources in --fast mode with sync
# marks and the test tone's clock skewed (by +1000 and -1000 ppm unless
# SKEWS says otherwise), in Auto sync and in No Sync, and prints for each:
# the audio's offset behind the picture at the start, middle and end
# (target in Auto: within +-33 ms at the end; No Sync shows the drift, about
# 7.2 s after 2 hours at 1000 ppm), how many flashes syncprobe paired with
# their beep (all, or all but one the end cut), the peak memory after the
# first minute of running and at the end (target: within 10 MB) and the
# time taken.
#
# usage: bench/sync.sh [BUILD_DIR]      environment: MINUTES of media
#        (default 120), SKEWS (default "1000 -1000"), SIZE (default 352x288)
set -euo pipefail

build_dir=${1:-build}
mpegrec=$build_dir/bin/mpegrec
syncprobe=$build_dir/bin/syncprobe
minutes=${MINUTES:-120}
skews=${SKEWS:-1000 -1000}
size=${SIZE:-352x288}
for program in "$mpegrec" "$syncprobe"; do
    [ -x "$program" ] || { echo "no $program; build the mpegrec and syncprobe targets first" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Peak resident memory of a running process, in kB.
peak_kb() {
    awk '/^VmHWM:/ { print $2 }' "/proc/$1/status" 2>/dev/null || true
}

# Records one run; prints "wall-seconds peak-kB-after-a-minute peak-kB-at-end".
record() {
    local sync_mode=$1 skew=$2 started=$SECONDS peak="" minute_peak="" sample
    "$mpegrec" -o "$work/sync.mpg" --fast --sync-marks --clock-skew "$skew" --sync-mode "$sync_mode" \
        --type mpeg1 --size "$size" --frame-rate 25 --video-bitrate 1150000 --sample-rate 48000 \
        --duration $((minutes * 60)) >"$work/summary" 2>"$work/errors" &
    local pid=$!
    while kill -0 "$pid" 2>/dev/null; do
        sample=$(peak_kb "$pid")
        [ -z "$sample" ] || peak=$sample
        if [ -z "$minute_peak" ] && [ $((SECONDS - started)) -ge 60 ]; then
            minute_peak=$peak
        fi
        sleep 1
    done
    wait "$pid" || { echo "mpegrec failed: $(cat "$work/errors")" >&2; exit 1; }
    echo "$((SECONDS - started)) ${minute_peak:-$peak} $peak"
}

# The offsets syncprobe finds, as "start middle end" in ms, and how many of
# the flashes it paired with their beep, as "PAIRS/FLASHES".
offsets() {
    "$syncprobe" "$work/sync.mpg" >"$work/probe"
    awk '$1 == "start-ms" { s = $2 } $1 == "middle-ms" { m = $2 } $1 == "end-ms" { e = $2 }
         $1 == "flashes" { f = $2 } $1 == "pairs" { p = $2 } END { print s, m, e, p "/" f }' "$work/probe"
}

echo "$minutes minutes of $size MPEG-1 at 25 fps from the test sources, --fast"
printf '%-8s %-8s %9s %9s %9s %11s %8s %12s %12s %9s\n' skew sync "start ms" "middle ms" "end ms" paired verdict \
    "peak 1 min" "peak end" "wall s"
for skew in $skews; do
    for mode in auto none; do
        sync_mode=1
        [ "$mode" = auto ] || sync_mode=0
        read -r wall minute_kb end_kb < <(record "$sync_mode" "$skew")
        read -r start middle end paired < <(offsets)
        verdict=drift
        if [ "$mode" = auto ]; then
            verdict=$(awk -v e="$end" 'BEGIN { print (e <= 33 && e >= -33) ? "ok" : "FAIL" }')
        fi
        growth=$(( (end_kb - minute_kb) / 1024 ))
        printf '%-8s %-8s %9s %9s %9s %11s %8s %9d MB %9d MB %9s   (+%d MB%s)\n' "$skew" "$mode" "$start" \
            "$middle" "$end" "$paired" "$verdict" $((minute_kb / 1024)) $((end_kb / 1024)) "$wall" "$growth" \
            "$([ "$growth" -le 10 ] && echo ", ok" || echo ", FAIL")"
    done
done
