#!/usr/bin/env python3
"""Draws Keyvet's own pictures: about.bmp (the About box picture, 100 x 129, 24-bit),
keyvet.png (the 48 x 48 program icon) and icons/NxN/keyvet.png (the icon in the desktop icon
theme's sizes): a straight Morse key on its wooden base with a row of dits and dahs above it.
Run it from anywhere; it writes next to itself."""
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def blank(width, height, colour):
    return [[colour for _ in range(width)] for _ in range(height)]


def fit(img, colour):
    """The colour with as many channels as the image's pixels (opaque alpha added)."""
    channels = len(img[0][0])
    return tuple(colour) + (255,) * (channels - len(colour))


def rect(img, left, top, right, bottom, colour):
    """Fills left <= x < right, top <= y < bottom."""
    colour = fit(img, colour)
    for y in range(max(top, 0), min(bottom, len(img))):
        for x in range(max(left, 0), min(right, len(img[0]))):
            img[y][x] = colour


def disc(img, cx, cy, radius, colour):
    colour = fit(img, colour)
    for y in range(len(img)):
        for x in range(len(img[0])):
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius * radius:
                img[y][x] = colour


def gradient(img, top, bottom, upper, lower):
    for y in range(top, bottom):
        t = (y - top) / max(bottom - top - 1, 1)
        colour = tuple(round(a + (b - a) * t) for a, b in zip(upper, lower))
        rect(img, 0, y, len(img[0]), y + 1, colour)


def morse_key(img, scale, left, base_top):
    """A straight key: wooden base, brass pillar, lever, black knob, contact."""
    s = scale
    wood, wood_dark = (150, 96, 48), (104, 62, 28)
    brass, brass_dark = (214, 176, 70), (150, 116, 40)
    rect(img, left, base_top, left + 44 * s, base_top + 8 * s, wood)
    rect(img, left, base_top + 6 * s, left + 44 * s, base_top + 8 * s, wood_dark)
    rect(img, left + 26 * s, base_top - 10 * s, left + 31 * s, base_top, brass)      # pillar
    rect(img, left + 30 * s, base_top - 10 * s, left + 31 * s, base_top, brass_dark)
    rect(img, left + 4 * s, base_top - 13 * s, left + 40 * s, base_top - 10 * s, brass)  # lever
    rect(img, left + 4 * s, base_top - 11 * s, left + 40 * s, base_top - 10 * s, brass_dark)
    rect(img, left + 9 * s, base_top - 4 * s, left + 13 * s, base_top, brass)        # contact
    disc(img, left + 7 * s, base_top - 16 * s, 5 * s, (24, 24, 28))                  # knob
    disc(img, left + 6 * s, base_top - 17.5 * s, 1.5 * s, (90, 90, 100))


def code_row(img, top, left, unit, colour, code="-.- ...-"):
    """Morse (K then V by default): dits of one unit, dahs of three, one unit apart."""
    x = left
    for symbol in code:
        if symbol == " ":
            x += 2 * unit
            continue
        length = unit if symbol == "." else 3 * unit
        rect(img, x, top, x + length, top + unit, colour)
        x += length + unit


def about_picture():
    img = blank(100, 129, (0, 0, 0))
    gradient(img, 0, 129, (40, 70, 140), (180, 210, 240))
    code_row(img, 14, 8, 4, (255, 236, 120))
    rect(img, 0, 104, 100, 129, (70, 120, 60))  # table top; mostly below the visible part
    morse_key(img, 2, 6, 96)
    return img


def icon(scale=1):
    """The 48 x 48 icon design, drawn at scale times its size."""
    s = scale
    img = blank(48 * s, 48 * s, (0, 0, 0, 0))
    disc(img, 24 * s, 24 * s, 23 * s, (40, 70, 140, 255))
    code_row(img, 9 * s, 14 * s, 2 * s, (255, 236, 120), code="-.-")
    morse_key(img, s, 2 * s, 34 * s)
    return img


def shrink(img, size):
    """Area-averages a square RGBA picture down to size x size (colours weighted by alpha)."""
    source = len(img)
    out = blank(size, size, (0, 0, 0, 0))
    for y in range(size):
        y0, y1 = y * source // size, (y + 1) * source // size
        for x in range(size):
            x0, x1 = x * source // size, (x + 1) * source // size
            total = [0, 0, 0, 0]
            for row in img[y0:y1]:
                for r, g, b, a in row[x0:x1]:
                    total[0] += r * a
                    total[1] += g * a
                    total[2] += b * a
                    total[3] += a
            count = (y1 - y0) * (x1 - x0)
            alpha = total[3]
            if alpha:
                out[y][x] = tuple(round(c / alpha) for c in total[:3]) + (round(alpha / count),)
    return out


# The icon sizes of the desktop's icon theme; 48 is the hand-drawn original.
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def write_bmp(path, img):
    height, width = len(img), len(img[0])
    row_bytes = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(img):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        pixels += line + bytes(row_bytes - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + pixels)


def write_png(path, img):
    height, width = len(img), len(img[0])
    raw = bytearray()
    for row in img:
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    data += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    data += chunk(b"IEND", b"")
    with open(path, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    write_bmp(os.path.join(HERE, "about.bmp"), about_picture())
    write_png(os.path.join(HERE, "keyvet.png"), icon())
    big = icon(16)  # 768 x 768, shrunk to every theme size
    for size in ICON_SIZES:
        folder = os.path.join(HERE, "icons", f"{size}x{size}")
        os.makedirs(folder, exist_ok=True)
        write_png(os.path.join(folder, "keyvet.png"), icon() if size == 48 else shrink(big, size))
