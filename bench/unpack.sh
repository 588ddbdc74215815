#!/usr/bin/env bash
# Unpacking speed of `skintool unpack` against `unzip -qo` on the same
# packages: a skin-like package of bitmaps (~2 MB) and a mixed archive
# (~50 MB), both generated here. Prints the median of RUNS runs of each
# and the ratio skintool/unzip (below 1 is faster).
# Usage: bench/unpack.sh [RUNS]   (default 7; builds skintool in build/)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-7}
cmake -S . -B build >/dev/null
cmake --build build -j2 --target skintool >/dev/null
skintool=$PWD/build/bin/skintool

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" <<'PY'
import os, random, struct, sys
work = sys.argv[1]
rng = random.Random(7)

def bmp(path, width, height, noise):
    row = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(height):
        line = bytearray()
        for x in range(width):
            base = ((x * 255) // width, (y * 255) // height, 128)
            line += bytes(min(255, c + rng.randrange(noise)) if noise else c for c in base)
        pixels += line + b'\0' * (row - len(line))
    header = struct.pack('<2sIHHIIiiHHIIiiII', b'BM', 54 + len(pixels), 0, 0, 54, 40,
                         width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    open(path, 'wb').write(header + pixels)

# Skin: a background, button strips and small pieces, ~2 MB unpacked.
skin = os.path.join(work, 'skin')
bmp(os.path.join(skin, 'Back.bmp'), 640, 480, 8)
for i in range(40):
    bmp(os.path.join(skin, 'images', 'button%02d.bmp' % i), 240, 40, 4)
bmp(os.path.join(skin, 'dlgTaskNotifier.bmp'), 200, 120, 0)
open(os.path.join(skin, 'Skin.ini'), 'w').write('[Screen]\nMain=Back.bmp\n')

# Mixed: text, incompressible bytes, zeros, bitmaps and many small files, ~50 MB.
mixed = os.path.join(work, 'mixed')
os.makedirs(os.path.join(mixed, 'small'))
open(os.path.join(mixed, 'log.txt'), 'w').write(
    ''.join('%06d frame captured at %d ms, %d bytes\n' % (i, i * 40, rng.randrange(9999)) for i in range(250000)))
open(os.path.join(mixed, 'random.bin'), 'wb').write(rng.randbytes(15 << 20))
open(os.path.join(mixed, 'zeros.bin'), 'wb').write(bytes(10 << 20))
for i in range(4):
    bmp(os.path.join(mixed, 'pictures', 'p%d.bmp' % i), 1024, 768, 16)
for i in range(1000):
    open(os.path.join(mixed, 'small', 'f%04d.txt' % i), 'wb').write(rng.randbytes(1024) + b'x' * 3072)
PY

(cd "$work/skin" && zip -qr ../skin.skn .)
(cd "$work/mixed" && zip -qr ../mixed.zip .)

python3 - "$work" "$skintool" "$runs" <<'PY'
import os, shutil, statistics, subprocess, sys, time
work, skintool, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])

def median_seconds(command, out):
    times = []
    for _ in range(runs):
        shutil.rmtree(out, ignore_errors=True)
        start = time.perf_counter()
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times.append(time.perf_counter() - start)
    shutil.rmtree(out, ignore_errors=True)
    return statistics.median(times)

print('%-10s %9s %12s %12s %7s' % ('package', 'size MB', 'skintool ms', 'unzip ms', 'ratio'))
# Loading Qt's libraries is a fixed cost of every skintool run, paid once
# per skin in the program; shown apart so small packages can be judged.
ours = median_seconds([skintool], os.path.join(work, 'none'))
theirs = median_seconds(['unzip', '-v'], os.path.join(work, 'none'))
print('%-10s %9s %12.1f %12.1f' % ('start-up', '', ours * 1000, theirs * 1000))
for name in ('skin.skn', 'mixed.zip'):
    package = os.path.join(work, name)
    out = os.path.join(work, 'out')
    ours = median_seconds([skintool, 'unpack', package, out], out)
    theirs = median_seconds(['unzip', '-qo', package, '-d', out], out)
    print('%-10s %9.1f %12.1f %12.1f %7.2f' % (name, os.path.getsize(package) / 1e6,
                                              ours * 1000, theirs * 1000, ours / theirs))
PY
