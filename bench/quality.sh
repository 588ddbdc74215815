#!/usr/bin/env bash
# Picture quality per bit: mpegrec --fast against the ffmpeg command with the
# same source (the Test Pattern is lavfi's testsrc2), picture size, rate,
# duration, video bit rate and audio, but the encoder's default settings.
# Prints the SSIM of each file against the source in dB (target: ours at
# least 0.5 dB above), the video bit rate each file really used, and the
# median CPU time (user + system) of each with their ratio (target: <= 1.5).
# Then encodes 720x576 at 25 fps MPEG-2 as fast as it goes and prints how
# many times real time that is (target: >= 1 on two cores).
#
# usage: bench/quality.sh [BUILD_DIR]      environment: RUNS (default 3),
#        SECONDS_MEDIA (default 30)
set -euo pipefail

build_dir=${1:-build}
mpegrec=$build_dir/bin/mpegrec
runs=${RUNS:-3}
media_seconds=${SECONDS_MEDIA:-30}
source "$(dirname "$0")/common.sh"

# CPU seconds (user + system, all threads) of one command.
cpu_of() {
    times_of "$@" | cut -d' ' -f2
}

# SSIM in dB of a file's pictures against the source they were made from,
# both counted from their first picture.
ssim_db() {
    local file=$1 source=$2
    ffmpeg -nostdin -hide_banner -i "$file" -f lavfi -i "$source" \
        -lavfi '[0:v]setpts=PTS-STARTPTS[coded];[1:v]setpts=PTS-STARTPTS[source];[coded][source]ssim' \
        -t "$media_seconds" -f null - 2>&1 | sed -n 's/.*SSIM .* All:[0-9.]* (\([0-9.]*\)).*/\1/p' | tail -1
}

# The video bit rate a file really carries, in kbit/s.
video_kbits() {
    ffprobe -v error -select_streams v -show_entries packet=size -of csv=p=0 "$1" \
        | awk -v s="$media_seconds" '{ bytes += $1 } END { printf "%.0f", bytes * 8 / s / 1000 }'
}

# name type size rate(mpegrec) rate(ffmpeg) video-bitrate codec muxer
profiles=(
    "MPEG-2_720x480 mpeg2 720x480 29 30000/1001 2000000 mpeg2video dvd"
    "MPEG-1_352x240 mpeg1 352x240 29 30000/1001 1150000 mpeg1video mpeg"
)
audio_bitrate=224000
sample_rate=44100

printf '%-16s %9s %9s %7s   %8s %8s   %9s %9s %6s\n' profile "ssim ours" ffmpeg diff "kbit/s" ffmpeg \
    "cpu ours" ffmpeg ratio
for profile in "${profiles[@]}"; do
    read -r name type size rate ffrate vbit codec muxer <<<"$profile"
    source="testsrc2=size=$size:rate=$ffrate"
    ours=()
    theirs=()
    for _ in $(seq "$runs"); do
        ours+=("$(cpu_of "$mpegrec" -o "$work/ours.mpg" --fast --type "$type" --size "$size" \
            --frame-rate "$rate" --video-bitrate "$vbit" --audio-bitrate "$audio_bitrate" \
            --sample-rate "$sample_rate" --channels 2 --duration "$media_seconds")")
        theirs+=("$(cpu_of ffmpeg -nostdin -v error -y \
            -f lavfi -i "$source" -f lavfi -i "sine=frequency=440:sample_rate=$sample_rate" \
            -t "$media_seconds" -c:v "$codec" -b:v "$vbit" -aspect 4:3 \
            -c:a mp2 -b:a "$audio_bitrate" -ar "$sample_rate" -ac 2 -f "$muxer" "$work/theirs.mpg")")
    done
    ours_cpu=$(printf '%s\n' "${ours[@]}" | median)
    theirs_cpu=$(printf '%s\n' "${theirs[@]}" | median)
    ours_ssim=$(ssim_db "$work/ours.mpg" "$source")
    theirs_ssim=$(ssim_db "$work/theirs.mpg" "$source")
    awk -v n="$name" -v os="$ours_ssim" -v ts="$theirs_ssim" -v ob="$(video_kbits "$work/ours.mpg")" \
        -v tb="$(video_kbits "$work/theirs.mpg")" -v oc="$ours_cpu" -v tc="$theirs_cpu" \
        'BEGIN { printf "%-16s %6.2f dB %6.2f dB %+7.2f   %8d %8d   %8.2fs %8.2fs %6.2f\n",
                 n, os, ts, os - ts, ob, tb, oc, tc, oc / tc }'
done
echo "targets: diff >= +0.50 dB, cpu ratio <= 1.50"

TIMEFORMAT='%R'
wall=$( { time "$mpegrec" -o "$work/pal.mpg" --fast --type mpeg2 --size 720x576 --frame-rate 25 \
    --video-bitrate 6000000 --duration "$media_seconds" >/dev/null 2>&1 ; } 2>&1 )
awk -v s="$media_seconds" -v w="$wall" \
    'BEGIN { printf "\n720x576 25 fps MPEG-2: %d s of media in %.2f s, %.1f times real time (target >= 1)\n", s, w, s / w }'
