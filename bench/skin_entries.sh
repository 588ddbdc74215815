#!/usr/bin/env bash
# What a skin description of very many entries costs: the Pink skin as
# shipped, and the same skin with 100,000 more BUTTONINFO entries (of which
# the window reads the first 1024 a section may have). Prints, for each,
# `skintool check`'s time and peak memory and the window's time from launch
# to its first paint on an X server.
# Usage: bench/skin_entries.sh [BUILD_DIR] [ENTRIES]   (defaults: build, 100000)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
entries=${2:-100000}
cmake -S . -B "$build_dir" >/dev/null
cmake --build "$build_dir" -j2 --target skintool bench_startup skinrec_skin_packages >/dev/null
skintool=$PWD/$build_dir/bin/skintool
bench=$PWD/$build_dir/bin/bench_startup

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build_dir" "$entries"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/shipped" "$work/many" "$work/unpacked"
cp "$build_dir/bin/Pink.skn" "$work/shipped/"
(cd "$work/unpacked" && unzip -q "$OLDPWD/$build_dir/bin/Pink.skn")

# Numbered on from the skin's own buttons, each a copy of its first one.
python3 - "$work/unpacked/Skin.ini" "$entries" <<'PY'
import re, sys
path, extra = sys.argv[1], int(sys.argv[2])
lines = open(path, encoding='utf-8').read().splitlines()
start = next(i for i, l in enumerate(lines) if l.strip().upper() == '[BUTTONINFO]')
end = next((i for i in range(start + 1, len(lines)) if lines[i].startswith('[')), len(lines))
keys = [l for l in lines[start + 1:end] if re.match(r'\s*\d+\s*=', l)]
first = keys[0].split('=', 1)[1]
added = ['%d=%s' % (len(keys) + n, first) for n in range(1, extra + 1)]
lines[end:end] = added
open(path, 'w', encoding='utf-8').write('\r\n'.join(lines) + '\r\n')
PY
(cd "$work/unpacked" && zip -qr "$work/many/Pink.skn" .)

# "seconds peak-MiB" of skintool check.
check_cost() {
    /usr/bin/time -f '%e %M' "$skintool" check "$1" 2>&1 >/dev/null | tail -n 1 | awk '{ printf "%.2f s, %.0f MiB", $1, $2 / 1024 }'
}

start_ms() {
    (cd "$1" && SKINREC_LAUNCH_NS=$(date +%s%N) QT_QPA_PLATFORM=xcb "$bench" 2>/dev/null | tail -n 1)
}

for skin in shipped many; do
    printf '%-8s skintool check: %s; window shown after %s ms\n' "$skin" "$(check_cost "$work/$skin/Pink.skn")" \
        "$(start_ms "$work/$skin")"
done
