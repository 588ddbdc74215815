# What the recording benchmarks share; sourced after they set $mpegrec.

[ -x "$mpegrec" ] || { echo "no $mpegrec; build the mpegrec target first" >&2; exit 1; }
command -v ffmpeg >/dev/null || { echo "ffmpeg is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# "wall cpu" seconds of one command (cpu = user + system, all threads).
times_of() {
    local TIMEFORMAT='%R %U %S' timing
    timing=$( { time "$@" >/dev/null 2>&1 ; } 2>&1 ) || { echo "failed: $*" >&2; exit 1; }
    awk '{ print $1, $2 + $3 }' <<<"$timing"
}

median() {
    sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
