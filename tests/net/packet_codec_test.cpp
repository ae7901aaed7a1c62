#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "net/packet_codec.h"

namespace {

const std::string LONG_NAME(NET_MAX_NAME_BYTES + 1, 'n');

ByteSpan spanOf(const char* text) { return {reinterpret_cast<const uint8_t*>(text), std::strlen(text)}; }

std::string textOf(ByteSpan s) { return std::string(reinterpret_cast<const char*>(s.bytes), s.size); }

InputPacket sampleInputs()
{
    InputPacket p;
    p.epoch = 3;
    p.sequence = 70000;
    p.sentMs = 65535;
    p.echoMs = 12;
    p.echoHeldMs = 17;
    p.frame = 123456;
    p.leadQuarters = -9;
    p.ackFrame = 123450;
    p.checksumFrame = 123440;
    p.checksum = 0x0123456789ABCDEFull;
    p.firstFrame = 123449;
    p.count = 9;
    const uint32_t inputs[] = {5, 5, 5, 0xFFFFFFFFu, 7, 7, 0, 0, 0x80000001u};
    std::copy(std::begin(inputs), std::end(inputs), p.inputs);
    p.mendFrame = 123455;
    return p;
}

std::vector<uint8_t> encoded(const InputPacket& p)
{
    std::vector<uint8_t> bytes(NET_INPUT_PACKET_ROOM);
    bytes.resize(encodeInputs(p, bytes.data()));
    return bytes;
}

// One valid packet of every type.
std::vector<std::vector<uint8_t>> everyType()
{
    std::vector<std::vector<uint8_t>> all(10);
    HelloPacket h;
    h.protocolVersion = NET_PROTOCOL_VERSION;
    h.gameVersion = spanOf("1.0.0");
    h.role = 1;
    h.frameMs = 16;
    h.inputDelay = 8;
    h.seedHalf = ~0ull;
    h.maskChecksum = 42;
    h.name = spanOf("Zoë");
    static const uint8_t choices[] = {1, 2, 0};
    h.choices = {choices, sizeof choices};
    encodeHello(h, all[0]);
    encodeBlob(PacketType::MaskTable, spanOf("masks"), all[1]);
    encodeStart({20, 0, 99}, all[2]);
    all[3] = encoded(sampleInputs());
    encodeBlob(PacketType::Message, spanOf("ship 2"), all[4]);
    encodeMark(PacketType::Ready, {4, 0}, all[5]);
    StatePacket s;
    s.epoch = 2;
    s.frame = 900;
    s.paused = true;
    s.state = spanOf("state bytes");
    encodeState(s, all[6]);
    encodeMark(PacketType::MendDone, {2, 900}, all[7]);
    encodeLeave(all[8]);
    encodeBlob(PacketType::Refusal, spanOf("busy"), all[9]);
    return all;
}

bool decodes(const std::vector<uint8_t>& bytes)
{
    Packet p;
    return decodePacket(bytes.data(), bytes.size(), p);
}

TEST(PacketCodec, EveryPacketReadsBackAsWritten)
{
    const auto all = everyType();
    Packet p;
    ASSERT_TRUE(decodePacket(all[0].data(), all[0].size(), p));
    EXPECT_EQ(p.type, PacketType::Hello);
    EXPECT_EQ(textOf(p.hello.gameVersion), "1.0.0");
    EXPECT_EQ(textOf(p.hello.name), "Zoë");
    EXPECT_EQ(p.hello.choices.size, 3u);
    EXPECT_EQ(p.hello.role, 1);
    EXPECT_EQ(p.hello.inputDelay, 8);
    EXPECT_EQ(p.hello.seedHalf, ~0ull);
    EXPECT_EQ(p.hello.maskChecksum, 42u);

    ASSERT_TRUE(decodePacket(all[3].data(), all[3].size(), p));
    const InputPacket want = sampleInputs();
    const InputPacket& got = p.inputs;
    EXPECT_EQ(got.epoch, want.epoch);
    EXPECT_EQ(got.sequence, want.sequence);
    EXPECT_EQ(got.sentMs, want.sentMs);
    EXPECT_EQ(got.echoMs, want.echoMs);
    EXPECT_EQ(got.echoHeldMs, want.echoHeldMs);
    EXPECT_EQ(got.frame, want.frame);
    EXPECT_EQ(got.leadQuarters, want.leadQuarters);
    EXPECT_EQ(got.ackFrame, want.ackFrame);
    EXPECT_EQ(got.checksumFrame, want.checksumFrame);
    EXPECT_EQ(got.checksum, want.checksum);
    EXPECT_EQ(got.firstFrame, want.firstFrame);
    ASSERT_EQ(got.count, want.count);
    for (int i = 0; i < want.count; ++i)
        EXPECT_EQ(got.inputs[i], want.inputs[i]) << i;
    EXPECT_EQ(got.mendFrame, want.mendFrame);

    ASSERT_TRUE(decodePacket(all[6].data(), all[6].size(), p));
    EXPECT_EQ(p.state.epoch, 2u);
    EXPECT_EQ(p.state.frame, 900);
    EXPECT_TRUE(p.state.paused);
    EXPECT_EQ(textOf(p.state.state), "state bytes");
    ASSERT_TRUE(decodePacket(all[7].data(), all[7].size(), p));
    EXPECT_EQ(p.mark.frame, 900);
    ASSERT_TRUE(decodePacket(all[9].data(), all[9].size(), p));
    EXPECT_EQ(textOf(p.blob), "busy");
}

TEST(PacketCodec, TheInputsOfAFullPacketFitItsRoomAndRepeatsCostNothing)
{
    InputPacket p = sampleInputs();
    p.count = NET_MAX_INPUTS_PER_PACKET;
    for (int i = 0; i < p.count; ++i)
        p.inputs[i] = 0xFFFFFFF0u + static_cast<uint32_t>(i % 2); // no two alike in a row
    p.epoch = p.sequence = 0xFFFFFFFFu;
    EXPECT_LE(encoded(p).size(), NET_INPUT_PACKET_ROOM);
    EXPECT_TRUE(decodes(encoded(p)));
    p = sampleInputs();
    p.count = NET_MAX_INPUTS_PER_PACKET;
    for (int i = 0; i < p.count; ++i)
        p.inputs[i] = 0x1234;
    EXPECT_LT(encoded(p).size(), 40u);
}

TEST(PacketCodec, CutOrPaddedPacketsAreRefused)
{
    for (const auto& whole : everyType()) {
        for (size_t size = 0; size < whole.size(); ++size)
            EXPECT_FALSE(decodes(std::vector<uint8_t>(whole.begin(), whole.begin() + size)))
                << "type " << int{whole[0]} << " cut to " << size;
        std::vector<uint8_t> padded = whole;
        padded.push_back(0);
        EXPECT_FALSE(decodes(padded)) << "type " << int{whole[0]};
    }
}

TEST(PacketCodec, FieldsOutOfTheirRangeAreRefused)
{
    struct Case {
        const char* name;
        void (*damage)(InputPacket&, HelloPacket&);
        bool hello;
    };
    const Case cases[] = {
        {"a role past joiner", [](InputPacket&, HelloPacket& h) { h.role = 2; }, true},
        {"a frame time of 0", [](InputPacket&, HelloPacket& h) { h.frameMs = 0; }, true},
        {"a frame time past the longest", [](InputPacket&, HelloPacket& h) { h.frameMs = NET_MAX_FRAME_MS + 1; }, true},
        {"an input delay past the longest", [](InputPacket&, HelloPacket& h) { h.inputDelay = 9; }, true},
        {"a control character in the name", [](InputPacket&, HelloPacket& h) { h.name = spanOf("a\nb"); }, true},
        {"a name too long", [](InputPacket&, HelloPacket& h) { h.name = spanOf(LONG_NAME.c_str()); }, true},
        {"a lead past its bound", [](InputPacket& p, HelloPacket&) { p.leadQuarters = NET_MAX_LEAD_QUARTERS + 2; }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        InputPacket p = sampleInputs();
        HelloPacket h;
        h.protocolVersion = NET_PROTOCOL_VERSION;
        h.frameMs = 16;
        c.damage(p, h);
        std::vector<uint8_t> bytes;
        if (c.hello) {
            encodeHello(h, bytes);
        } else {
            bytes = encoded(p);
        }
        EXPECT_FALSE(decodes(bytes));
    }
    // More inputs than a packet holds, runs that go past the count, a run of
    // none, a mend mark past the inputs,
    // a varint of more than 64 bits, a type no protocol has.
    // Inputs up to the checksum distance: all 0, no echo.
    const std::vector<uint8_t> head = {0x04, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0x03, 0, 0, 0, 0};
    auto inputs = [&head](std::vector<uint8_t> tail) {
        tail.insert(tail.begin(), head.begin(), head.end());
        return tail;
    };
    const std::vector<std::vector<uint8_t>> raw = {
        inputs({NET_MAX_INPUTS_PER_PACKET + 1, 0, NET_MAX_INPUTS_PER_PACKET + 1, 9, 0}),
        inputs({2, 0, 3, 9, 0}),
        inputs({2, 0, 0, 9, 2, 9, 0}),
        inputs({2, 0, 2, 9, 3}),
        {0x06, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F},
        {0x00},
        {0x0B},
    };
    for (const auto& bytes : raw)
        EXPECT_FALSE(decodes(bytes)) << "type " << int{bytes[0]} << ", " << bytes.size() << " bytes";
    // The same runs, within the count, are read.
    EXPECT_TRUE(decodes(inputs({2, 0, 2, 9, 2})));
}

TEST(PacketCodec, AHelloOfAnotherProtocolStillTellsItsVersions)
{
    const std::vector<uint8_t> future = {0x01, 0x09, 0x00, 3, '2', '.', '0', 0xDE, 0xAD};
    Packet p;
    ASSERT_TRUE(decodePacket(future.data(), future.size(), p));
    EXPECT_EQ(p.hello.protocolVersion, 9);
    EXPECT_EQ(textOf(p.hello.gameVersion), "2.0");
}

// Random damage to valid packets: whatever is accepted stays within bounds.
TEST(PacketCodec, RandomlyDamagedPacketsNeverYieldFieldsOutOfBounds)
{
    uint64_t random = 0x5DEECE66Dull;
    auto next = [&random]() {
        random ^= random << 13;
        random ^= random >> 7;
        random ^= random << 17;
        return random;
    };
    int accepted = 0;
    for (const auto& whole : everyType()) {
        for (int trial = 0; trial < 20000; ++trial) {
            std::vector<uint8_t> bytes = whole;
            const int flips = 1 + static_cast<int>(next() % 4);
            for (int i = 0; i < flips; ++i)
                bytes[next() % bytes.size()] ^= static_cast<uint8_t>(1u << (next() % 8));
            Packet p;
            if (!decodePacket(bytes.data(), bytes.size(), p))
                continue;
            ++accepted;
            const uint8_t* end = bytes.data() + bytes.size();
            for (const ByteSpan* s : {&p.blob, &p.hello.name, &p.hello.gameVersion, &p.hello.choices, &p.state.state})
                if (s->size > 0) {
                    ASSERT_TRUE(s->bytes >= bytes.data() && s->bytes + s->size <= end);
                }
            if (p.type == PacketType::Inputs) {
                ASSERT_LE(p.inputs.count, NET_MAX_INPUTS_PER_PACKET);
                ASSERT_GE(p.inputs.ackFrame, -1);
                ASSERT_GE(p.inputs.firstFrame, 0);
                ASSERT_LT(p.inputs.checksumFrame, p.inputs.frame);
                ASSERT_TRUE(p.inputs.mendFrame == -1 || (p.inputs.mendFrame >= p.inputs.firstFrame &&
                                                          p.inputs.mendFrame < p.inputs.firstFrame + p.inputs.count));
            }
            if (p.type == PacketType::Hello && p.hello.protocolVersion == NET_PROTOCOL_VERSION) {
                ASSERT_LE(p.hello.inputDelay, NET_MAX_INPUT_DELAY);
                ASSERT_GE(p.hello.frameMs, NET_MIN_FRAME_MS);
                ASSERT_LE(p.hello.name.size, NET_MAX_NAME_BYTES);
            }
        }
    }
    // Some damage lands in a value and leaves a valid packet: the bounds were tried.
    EXPECT_GT(accepted, 1000);
}

} // namespace
