#!/usr/bin/env bash
# What the session bus service costs the program, on an X server:
# - its start, from launch to the window's first paint, with the service on
#   a session bus of its own against a start without a bus (RUNS times each,
#   alternating): both medians and their ratio (goal: <= 1.05). Qt itself
#   talks to a session bus as it starts (accessibility, desktop settings),
#   so the bare window of bench/startup.sh is timed both ways too, and the
#   service's own share is the one ratio over the other;
# - the share of one core the idle program takes with the service, beside
#   the same program without a bus, over SECONDS once the window has
#   settled (goal: < 1 %);
# - how long a command (--status) takes from launch to exit, beside
#   --version, which only loads the program.
# Prints figures only.
# Usage: bench/remote.sh [BUILD_DIR] [RUNS] [SECONDS]   (defaults: build, 15, 10)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
runs=${2:-15}
seconds=${3:-10}
cmake -S . -B "$build_dir" >/dev/null
cmake --build "$build_dir" -j2 --target bench_remote_start bench_startup skinrecorder skinrec_skin_packages >/dev/null
bench=$PWD/$build_dir/bin/bench_remote_start
bare_window=$PWD/$build_dir/bin/bench_startup
program=$PWD/$build_dir/bin/skinrecorder

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build_dir" "$runs" "$seconds"
fi

# Long enough for the notifier popup to have slid in and out again.
settle_seconds=15
no_bus=disabled:
work=$(mktemp -d)
bus_pid=
program_pid=
cleanup() {
    [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
    [ -z "$bus_pid" ] || kill "$bus_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
cp "$build_dir/bin/Pink.skn" "$work/"
mkdir "$work/bus"
bus_info=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 --address="unix:dir=$work/bus" 2>/dev/null)
bus=$(sed -n 1p <<<"$bus_info")
bus_pid=$(sed -n 2p <<<"$bus_info")

median() {
    sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Milliseconds from launch to the first paint of program $1 on the session
# bus $2.
start_ms() {
    (cd "$work" && env DBUS_SESSION_BUS_ADDRESS="$2" SKINREC_LAUNCH_NS="$(date +%s%N)" QT_QPA_PLATFORM=xcb \
        "$1" 2>/dev/null | tail -n 1)
}

# Per cent of one core the program takes over $seconds once settled, on the
# session bus $1.
idle_cpu() {
    (cd "$work" && DBUS_SESSION_BUS_ADDRESS="$1" QT_QPA_PLATFORM=xcb exec "$program" >/dev/null 2>&1) &
    program_pid=$!
    sleep "$settle_seconds"
    local ticks_before ticks_after
    ticks_before=$(awk '{ print $14 + $15 }' "/proc/$program_pid/stat")
    sleep "$seconds"
    ticks_after=$(awk '{ print $14 + $15 }' "/proc/$program_pid/stat")
    kill "$program_pid"
    wait "$program_pid" 2>/dev/null || true
    program_pid=
    awk -v t="$((ticks_after - ticks_before))" -v hz="$(getconf CLK_TCK)" -v s="$seconds" \
        'BEGIN { printf "%.2f", t / hz / s * 100 }'
}

# Milliseconds from launch to exit of the program with the option $1.
command_ms() {
    local begin end
    begin=$(date +%s%N)
    DBUS_SESSION_BUS_ADDRESS="$bus" "$program" "$1" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    awk -v ns="$((end - begin))" 'BEGIN { printf "%.1f", ns / 1000000 }'
}

# One unmeasured run of each fills the file cache.
start_ms "$bench" "$bus" >/dev/null
start_ms "$bench" "$no_bus" >/dev/null
with=()
without=()
bare_with=()
bare_without=()
for _ in $(seq "$runs"); do
    with+=("$(start_ms "$bench" "$bus")")
    without+=("$(start_ms "$bench" "$no_bus")")
    bare_with+=("$(start_ms "$bare_window" "$bus")")
    bare_without+=("$(start_ms "$bare_window" "$no_bus")")
done
with_ms=$(printf '%s\n' "${with[@]}" | median)
without_ms=$(printf '%s\n' "${without[@]}" | median)
bare_with_ms=$(printf '%s\n' "${bare_with[@]}" | median)
bare_without_ms=$(printf '%s\n' "${bare_without[@]}" | median)
printf 'start to main window shown, median of %d runs\n' "$runs"
printf '  with the session bus service: %8.1f ms\n' "$with_ms"
printf '  without a session bus:        %8.1f ms\n' "$without_ms"
awk -v a="$with_ms" -v b="$without_ms" 'BEGIN { printf "  ratio: %.3f (goal <= 1.05)\n", a / b }'
printf '  the bare window, with a bus:  %8.1f ms\n' "$bare_with_ms"
printf '  the bare window, without:     %8.1f ms\n' "$bare_without_ms"
awk -v a="$with_ms" -v b="$without_ms" -v c="$bare_with_ms" -v d="$bare_without_ms" \
    'BEGIN { printf "  Qt'"'"'s own use of the bus: %.3f; the service'"'"'s share: %.3f\n", c / d, (a / b) / (c / d) }'

printf '\nidle, %d s after %d s to settle, %% of a core\n' "$seconds" "$settle_seconds"
printf '  with the session bus service: %8s (goal < 1)\n' "$(idle_cpu "$bus")"
printf '  without a session bus:        %8s\n' "$(idle_cpu "$no_bus")"

# A program to answer it.
(cd "$work" && DBUS_SESSION_BUS_ADDRESS="$bus" QT_QPA_PLATFORM=xcb exec "$program" >/dev/null 2>&1) &
program_pid=$!
until DBUS_SESSION_BUS_ADDRESS="$bus" "$program" --status >/dev/null 2>&1; do
    sleep 0.1
done
statuses=()
versions=()
for _ in $(seq "$runs"); do
    statuses+=("$(command_ms --status)")
    versions+=("$(command_ms --version)")
done
printf '\nlaunch to exit, median of %d runs\n' "$runs"
printf '  skinrecorder --status:  %8s ms\n' "$(printf '%s\n' "${statuses[@]}" | median)"
printf '  skinrecorder --version: %8s ms (loading the program alone)\n' "$(printf '%s\n' "${versions[@]}" | median)"
