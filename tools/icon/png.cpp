#include "png.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

constexpr size_t STORED_BLOCK_MAX_BYTES = 65535; // a stored block's length is 16 bits
constexpr uint32_t ADLER_MODULUS = 65521;
constexpr unsigned char PNG_SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

void putBe32(std::vector<unsigned char>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>((v >> shift) & 0xff));
}

void putLe16(std::vector<unsigned char>& out, unsigned v)
{
    out.push_back(static_cast<unsigned char>(v & 0xff));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xff));
}

std::array<uint32_t, 256> crcTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

// Chunk layout: length, type, data, CRC over type and data.
void putChunk(std::vector<unsigned char>& out, const char type[4], const std::vector<unsigned char>& data)
{
    putBe32(out, static_cast<uint32_t>(data.size()));
    std::vector<unsigned char> guarded(type, type + 4);
    guarded.insert(guarded.end(), data.begin(), data.end());
    out.insert(out.end(), guarded.begin(), guarded.end());
    putBe32(out, pngCrc32(guarded));
}

std::vector<unsigned char> headerChunk(int width, int height)
{
    std::vector<unsigned char> ihdr;
    putBe32(ihdr, static_cast<uint32_t>(width));
    putBe32(ihdr, static_cast<uint32_t>(height));
    ihdr.push_back(8); // bits per channel
    ihdr.push_back(6); // colour type: RGBA
    ihdr.push_back(0); // deflate
    ihdr.push_back(0); // adaptive filtering, here always "none"
    ihdr.push_back(0); // not interlaced
    return ihdr;
}

// Every row starts with its filter byte, 0: the bytes as they are.
std::vector<unsigned char> filteredRows(int width, int height, const std::vector<unsigned char>& rgba)
{
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    std::vector<unsigned char> raw;
    raw.reserve((rowBytes + 1) * height);
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const auto row = rgba.begin() + static_cast<std::ptrdiff_t>(y * rowBytes);
        raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    }
    return raw;
}

} // namespace

uint32_t pngCrc32(const std::vector<unsigned char>& bytes)
{
    const std::array<uint32_t, 256> table = crcTable();
    uint32_t c = 0xffffffffu;
    for (const unsigned char b : bytes)
        c = table[(c ^ b) & 0xff] ^ (c >> 8);
    return c ^ 0xffffffffu;
}

uint32_t adler32(const std::vector<unsigned char>& bytes)
{
    uint32_t a = 1, b = 0;
    for (const unsigned char byte : bytes) {
        a = (a + byte) % ADLER_MODULUS;
        b = (b + a) % ADLER_MODULUS;
    }
    return (b << 16) | a;
}

std::vector<unsigned char> zlibStored(const std::vector<unsigned char>& raw)
{
    std::vector<unsigned char> out = {0x78, 0x01}; // deflate, 32 KiB window; 0x7801 % 31 == 0
    size_t at = 0;
    do {
        const size_t length = std::min(STORED_BLOCK_MAX_BYTES, raw.size() - at);
        const bool last = at + length == raw.size();
        out.push_back(last ? 1 : 0); // BFINAL, BTYPE 00: stored
        putLe16(out, static_cast<unsigned>(length));
        putLe16(out, static_cast<unsigned>(~length & 0xffff));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < raw.size());
    putBe32(out, adler32(raw));
    return out;
}

bool writePng(int width, int height, const std::vector<unsigned char>& rgba, const std::string& path)
{
    if (width <= 0 || height <= 0 || rgba.size() != static_cast<size_t>(width) * height * 4)
        return false;
    std::vector<unsigned char> out(std::begin(PNG_SIGNATURE), std::end(PNG_SIGNATURE));
    putChunk(out, "IHDR", headerChunk(width, height));
    putChunk(out, "IDAT", zlibStored(filteredRows(width, height, rgba)));
    putChunk(out, "IEND", {});
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}
