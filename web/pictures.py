"""PNG pictures for the web edition's site and tests: any 8-bit,
non-interlaced PNG read as RGB bytes, a small copy of a picture, and RGB
bytes written as a PNG."""
import struct
import zlib


def read_png(data):
    """(width, height, the pixels as RGB bytes row after row) of an 8-bit,
    non-interlaced PNG: grey, RGB, palette, grey with alpha or RGBA."""
    assert data[:8] == b'\x89PNG\r\n\x1a\n', 'not a PNG'
    pos, chunks, palette = 8, [], None
    while pos < len(data):
        length, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b'IHDR':
            width, height, depth, colour, _, _, interlace = struct.unpack('>IIBBBBB', body)
        elif kind == b'PLTE':
            palette = body
        elif kind == b'IDAT':
            chunks.append(body)
        pos += 12 + length
    assert depth == 8 and interlace == 0, 'only 8-bit non-interlaced pictures'
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    raw, stride = zlib.decompress(b''.join(chunks)), width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        # The filters, undone byte by byte from the left and the row above.
        for i in range(stride) if kind else ():
            left = line[i - channels] if i >= channels else 0
            up, corner = previous[i], previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 0xFF
        rows.append(bytes(line))
        previous = line
    pixels = b''.join(rows)
    if colour == 3:
        pixels = b''.join(palette[3 * i:3 * i + 3] for i in pixels)
    elif colour == 0:
        pixels = bytes(v for g in pixels for v in (g, g, g))
    elif colour == 4:
        pixels = bytes(v for i in range(0, len(pixels), 2) for v in (pixels[i],) * 3)
    elif colour == 6:
        pixels = b''.join(pixels[i:i + 3] for i in range(0, len(pixels), 4))
    return width, height, pixels


def shrink(width, height, rgb, factor):
    """The picture `factor` times smaller each way, each pixel the mean of
    the square of pixels it stands for."""
    small_width, small_height = width // factor, height // factor
    totals = [0] * (3 * small_width * small_height)
    for y in range(small_height * factor):
        row, base = rgb[3 * width * y:3 * width * (y + 1)], 3 * small_width * (y // factor)
        for c in range(3):
            channel = row[c::3]
            for x in range(small_width):
                totals[base + 3 * x + c] += sum(channel[x * factor:(x + 1) * factor])
    area = factor * factor
    return small_width, small_height, bytes((t + area // 2) // area for t in totals)


def write_png(width, height, rgb):
    """RGB bytes, row after row, as an 8-bit RGB PNG."""
    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    rows = b''.join(b'\x00' + rgb[3 * width * y:3 * width * (y + 1)] for y in range(height))
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(rows, 9)) + chunk(b'IEND', b''))
