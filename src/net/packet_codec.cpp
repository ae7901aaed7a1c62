#include "net/packet_codec.h"

#include <limits>
#include "replay/byte_coding.h"

namespace {

constexpr size_t HELLO_ROOM = 64 + NET_MAX_VERSION_BYTES + NET_MAX_NAME_BYTES + NET_MAX_CHOICES_BYTES;
constexpr size_t SPAN_HEADER_ROOM = 32;
constexpr uint32_t MAX_FRAME = std::numeric_limits<int32_t>::max() - 2 * NET_HISTORY_FRAMES;

bool getVarintUpTo(ByteReader& r, uint64_t max, uint64_t& value)
{
    return getVarint(r, value) && value <= max;
}

bool getInt32UpTo(ByteReader& r, uint64_t max, int32_t& value)
{
    uint64_t v = 0;
    if (!getVarintUpTo(r, max, v))
        return false;
    value = static_cast<int32_t>(v);
    return true;
}

bool getUint32(ByteReader& r, uint32_t& value)
{
    uint64_t v = 0;
    if (!getVarintUpTo(r, std::numeric_limits<uint32_t>::max(), v))
        return false;
    value = static_cast<uint32_t>(v);
    return true;
}

bool getU16(ByteReader& r, uint16_t& value)
{
    uint64_t v = 0;
    if (!getLittle(r, 2, v))
        return false;
    value = static_cast<uint16_t>(v);
    return true;
}

bool getSpan(ByteReader& r, size_t maxBytes, ByteSpan& span)
{
    uint64_t size = 0;
    if (!getVarintUpTo(r, maxBytes, size) || size > r.size - r.at)
        return false;
    span = {r.bytes + r.at, static_cast<size_t>(size)};
    r.at += span.size;
    return true;
}

// Names and versions are shown and printed: no control characters in them.
bool getText(ByteReader& r, size_t maxBytes, ByteSpan& span)
{
    if (!getSpan(r, maxBytes, span))
        return false;
    for (size_t i = 0; i < span.size; ++i)
        if (span.bytes[i] < 0x20 || span.bytes[i] == 0x7F)
            return false;
    return true;
}

// A hello of another protocol is read as far as its versions, which every
// protocol keeps in front, so that both sides can say what differs.
bool decodeHello(ByteReader& r, HelloPacket& p)
{
    if (!getU16(r, p.protocolVersion) || !getText(r, NET_MAX_VERSION_BYTES, p.gameVersion))
        return false;
    if (p.protocolVersion != NET_PROTOCOL_VERSION) {
        r.at = r.size;
        return true;
    }
    if (!getByte(r, p.role) || p.role > 1 || !getInt32UpTo(r, NET_MAX_FRAME_MS, p.frameMs) ||
        p.frameMs < NET_MIN_FRAME_MS || !getInt32UpTo(r, NET_MAX_INPUT_DELAY, p.inputDelay))
        return false;
    return getLittle(r, 8, p.seedHalf) && getLittle(r, 8, p.maskChecksum) &&
           getText(r, NET_MAX_NAME_BYTES, p.name) && getSpan(r, NET_MAX_CHOICES_BYTES, p.choices);
}

bool decodeStart(ByteReader& r, StartPacket& p)
{
    return getInt32UpTo(r, NET_MAX_FRAME_MS, p.frameMs) && p.frameMs >= NET_MIN_FRAME_MS &&
           getInt32UpTo(r, NET_MAX_INPUT_DELAY, p.inputDelay) && getLittle(r, 8, p.seed);
}

bool decodeInputRuns(ByteReader& r, InputPacket& p)
{
    if (!getInt32UpTo(r, MAX_FRAME - NET_MAX_INPUTS_PER_PACKET, p.firstFrame))
        return false;
    int32_t filled = 0;
    while (filled < p.count) {
        int32_t length = 0;
        uint32_t input = 0;
        if (!getInt32UpTo(r, static_cast<uint64_t>(p.count - filled), length) || length == 0 ||
            !getUint32(r, input))
            return false;
        for (int32_t i = 0; i < length; ++i)
            p.inputs[filled++] = input;
    }
    int32_t mend = 0;
    if (!getInt32UpTo(r, static_cast<uint64_t>(p.count), mend))
        return false;
    p.mendFrame = mend == 0 ? -1 : p.firstFrame + mend - 1;
    return true;
}

bool decodeInputs(ByteReader& r, InputPacket& p)
{
    uint64_t held = 0, lead = 0, ack = 0, distance = 0;
    if (!getUint32(r, p.epoch) || !getUint32(r, p.sequence) || !getU16(r, p.sentMs) ||
        !getU16(r, p.echoMs) || !getVarintUpTo(r, std::numeric_limits<uint16_t>::max(), held) ||
        !getInt32UpTo(r, MAX_FRAME, p.frame) || !getVarintUpTo(r, 2 * NET_MAX_LEAD_QUARTERS + 1, lead) ||
        !getVarintUpTo(r, MAX_FRAME, ack) || !getVarintUpTo(r, static_cast<uint64_t>(p.frame), distance))
        return false;
    p.echoHeldMs = static_cast<uint16_t>(held);
    p.leadQuarters = static_cast<int32_t>(unzigzag(lead));
    p.ackFrame = static_cast<int32_t>(ack) - 1;
    p.checksumFrame = distance == 0 ? -1 : p.frame - static_cast<int32_t>(distance);
    if (distance != 0 && !getLittle(r, 8, p.checksum))
        return false;
    if (!getInt32UpTo(r, NET_MAX_INPUTS_PER_PACKET, p.count))
        return false;
    p.mendFrame = -1;
    return p.count == 0 || decodeInputRuns(r, p);
}

bool decodeState(ByteReader& r, StatePacket& p)
{
    uint8_t paused = 0;
    if (!getUint32(r, p.epoch) || !getInt32UpTo(r, MAX_FRAME, p.frame) || !getByte(r, paused) || paused > 1)
        return false;
    p.paused = paused == 1;
    return getSpan(r, NET_MAX_BLOB_BYTES, p.state);
}

bool decodeBody(ByteReader& r, Packet& out)
{
    switch (out.type) {
    case PacketType::Hello: return decodeHello(r, out.hello);
    case PacketType::MaskTable: return getSpan(r, NET_MAX_BLOB_BYTES, out.blob);
    case PacketType::Start: return decodeStart(r, out.start);
    case PacketType::Inputs: return decodeInputs(r, out.inputs);
    case PacketType::Message: return getSpan(r, NET_MAX_MESSAGE_BYTES, out.blob);
    case PacketType::Ready: return getUint32(r, out.mark.epoch);
    case PacketType::State: return decodeState(r, out.state);
    case PacketType::MendDone: return getUint32(r, out.mark.epoch) && getInt32UpTo(r, MAX_FRAME, out.mark.frame);
    case PacketType::Leave: return true;
    case PacketType::Refusal: return getText(r, NET_MAX_REASON_BYTES, out.blob);
    }
    return false;
}

void putSpan(ByteWriter& w, ByteSpan span)
{
    putVarint(w, span.size);
    for (size_t i = 0; i < span.size; ++i)
        putByte(w, span.bytes[i]);
}

// Runs the writer over a vector sized for the worst case, then trims it.
template <typename Write>
void writeInto(std::vector<uint8_t>& out, size_t room, Write write)
{
    out.resize(room);
    ByteWriter w{out.data(), 0};
    write(w);
    out.resize(w.size);
}

void putInputRuns(ByteWriter& w, const InputPacket& p)
{
    putVarint(w, static_cast<uint64_t>(p.firstFrame));
    int32_t at = 0;
    while (at < p.count) {
        int32_t length = 1;
        while (at + length < p.count && p.inputs[at + length] == p.inputs[at])
            ++length;
        putVarint(w, static_cast<uint64_t>(length));
        putVarint(w, p.inputs[at]);
        at += length;
    }
    const bool mendCarried = p.mendFrame >= p.firstFrame && p.mendFrame < p.firstFrame + p.count;
    putVarint(w, mendCarried ? static_cast<uint64_t>(p.mendFrame - p.firstFrame + 1) : 0);
}

} // namespace

bool decodePacket(const uint8_t* bytes, size_t size, Packet& out)
{
    if (size == 0 || size > NET_MAX_BLOB_BYTES + SPAN_HEADER_ROOM)
        return false;
    ByteReader r{bytes, size, 0};
    uint8_t type = 0;
    getByte(r, type);
    if (type < static_cast<uint8_t>(PacketType::Hello) || type > static_cast<uint8_t>(PacketType::Refusal))
        return false;
    out.type = static_cast<PacketType>(type);
    if (out.type == PacketType::Inputs && size > NET_MAX_INPUT_PACKET_BYTES)
        return false;
    return decodeBody(r, out) && r.at == r.size;
}

size_t encodeInputs(const InputPacket& p, uint8_t* out)
{
    ByteWriter w{out, 0};
    putByte(w, static_cast<uint8_t>(PacketType::Inputs));
    putVarint(w, p.epoch);
    putVarint(w, p.sequence);
    putLittle(w, p.sentMs, 2);
    putLittle(w, p.echoMs, 2);
    putVarint(w, p.echoHeldMs);
    putVarint(w, static_cast<uint64_t>(p.frame));
    putVarint(w, zigzag(p.leadQuarters));
    putVarint(w, static_cast<uint64_t>(p.ackFrame + 1));
    const bool checksummed = p.checksumFrame >= 0 && p.checksumFrame < p.frame;
    putVarint(w, checksummed ? static_cast<uint64_t>(p.frame - p.checksumFrame) : 0);
    if (checksummed)
        putLittle(w, p.checksum, 8);
    putVarint(w, static_cast<uint64_t>(p.count));
    if (p.count > 0)
        putInputRuns(w, p);
    return w.size;
}

void encodeHello(const HelloPacket& p, std::vector<uint8_t>& out)
{
    writeInto(out, HELLO_ROOM, [&p](ByteWriter& w) {
        putByte(w, static_cast<uint8_t>(PacketType::Hello));
        putLittle(w, p.protocolVersion, 2);
        putSpan(w, p.gameVersion);
        putByte(w, p.role);
        putVarint(w, static_cast<uint64_t>(p.frameMs));
        putVarint(w, static_cast<uint64_t>(p.inputDelay));
        putLittle(w, p.seedHalf, 8);
        putLittle(w, p.maskChecksum, 8);
        putSpan(w, p.name);
        putSpan(w, p.choices);
    });
}

void encodeStart(const StartPacket& p, std::vector<uint8_t>& out)
{
    writeInto(out, SPAN_HEADER_ROOM, [&p](ByteWriter& w) {
        putByte(w, static_cast<uint8_t>(PacketType::Start));
        putVarint(w, static_cast<uint64_t>(p.frameMs));
        putVarint(w, static_cast<uint64_t>(p.inputDelay));
        putLittle(w, p.seed, 8);
    });
}

void encodeState(const StatePacket& p, std::vector<uint8_t>& out)
{
    writeInto(out, SPAN_HEADER_ROOM + p.state.size, [&p](ByteWriter& w) {
        putByte(w, static_cast<uint8_t>(PacketType::State));
        putVarint(w, p.epoch);
        putVarint(w, static_cast<uint64_t>(p.frame));
        putByte(w, p.paused ? 1 : 0);
        putSpan(w, p.state);
    });
}

void encodeMark(PacketType type, const EpochFrame& mark, std::vector<uint8_t>& out)
{
    writeInto(out, SPAN_HEADER_ROOM, [type, &mark](ByteWriter& w) {
        putByte(w, static_cast<uint8_t>(type));
        putVarint(w, mark.epoch);
        if (type == PacketType::MendDone)
            putVarint(w, static_cast<uint64_t>(mark.frame));
    });
}

void encodeBlob(PacketType type, ByteSpan blob, std::vector<uint8_t>& out)
{
    writeInto(out, SPAN_HEADER_ROOM + blob.size, [type, blob](ByteWriter& w) {
        putByte(w, static_cast<uint8_t>(type));
        putSpan(w, blob);
    });
}

void encodeLeave(std::vector<uint8_t>& out)
{
    out.assign(1, static_cast<uint8_t>(PacketType::Leave));
}
