#pragma once

// Archives no everyday tool writes, built record by record in Python:
// data descriptors without their optional signature, a set of two numbered
// volume files with an entry split across them, names with Unicode Path
// blocks and a ZIP64 entry too large for a skin. Each script that extracts
// also writes the expected contents below "expect/".

inline const char HAND_MADE_ZIP_PRELUDE[] = R"(
def local(name, method, crc, csize, usize, flags):
    return struct.pack('<IHHHHHIIIHH', 0x04034b50, 20, flags, method, 0x6000, 0x2d21,
                       crc, csize, usize, len(name), 0) + name
def central(name, method, crc, csize, usize, flags, disk, offset):
    return struct.pack('<IHHHHHHIIIHHHHHII', 0x02014b50, 20, 20, flags, method, 0x6000, 0x2d21,
                       crc, csize, usize, len(name), 0, 0, disk, 0, 0x20, offset) + name
def end(disk, count, cd_size, cd_offset):
    return struct.pack('<IHHHHIIH', 0x06054b50, disk, disk, count, count, cd_size, cd_offset, 0)
def deflate(data):
    c = zlib.compressobj(9, zlib.DEFLATED, -15)
    return c.compress(data) + c.flush()
def expect(name, data):
    os.makedirs('expect', exist_ok=True)
    open('expect/' + name, 'wb').write(data)
text = b''.join(b'row %d of a bitmap\r\n' % i for i in range(4000))
blob = bytes((i * 7919) % 251 for i in range(100000))
)";

// "nosig.zip": a deflated and a stored entry, each followed by a data
// descriptor without signature; the local headers carry zero sizes.
inline const char DESCRIPTOR_WITHOUT_SIGNATURE_ZIP[] = R"(
out, cd = b'', b''
for name, method, data in ((b'text.txt', 8, text), (b'blob.bin', 0, blob)):
    packed = deflate(data) if method == 8 else data
    crc = zlib.crc32(data)
    cd += central(name, method, crc, len(packed), len(data), 8, 0, len(out))
    out += local(name, method, 0, 0, 0, 8) + packed + struct.pack('<III', crc, len(packed), len(data))
    expect(name.decode(), data)
open('nosig.zip', 'wb').write(out + cd + end(0, 2, len(cd), len(out)))
)";

// "set.000" and "set.skn": the stored entry blob.bin starts in the first
// volume and ends in the last, which also holds a deflated entry and the
// central directory.
inline const char TWO_VOLUME_SET[] = R"(
first = local(b'blob.bin', 0, zlib.crc32(blob), len(blob), len(blob), 0) + blob[:40000]
rest = blob[40000:]
packed = deflate(text)
second = rest + local(b'text.txt', 8, zlib.crc32(text), len(packed), len(text), 0) + packed
cd = central(b'blob.bin', 0, zlib.crc32(blob), len(blob), len(blob), 0, 0, 0)
cd += central(b'text.txt', 8, zlib.crc32(text), len(packed), len(text), 0, 1, len(rest))
open('set.000', 'wb').write(first)
open('set.skn', 'wb').write(second + cd + end(1, 2, len(cd), len(second)))
expect('blob.bin', blob)
expect('text.txt', text)
)";

// "unicode.zip": names that are not UTF-8-flagged, each with Info-ZIP's
// Unicode Path block (0x7075: version 1, CRC-32 of the stored name, UTF-8
// name). The first is stored as UTF-8 bytes, as zip on a UTF-8 system does,
// the second in code page 437; the third block was written for another
// stored name, so its CRC-32 does not match and the code page 437 name
// stays.
inline const char UNICODE_PATH_ZIP[] = R"(
def unicode_path(utf8, crc_of):
    body = b'\x01' + struct.pack('<I', zlib.crc32(crc_of)) + utf8
    return struct.pack('<HH', 0x7075, len(body)) + body
rows = (
    ('ÄÖÜ.bmp'.encode('utf-8'), 3, unicode_path('ÄÖÜ.bmp'.encode(), 'ÄÖÜ.bmp'.encode('utf-8')), 'ÄÖÜ.bmp'),
    ('Größe.bmp'.encode('cp437'), 0, unicode_path('Größe.bmp'.encode(), 'Größe.bmp'.encode('cp437')), 'Größe.bmp'),
    ('Menü.bmp'.encode('cp437'), 0, unicode_path(b'Renamed.bmp', b'Old.bmp'), 'Menü.bmp'),
)
out, cd = b'', b''
for stored, host, extra, shown in rows:
    data = shown.encode() * 3
    crc = zlib.crc32(data)
    cd += struct.pack('<IHHHHHHIIIHHHHHII', 0x02014b50, (host << 8) | 20, 20, 0, 0, 0x6000, 0x2d21, crc,
                      len(data), len(data), len(stored), len(extra), 0, 0, 0, 0, len(out)) + stored + extra
    out += struct.pack('<IHHHHHIIIHH', 0x04034b50, 20, 0, 0, 0x6000, 0x2d21, crc, len(data), len(data),
                       len(stored), len(extra)) + stored + extra + data
    expect(shown, data)
open('unicode.zip', 'wb').write(out + cd + end(0, len(rows), len(cd), len(out)))
)";

// "huge.zip": one deflated entry whose ZIP64 blocks (local and central)
// declare 5 GiB of data, with a ZIP64 end record and locator; its deflate
// data holds only a few bytes.
inline const char ZIP64_HUGE_ENTRY_ZIP[] = R"(
size, packed = 5 << 30, deflate(b'x')
name, crc = b'Back.bmp', zlib.crc32(b'x')
wide = struct.pack('<HHQQ', 1, 16, size, len(packed))
out = struct.pack('<IHHHHHIIIHH', 0x04034b50, 45, 0, 8, 0x6000, 0x2d21, crc, 0xFFFFFFFF, 0xFFFFFFFF,
                  len(name), len(wide)) + name + wide + packed
cd = struct.pack('<IHHHHHHIIIHHHHHII', 0x02014b50, (3 << 8) | 45, 45, 0, 8, 0x6000, 0x2d21, crc, 0xFFFFFFFF,
                 0xFFFFFFFF, len(name), len(wide), 0, 0, 0, 0o100644 << 16, 0) + name + wide
zip64_end = struct.pack('<IQHHIIQQQQ', 0x06064b50, 44, 45, 45, 0, 0, 1, 1, len(cd), len(out))
locator = struct.pack('<IIQI', 0x07064b50, 0, len(out) + len(cd), 1)
open('huge.zip', 'wb').write(out + cd + zip64_end + locator + end(0, 1, len(cd), 0xFFFFFFFF))
)";
