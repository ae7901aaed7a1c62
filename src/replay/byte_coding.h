// Little-endian integers and varints, written into and read from byte buffers.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr int MAX_VARINT_BYTES = 10; // 64 bits at 7 a byte

// Writes into a caller's buffer; the caller sizes it for what it writes.
struct ByteWriter {
    uint8_t* bytes = nullptr;
    size_t size = 0;
};

void putByte(ByteWriter& w, uint8_t value);
void putLittle(ByteWriter& w, uint64_t value, int byteCount);
void putVarint(ByteWriter& w, uint64_t value);
uint64_t zigzag(int64_t value);
int64_t unzigzag(uint64_t value);

// Reads from a span; every read fails rather than run past its end.
struct ByteReader {
    const uint8_t* bytes = nullptr;
    size_t size = 0;
    size_t at = 0;
};

bool getByte(ByteReader& r, uint8_t& value);
bool getLittle(ByteReader& r, int byteCount, uint64_t& value);
// Fails at the end of the span and on a varint longer than 64 bits.
bool getVarint(ByteReader& r, uint64_t& value);
