// Writes the picture as a PNG file. The pictures have a handful of colours
// in long runs, and most rows repeat much of the row above, so the writer
// is made for them: an 8-bit palette image (8-bit RGB past 256 colours),
// rows unfiltered, and the zlib stream one block of deflate's fixed codes in
// which a run is either a copy of the row above or a repeat of the last
// pixel, found greedily. A picture takes well under a millisecond, a tenth
// of what a general compressor spends, and the file stays small.
#include "draw/png.hpp"
#include "draw/draw.hpp"
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace {

// The colours of the picture in the order they were met, and a hash table of
// 1024 slots from colour to palette index.
class Palette
{
  public:
    // The index of `colour`, added if new; -1 once a 257th colour turns up.
    int index(Colour colour)
    {
        unsigned slot = (colour * 2654435761u) >> 22;
        while (used[slot]) {
            if (colours_of[slot] == colour)
                return indices[slot];
            slot = (slot + 1) & 1023;
        }
        if (colours.size() == 256)
            return -1;
        used[slot] = true;
        colours_of[slot] = colour;
        indices[slot] = static_cast<int>(colours.size());
        colours.push_back(colour);
        return indices[slot];
    }
    std::vector<Colour> colours;

  private:
    bool used[1024] = {};
    Colour colours_of[1024];
    int indices[1024];
};

// Bits into bytes, least significant bit first, as deflate packs them.
// The caller makes room for them in `out` beforehand.
class BitWriter
{
  public:
    explicit BitWriter(uint8_t *out) : out(out) {}
    void put(uint32_t bits, int count)
    {
        pending |= static_cast<uint64_t>(bits) << pending_count;
        pending_count += count;
        if (pending_count >= 32) {
            uint32_t word = static_cast<uint32_t>(pending);
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
            memcpy(out, &word, 4);
            out += 4;
#else
            for (int k = 0; k < 4; k++)
                *out++ = static_cast<uint8_t>(word >> 8 * k);
#endif
            pending >>= 32;
            pending_count -= 32;
        }
    }
    // The last bits, padded to a byte; returns the end of the bytes written.
    uint8_t *flush()
    {
        for (; pending_count > 0; pending_count -= 8, pending >>= 8)
            *out++ = static_cast<uint8_t>(pending);
        pending_count = 0;
        return out;
    }

  private:
    uint8_t *out;
    uint64_t pending = 0;
    int pending_count = 0;
};

// A Huffman code of `count` bits, which deflate sends from its highest bit:
// reversed for the writer.
uint32_t reversed(uint32_t code, int count)
{
    uint32_t r = 0;
    for (int i = 0; i < count; i++)
        r |= (code >> i & 1) << (count - 1 - i);
    return r;
}

// A code as the writer sends it: the bits, then how many.
struct Code {
    uint32_t bits;
    int count;
};

// Deflate's fixed code of a literal or length symbol (0 to 287).
Code fixed_symbol(int symbol)
{
    if (symbol < 144)
        return {reversed(0x30 + symbol, 8), 8};
    if (symbol < 256)
        return {reversed(0x190 + symbol - 144, 9), 9};
    if (symbol < 280)
        return {reversed(symbol - 256, 7), 7};
    return {reversed(0xC0 + symbol - 280, 8), 8};
}

// A length (3 to 258) or a distance (1 to 32768): the code of its range,
// then its offset in the range in extra bits.
Code length_code(int length)
{
    static const int base[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                               31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
    static const int extra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    int i = 28;
    while (base[i] > length)
        i--;
    Code symbol = fixed_symbol(257 + i);
    return {symbol.bits | static_cast<uint32_t>(length - base[i]) << symbol.count, symbol.count + extra[i]};
}

Code distance_code(int distance)
{
    // Codes 0 to 3 stand for one distance each; from there the codes come in
    // pairs of ranges of 2^extra distances.
    int code = 0, base = 1, extra = 0;
    while (base + (1 << extra) <= distance) {
        base += 1 << extra;
        code++;
        extra = code < 4 ? 0 : code / 2 - 1;
    }
    return {reversed(code, 5) | static_cast<uint32_t>(distance - base) << 5, 5 + extra};
}

// How many bytes from a and b are equal, up to `most`; eight at a time.
int common_length(const uint8_t *a, const uint8_t *b, int most)
{
    int n = 0;
    for (; n + 8 <= most; n += 8) {
        uint64_t x, y;
        memcpy(&x, a + n, 8);
        memcpy(&y, b + n, 8);
        if (x != y)
            return n + __builtin_ctzll(x ^ y) / 8;
    }
    while (n < most && a[n] == b[n])
        n++;
    return n;
}

// How many pixels from a are the same as those from b (`step` 1), or as
// the one colour *b (`step` 0), up to `most`; two at a time.
int same_pixels(const Colour *a, const Colour *b, int step, int most)
{
    const uint64_t pair = static_cast<uint64_t>(*b) << 32 | *b;
    int n = 0;
    for (; n + 2 <= most; n += 2) {
        uint64_t x, y = pair;
        memcpy(&x, a + n, 8);
        if (step)
            memcpy(&y, b + n, 8);
        if (x != y)
            return n + ((x ^ y) & 0xFFFFFFFFu ? 0 : 1);
    }
    return n < most && a[n] == b[step * n] ? n + 1 : n;
}

// The image as the PNG stores it, compressed as it is made: row after row, a
// filter byte (0, none) and then one palette index, or three bytes of red,
// green and blue, per pixel; the bytes go into one final deflate block of
// fixed codes, followed by their Adler-32.
class ImageStream
{
  public:
    // Writes into `out`, which must have room for the worst case: every
    // byte a literal of 9 bits.
    ImageStream(Palette *palette, uint8_t *out)
        : palette(palette), bytes_per_pixel(palette ? 1 : 3), row_length(1 + bytes_per_pixel * window_width),
          rows(2 * static_cast<size_t>(row_length)), weights(row_length), bits(out + 2),
          repeat(distance_code(bytes_per_pixel)), above(distance_code(row_length))
    {
        static Code literal_codes[256], length_codes[259];
        if (literal_codes[0].count == 0) {
            for (int byte = 0; byte < 256; byte++)
                literal_codes[byte] = fixed_symbol(byte);
            for (int length = 3; length <= 258; length++)
                length_codes[length] = length_code(length);
        }
        literals = literal_codes;
        lengths = length_codes;
        for (int t = 0; t < row_length; t++)
            weights[t] = static_cast<uint16_t>(row_length - t);
        out[0] = 0x78; // deflate, 32 kB window
        out[1] = 0x01; // no dictionary, header check
        bits.put(1, 1); // the final block
        bits.put(1, 2); // of fixed codes
    }

    static size_t worst_size(int bytes_per_pixel)
    {
        return 2 + (static_cast<size_t>(window_height) * (1 + bytes_per_pixel * window_width) * 9 + 10) / 8 + 8;
    }

    // The rows of the picture; false when the palette overflows.
    bool add_rows()
    {
        for (int y = 0; y < window_height; y++) {
            const Colour *pixels = screen_pixels + y * window_width;
            // A row of the same colours as the one above is the same bytes:
            // one copy, and its sums as they were.
            if (y > 0 && memcmp(pixels, pixels - window_width, sizeof(Colour) * window_width) == 0) {
                send_copies(row_length, above);
                add_to_checksum();
                continue;
            }
            std::swap(row, previous);
            if (!make_row(pixels, y > 0 ? pixels - window_width : nullptr))
                return false;
            sum_row();
            add_to_checksum();
            send_row(y > 0);
        }
        return true;
    }

    // Ends the stream; returns the end of its bytes.
    uint8_t *finish()
    {
        bits.put(0, 7); // the end of the block
        uint8_t *end = bits.flush();
        uint32_t adler = b << 16 | a;
        for (int shift : {24, 16, 8, 0})
            *end++ = static_cast<uint8_t>(adler >> shift);
        return end;
    }

  private:
    // The bytes of a row, in `row`: where the pixels are those of the row
    // above, its bytes; elsewhere each run of one colour at once.
    bool make_row(const Colour *pixels, const Colour *pixels_above)
    {
        uint8_t *out = &rows[row * row_length];
        const uint8_t *up = &rows[previous * row_length];
        out[0] = 0;
        for (int x = 0; x < window_width;) {
            if (!palette) {
                uint8_t *rgb = out + 1 + 3 * x;
                rgb[0] = static_cast<uint8_t>(pixels[x] >> 16);
                rgb[1] = static_cast<uint8_t>(pixels[x] >> 8);
                rgb[2] = static_cast<uint8_t>(pixels[x]);
                x++;
                continue;
            }
            if (pixels_above) {
                int same = same_pixels(pixels + x, pixels_above + x, 1, window_width - x);
                memcpy(out + 1 + x, up + 1 + x, same);
                x += same;
                if (x == window_width)
                    break;
            }
            Colour colour = pixels[x];
            int index = palette->index(colour);
            if (index < 0)
                return false;
            int run = 1 + same_pixels(pixels + x + 1, &colour, 0, window_width - x - 1);
            memset(out + 1 + x, index, run);
            x += run;
        }
        return true;
    }

    // The row's share of Adler-32, for any sums before it: the sum of its
    // bytes, and the sum of each byte times the number of bytes from it to
    // the end of the row.
    void sum_row()
    {
        const uint8_t *bytes = &rows[row * row_length];
        const uint16_t *weight = weights.data();
        const int length = row_length;
        uint32_t plain = 0, weighted = 0;
        for (int t = 0; t < length; t++) {
            plain += bytes[t];
            weighted += static_cast<uint32_t>(weight[t]) * bytes[t];
        }
        row_sum = plain % 65521;
        row_weighted = weighted % 65521;
    }

    void add_to_checksum()
    {
        b = static_cast<uint32_t>((b + static_cast<uint64_t>(row_length) * a + row_weighted) % 65521);
        a = (a + row_sum) % 65521;
    }

    // The row in codes: runs of 3 bytes or more copied from the row above or
    // from the pixel before, the longer of the two, the rest as literals.
    void send_row(bool has_above)
    {
        const uint8_t *data = &rows[row * row_length], *up = &rows[previous * row_length];
        for (int p = 0; p < row_length;) {
            int left = row_length - p;
            int run = has_above && data[p] == up[p] ? common_length(data + p, up + p, left) : 0;
            const Code *distance = &above;
            if (run < left && p > bytes_per_pixel && data[p] == data[p - bytes_per_pixel]) {
                int repeated = common_length(data + p, data + p - bytes_per_pixel, left);
                if (repeated > run) {
                    run = repeated;
                    distance = &repeat;
                }
            }
            if (run < 3) {
                const Code &literal = literals[data[p++]];
                bits.put(literal.bits, literal.count);
                continue;
            }
            send_copies(run, *distance);
            p += run;
        }
    }

    // A run as copies of at most 258 bytes, none shorter than 3.
    void send_copies(int run, const Code &distance)
    {
        while (run >= 3) {
            int length = run > 258 ? (run - 258 < 3 ? run - 3 : 258) : run;
            bits.put(lengths[length].bits, lengths[length].count);
            bits.put(distance.bits, distance.count);
            run -= length;
        }
    }

    Palette *palette;
    const int bytes_per_pixel, row_length;
    std::vector<uint8_t> rows; // this row and the one above
    std::vector<uint16_t> weights;
    int row = 0, previous = 1;
    uint32_t row_sum = 0, row_weighted = 0, a = 1, b = 0;
    BitWriter bits;
    const Code repeat, above;
    const Code *literals, *lengths;
};

// The CRC-32 of PNG's chunks (polynomial 0xEDB88320, bits reflected), four
// bytes a step: table[k][n] is the CRC of the byte n followed by k zeros.
uint32_t crc32(uint32_t crc, const uint8_t *bytes, size_t count)
{
    static uint32_t table[4][256];
    if (table[0][1] == 0) {
        for (uint32_t n = 0; n < 256; n++) {
            uint32_t c = n;
            for (int k = 0; k < 8; k++)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[0][n] = c;
        }
        for (int k = 1; k < 4; k++)
            for (int n = 0; n < 256; n++)
                table[k][n] = table[0][table[k - 1][n] & 0xFF] ^ (table[k - 1][n] >> 8);
    }
    crc = ~crc;
    size_t i = 0;
    for (; i + 4 <= count; i += 4) {
        crc ^= static_cast<uint32_t>(bytes[i]) | bytes[i + 1] << 8 | bytes[i + 2] << 16 |
               static_cast<uint32_t>(bytes[i + 3]) << 24;
        crc = table[3][crc & 0xFF] ^ table[2][crc >> 8 & 0xFF] ^ table[1][crc >> 16 & 0xFF] ^ table[0][crc >> 24];
    }
    for (; i < count; i++)
        crc = table[0][(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void put_u32(std::vector<uint8_t> &out, uint32_t value)
{
    for (int shift : {24, 16, 8, 0})
        out.push_back(static_cast<uint8_t>(value >> shift));
}

// A chunk: its length, its type and data, and their CRC.
void put_chunk(std::vector<uint8_t> &file, const char *type, const uint8_t *data, size_t size)
{
    put_u32(file, static_cast<uint32_t>(size));
    size_t start = file.size();
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data, data + size);
    put_u32(file, crc32(0, file.data() + start, file.size() - start));
}

} // namespace

bool save_screen_png(const char *path)
{
    // With a palette, or in RGB once a 257th colour turns up.
    Palette palette;
    std::unique_ptr<uint8_t[]> data(new uint8_t[ImageStream::worst_size(3)]);
    uint8_t *end = nullptr;
    bool paletted = true;
    for (Palette *colours : {&palette, static_cast<Palette *>(nullptr)}) {
        ImageStream stream(colours, data.get());
        if (stream.add_rows()) {
            end = stream.finish();
            break;
        }
        paletted = false;
    }

    std::vector<uint8_t> file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    put_u32(header, window_width);
    put_u32(header, window_height);
    // 8 bits a sample; palette or RGB; deflate, adaptive filters, no interlace.
    header.insert(header.end(), {8, static_cast<uint8_t>(paletted ? 3 : 2), 0, 0, 0});
    put_chunk(file, "IHDR", header.data(), header.size());
    if (paletted) {
        std::vector<uint8_t> entries;
        for (Colour c : palette.colours)
            entries.insert(entries.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                                           static_cast<uint8_t>(c)});
        put_chunk(file, "PLTE", entries.data(), entries.size());
    }
    put_chunk(file, "IDAT", data.get(), end - data.get());
    put_chunk(file, "IEND", nullptr, 0);

    FILE *out = fopen(path, "wb");
    if (out == nullptr)
        return false;
    bool written = fwrite(file.data(), 1, file.size(), out) == file.size();
    return fclose(out) == 0 && written;
}
