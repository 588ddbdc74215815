#!/usr/bin/env bash
# How much the notifier popup costs the main window's start: runs the real
# window RUNS times with the Pink skin as shipped (the popup slides in, its
# web page loads once the window is on the screen) and RUNS times with the
# same skin less its notifier picture (no popup), alternating, each from
# launch to the window's first paint on an X server. Prints both medians
# and their ratio (goal: <= 1.2). A third figure shows the window without
# the web pane at all: no engine, and no OpenGL, which Qt WebEngine sets up
# in every program that links it as the program starts.
# Usage: bench/startup.sh [BUILD_DIR] [RUNS]   (defaults: build, 9)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
runs=${2:-9}
cmake -S . -B "$build_dir" >/dev/null
cmake --build "$build_dir" -j2 --target bench_startup skinrec_skin_packages >/dev/null
bench=$PWD/$build_dir/bin/bench_startup

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build_dir" "$runs"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/with" "$work/without"
cp "$build_dir/bin/Pink.skn" "$work/with/"
cp "$build_dir/bin/Pink.skn" "$work/without/"
zip -qd "$work/without/Pink.skn" dlgTaskNotifier.bmp

# Milliseconds from launch to the first paint, run from folder $1; the rest
# sets the environment.
start_ms() {
    local folder=$1
    shift
    (cd "$folder" && env "$@" SKINREC_LAUNCH_NS="$(date +%s%N)" QT_QPA_PLATFORM=xcb "$bench" 2>/dev/null | tail -n 1)
}
no_pane=(QTWEBENGINEPROCESS_PATH=/nonexistent/QtWebEngineProcess QT_XCB_GL_INTEGRATION=none)

median() {
    sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# One unmeasured run of each fills the file cache.
start_ms "$work/with" >/dev/null
start_ms "$work/without" >/dev/null
with=()
without=()
bare=()
for _ in $(seq "$runs"); do
    with+=("$(start_ms "$work/with")")
    without+=("$(start_ms "$work/without")")
    bare+=("$(start_ms "$work/with" "${no_pane[@]}")")
done
with_ms=$(printf '%s\n' "${with[@]}" | median)
without_ms=$(printf '%s\n' "${without[@]}" | median)
bare_ms=$(printf '%s\n' "${bare[@]}" | median)
printf 'start to main window shown, median of %d runs\n' "$runs"
printf '  with the notifier popup:    %8.1f ms\n' "$with_ms"
printf '  without the notifier popup: %8.1f ms\n' "$without_ms"
awk -v a="$with_ms" -v b="$without_ms" 'BEGIN { printf "  ratio: %.2f (goal <= 1.2)\n", a / b }'
printf '  without the web pane:       %8.1f ms\n' "$bare_ms"
awk -v a="$with_ms" -v b="$bare_ms" 'BEGIN { printf "  ratio with the popup to it: %.2f\n", a / b }'
