#!/usr/bin/env bash
# What the real main window costs while nothing happens, on an X server
# without a GPU (OpenGL in software, as on most virtual machines): the share
# of one core its threads and the web engine's helper processes take, the
# memory each holds, and how many helpers run, once while the notifier popup
# shows its page and once after it has slid out. Each figure is printed
# beside the same window without the web pane: the engine's helper program
# hidden from it, so the popup shows its picture only, and no OpenGL, which
# Qt WebEngine sets up in every program that links it as the program starts.
# Goals: idle under 1 % of a core in both phases, no helper left once the
# popup has gone.
# Usage: bench/idle.sh [BUILD_DIR] [SECONDS]   (defaults: build, 10)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
seconds=${2:-10}
cmake -S . -B "$build_dir" >/dev/null
cmake --build "$build_dir" -j2 --target bench_idle skinrec_skin_packages >/dev/null
bench=$PWD/$build_dir/bin/bench_idle

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build_dir" "$seconds"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build_dir/bin/Pink.skn" "$work/"

# "PHASE KEY VALUE" lines of one run from the skin's folder; $@ sets the
# environment.
measure() {
    (cd "$work" && env "$@" QT_QPA_PLATFORM=xcb "$bench" "$seconds" 2>/dev/null)
}

with=$(measure)
without=$(measure QTWEBENGINEPROCESS_PATH=/nonexistent/QtWebEngineProcess QT_XCB_GL_INTEGRATION=none)

value() {
    awk -v phase="$2" -v key="$3" '$1 == phase && $2 == key { $1 = ""; $2 = ""; sub(/^ +/, ""); print }' <<<"$1"
}

row() {
    local label=$1 phase=$2 key=$3 a b
    a=$(value "$with" "$phase" "$key")
    b=$(value "$without" "$phase" "$key")
    awk -v l="$label" -v a="$a" -v b="$b" \
        'BEGIN { r = b > 0 ? sprintf("%.2f", a / b) : "-"; printf "  %-32s %10s %10s %7s\n", l, a, b, r }'
}

printf 'idle main window, each phase measured over %d s\n' "$seconds"
for phase in shown gone; do
    case $phase in
    shown) printf '\nwith the notifier popup shown     %10s %10s %7s\n' "web pane" "without" ratio ;;
    gone) printf '\nafter the popup has slid out      %10s %10s %7s\n' "web pane" "without" ratio ;;
    esac
    row "window's threads, % of a core" "$phase" cpu_own
    row "helper processes, % of a core" "$phase" cpu_helpers
    row "window's memory (RSS), MB" "$phase" rss_own_mb
    row "window's memory (PSS), MB" "$phase" pss_own_mb
    row "helper processes, count" "$phase" helpers
    row "helpers' memory (PSS), MB" "$phase" pss_helpers_mb
    printf '  busiest threads, %% of a core: %s | %s\n' "$(value "$with" "$phase" busiest)" \
        "$(value "$without" "$phase" busiest)"
done
