#!/usr/bin/env python3
"""Draws the bitmaps of docs/example-skin into the folder given (default: that
folder). The pictures are 16-colour BMPs drawn pixel by pixel, so the example
stays a few kilobytes and every edge is exactly the key colour or not.

    python3 docs/example-skin-art.py [FOLDER]
"""

import math
import os
import struct
import sys

# One palette for every picture; index 0 is the skin's TRANSPARENT colour.
PALETTE = [
    0xFF00FF,  # KEY: cut away from the window and from every control
    0x2B2F3A,  # BODY
    0x4A5164,  # EDGE: the body's rim
    0x111318,  # BEZEL: around the preview, and the meter's groove
    0xF2F2F2,  # GLYPH
    0x9AA0AE,  # GLYPH_DOWN
    0xD8343A,  # RED
    0xF0565B,  # RED_HOVER
    0xA02328,  # RED_DOWN
    0x3FB36B,  # GREEN: the level meter
    0x3A4050,  # FACE
    0x4C5468,  # FACE_HOVER
    0x23272F,  # FACE_DOWN
    0x30343F,  # FACE_DISABLED
    0x5E6472,  # GLYPH_DISABLED
    0x3B6FD8,  # ACCENT: the notifier's title strip
]
(KEY, BODY, EDGE, BEZEL, GLYPH, GLYPH_DOWN, RED, RED_HOVER, RED_DOWN, GREEN, FACE, FACE_HOVER, FACE_DOWN,
 FACE_DISABLED, GLYPH_DISABLED, ACCENT) = range(16)

WINDOW = (248, 232)
NOTIFIER = (260, 200)
BUTTON = 26
CLOSE_BUTTON = 18
NOTIFIER_CLOSE_BUTTON = 14


class Picture:
    def __init__(self, width, height, fill):
        self.width = width
        self.height = height
        self.pixels = [[fill] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def fill_where(self, inside, colour, left=0, top=0, width=None, height=None):
        """Colours every pixel of the area whose centre inside(x, y) accepts."""
        width = self.width if width is None else width
        height = self.height if height is None else height
        for y in range(top, top + height):
            for x in range(left, left + width):
                if inside(x + 0.5, y + 0.5):
                    self.set(x, y, colour)

    def rectangle(self, left, top, right, bottom, colour):
        for y in range(top, bottom):
            for x in range(left, right):
                self.set(x, y, colour)

    def save(self, path):
        """A BI_RGB BMP of four bits a pixel, bottom row first."""
        row_bytes = (self.width + 1) // 2
        stride = (row_bytes + 3) // 4 * 4
        rows = []
        for y in reversed(range(self.height)):
            # An odd width leaves the last byte's low half unused.
            line = self.pixels[y] + [0]
            packed = bytes((line[x] << 4) | line[x + 1] for x in range(0, self.width, 2))
            rows.append(packed + bytes(stride - row_bytes))
        palette = b''.join(struct.pack('<BBBB', c & 0xFF, (c >> 8) & 0xFF, c >> 16, 0) for c in PALETTE)
        image = b''.join(rows)
        offset = 14 + 40 + len(palette)
        header = struct.pack('<2sIHHI', b'BM', offset + len(image), 0, 0, offset)
        info = struct.pack('<IiiHHIIiiII', 40, self.width, self.height, 1, 4, 0, len(image), 2835, 2835, 16, 16)
        os.makedirs(os.path.dirname(path) or '.', exist_ok=True)
        with open(path, 'wb') as file:
            file.write(header + info + palette + image)


def rounded_rect(left, top, right, bottom, radius):
    def inside(x, y):
        if not (left <= x <= right and top <= y <= bottom):
            return False
        cx = min(max(x, left + radius), right - radius)
        cy = min(max(y, top + radius), bottom - radius)
        return math.hypot(x - cx, y - cy) <= radius
    return inside


def circle(cx, cy, radius):
    return lambda x, y: math.hypot(x - cx, y - cy) <= radius


def triangle(points):
    (ax, ay), (bx, by), (cx, cy) = points

    def side(px, py, qx, qy, x, y):
        return (qx - px) * (y - py) - (qy - py) * (x - px)

    def inside(x, y):
        d1 = side(ax, ay, bx, by, x, y)
        d2 = side(bx, by, cx, cy, x, y)
        d3 = side(cx, cy, ax, ay, x, y)
        return not ((d1 < 0 or d2 < 0 or d3 < 0) and (d1 > 0 or d2 > 0 or d3 > 0))
    return inside


def cross(cx, cy, half, thickness):
    def inside(x, y):
        dx = x - cx
        dy = y - cy
        near_a = abs(dx - dy) / math.sqrt(2) <= thickness / 2
        near_b = abs(dx + dy) / math.sqrt(2) <= thickness / 2
        return (near_a or near_b) and abs(dx) <= half and abs(dy) <= half
    return inside


# A glyph is drawn into a square of the given size, centred, the whole
# glyph one pixel lower and to the right when pressed.
GLYPHS = {
    'play': lambda s, o: triangle([(s * 0.38 + o, s * 0.28 + o), (s * 0.38 + o, s * 0.72 + o),
                                   (s * 0.74 + o, s * 0.5 + o)]),
    'pause': lambda s, o: lambda x, y: (s * 0.3 + o <= y <= s * 0.7 + o
                                        and (s * 0.33 + o <= x <= s * 0.45 + o or s * 0.55 + o <= x <= s * 0.67 + o)),
    'stop': lambda s, o: lambda x, y: s * 0.33 + o <= x <= s * 0.67 + o and s * 0.33 + o <= y <= s * 0.67 + o,
    'record': lambda s, o: circle(s / 2 + o, s / 2 + o, s * 0.22),
    'close': lambda s, o: cross(s / 2 + o, s / 2 + o, s * 0.22, max(2.0, s * 0.12)),
}

# Face and glyph colours of the four frames: normal, mouse over, pressed,
# disabled.
FRAMES = [(FACE, GLYPH, 0), (FACE_HOVER, GLYPH, 0), (FACE_DOWN, GLYPH_DOWN, 1), (FACE_DISABLED, GLYPH_DISABLED, 0)]
RECORD_GLYPHS = [RED, RED_HOVER, RED_DOWN, GLYPH_DISABLED]


def button_strip(size, glyph, glyph_colours=None):
    strip = Picture(size * len(FRAMES), size, KEY)
    for frame, (face, glyph_colour, offset) in enumerate(FRAMES):
        left = frame * size
        strip.fill_where(circle(left + size / 2, size / 2, size / 2 - 0.5), face, left, 0, size, size)
        shape = GLYPHS[glyph](size, offset)
        colour = glyph_colours[frame] if glyph_colours else glyph_colour
        strip.fill_where(lambda x, y: shape(x - left, y), colour, left, 0, size, size)
    return strip


def rimmed_body(size, radius, rim):
    """A rounded body with a rim of the edge colour, the key colour around."""
    width, height = size
    picture = Picture(width, height, KEY)
    picture.fill_where(rounded_rect(0, 0, width, height, radius), EDGE)
    picture.fill_where(rounded_rect(rim, rim, width - rim, height - rim, radius - rim), BODY)
    return picture


def background():
    picture = rimmed_body(WINDOW, 16, 2)
    # The bezel around the preview, CONTROL=12,30,236,198.
    picture.rectangle(10, 28, 238, 200, BEZEL)
    # The level meter's groove, under PROGRESSINFO 1.
    picture.rectangle(194, 212, 238, 222, BEZEL)
    return picture


def icon():
    picture = Picture(16, 16, KEY)
    picture.fill_where(circle(8, 8, 7.5), FACE)
    picture.fill_where(circle(8, 8, 4), RED)
    return picture


def level_block():
    block = Picture(4, 6, GREEN)
    block.rectangle(3, 0, 4, 6, BEZEL)
    return block


def notifier():
    width = NOTIFIER[0]
    picture = rimmed_body(NOTIFIER, 10, 1)
    picture.fill_where(rounded_rect(1, 1, width - 1, 24, 9), ACCENT)
    picture.rectangle(1, 14, width - 1, 24, ACCENT)
    # The page area, TASKNOTIFIER PAGE=8,30,252,192.
    picture.rectangle(8, 30, 252, 192, FACE)
    return picture


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), 'example-skin')
    pictures = {
        'background.bmp': background(),
        'icon.bmp': icon(),
        'level.bmp': level_block(),
        'dlgTaskNotifier.bmp': notifier(),
        'buttons/play.bmp': button_strip(BUTTON, 'play'),
        'buttons/pause.bmp': button_strip(BUTTON, 'pause'),
        'buttons/record.bmp': button_strip(BUTTON, 'record', RECORD_GLYPHS),
        'buttons/stop.bmp': button_strip(BUTTON, 'stop'),
        'buttons/close.bmp': button_strip(CLOSE_BUTTON, 'close'),
        'buttons/notifier_close.bmp': button_strip(NOTIFIER_CLOSE_BUTTON, 'close'),
    }
    for name, picture in pictures.items():
        picture.save(os.path.join(folder, name))


if __name__ == '__main__':
    main()
