#!/usr/bin/env bash
# Times mpegrec --fast against the ffmpeg command doing the same job (the same
# lavfi sources, sizes, rates, encoders and bit rates), several runs each,
# alternating, and prints the median wall-clock and CPU times and their ratios
# (target for wall-clock: <= 1.05).
# Then records 30 s in real time and prints the frames dropped (target 0)
# and the CPU use.
#
# usage: bench/record.sh [BUILD_DIR]      environment: RUNS (default 5),
#        SECONDS_FAST (default 60), SECONDS_REAL (default 30)
set -euo pipefail

build_dir=${1:-build}
mpegrec=$build_dir/bin/mpegrec
runs=${RUNS:-5}
fast_seconds=${SECONDS_FAST:-60}
real_seconds=${SECONDS_REAL:-30}
source "$(dirname "$0")/common.sh"

# name type size rate(mpegrec) rate(ffmpeg) video-bitrate audio-bitrate sample-rate muxer codec
profiles=(
    "MPEG-2_720x480 mpeg2 720x480 29 30000/1001 4600000 224000 48000 dvd mpeg2video"
    "MPEG-1_352x240 mpeg1 352x240 29 30000/1001 1150000 224000 44100 mpeg mpeg1video"
)

printf '%-16s %10s %10s %8s   %10s %10s %8s\n' profile mpegrec ffmpeg ratio "cpu ours" "cpu ffmpeg" ratio
for profile in "${profiles[@]}"; do
    read -r name type size rate ffrate vbit abit srate muxer codec <<<"$profile"
    # The engine's DVD settings: VBV buffer and peak rate, and the mux rate.
    dvd_options=()
    if [ "$type" = mpeg2 ]; then
        dvd_options=(-maxrate 9000000 -bufsize 1835008 -muxrate 10080000)
    fi
    ours=()
    theirs=()
    for _ in $(seq "$runs"); do
        ours+=("$(times_of "$mpegrec" -o "$work/ours.mpg" --fast --type "$type" --size "$size" \
            --frame-rate "$rate" --video-bitrate "$vbit" --audio-bitrate "$abit" --sample-rate "$srate" \
            --channels 2 --duration "$fast_seconds")")
        theirs+=("$(times_of ffmpeg -nostdin -v error -y \
            -f lavfi -i "testsrc2=size=$size:rate=$ffrate" -f lavfi -i "sine=frequency=440:sample_rate=$srate" \
            -t "$fast_seconds" -c:v "$codec" -b:v "$vbit" -aspect 4:3 "${dvd_options[@]}" \
            -c:a mp2 -b:a "$abit" -ar "$srate" -ac 2 -f "$muxer" "$work/theirs.mpg")")
    done
    ours_wall=$(printf '%s\n' "${ours[@]}" | cut -d' ' -f1 | median)
    theirs_wall=$(printf '%s\n' "${theirs[@]}" | cut -d' ' -f1 | median)
    ours_cpu=$(printf '%s\n' "${ours[@]}" | cut -d' ' -f2 | median)
    theirs_cpu=$(printf '%s\n' "${theirs[@]}" | cut -d' ' -f2 | median)
    awk -v n="$name" -v ow="$ours_wall" -v tw="$theirs_wall" -v oc="$ours_cpu" -v tc="$theirs_cpu" \
        'BEGIN { printf "%-16s %9.3fs %9.3fs %8.3f   %9.3fs %9.3fs %8.3f\n", n, ow, tw, ow / tw, oc, tc, oc / tc }'
done

echo
echo "Real time: ${real_seconds} s of 720x480 MPEG-2 from the test sources"
TIMEFORMAT='%R %U %S'
{ time "$mpegrec" -o "$work/real.mpg" --type mpeg2 --size 720x480 --frame-rate 29 --video-bitrate 4600000 \
    --audio-bitrate 224000 --sample-rate 48000 --duration "$real_seconds" >"$work/summary" ; } 2>"$work/times"
read -r real user system <"$work/times"
cat "$work/summary"
awk -v r="$real" -v u="$user" -v s="$system" \
    'BEGIN { printf "wall %.2f s, cpu %.2f s, cpu use %.0f %% of one core\n", r, u + s, (u + s) * 100 / r }'
