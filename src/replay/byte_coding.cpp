#include "replay/byte_coding.h"

void putByte(ByteWriter& w, uint8_t value) { w.bytes[w.size++] = value; }

void putLittle(ByteWriter& w, uint64_t value, int byteCount)
{
    for (int i = 0; i < byteCount; ++i)
        putByte(w, static_cast<uint8_t>(value >> (8 * i)));
}

void putVarint(ByteWriter& w, uint64_t value)
{
    while (value >= 0x80) {
        putByte(w, static_cast<uint8_t>(value | 0x80));
        value >>= 7;
    }
    putByte(w, static_cast<uint8_t>(value));
}

uint64_t zigzag(int64_t value)
{
    return (static_cast<uint64_t>(value) << 1) ^ static_cast<uint64_t>(value < 0 ? -1 : 0);
}

int64_t unzigzag(uint64_t value)
{
    return static_cast<int64_t>(value >> 1) ^ -static_cast<int64_t>(value & 1);
}

bool getByte(ByteReader& r, uint8_t& value)
{
    if (r.at >= r.size)
        return false;
    value = r.bytes[r.at++];
    return true;
}

bool getLittle(ByteReader& r, int byteCount, uint64_t& value)
{
    value = 0;
    for (int i = 0; i < byteCount; ++i) {
        uint8_t b = 0;
        if (!getByte(r, b))
            return false;
        value |= static_cast<uint64_t>(b) << (8 * i);
    }
    return true;
}

bool getVarint(ByteReader& r, uint64_t& value)
{
    value = 0;
    for (int i = 0; i < MAX_VARINT_BYTES; ++i) {
        uint8_t b = 0;
        if (!getByte(r, b))
            return false;
        const uint64_t bits = b & 0x7F;
        // The tenth byte has room for the 64th bit only.
        if (i == MAX_VARINT_BYTES - 1 && bits > 1)
            return false;
        value |= bits << (7 * i);
        if ((b & 0x80) == 0)
            return true;
    }
    return false;
}
