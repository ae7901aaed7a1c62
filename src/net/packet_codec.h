// Every packet two sides of a network match exchange, and their layout.
//
// A packet starts with its type byte. Integers are varints (7 bits a byte, low
// bits first) unless named otherwise; u16 and u64 are little-endian; a span is
// a varint length and that many bytes. Decoding is strict: a field out of its
// range, a count past its bound, a packet cut short or one with bytes left
// over is refused whole, so nothing read from a peer is trusted.
//
//   Hello      u16 protocol, span game version, role byte, frame ms, input
//              delay, u64 seed half, u64 mask checksum, span name, span
//              choices; of another protocol only the first two are read
//   MaskTable  span of the host's mask table (only when the checksums differ)
//   Start      frame ms, input delay, u64 seed: the host's settlement
//   Inputs     epoch, sequence, u16 sent ms, u16 echoed ms, held ms, frame,
//              zigzag lead in quarter frames, ack + 1, checksum distance
//              (0: none; else frame - checksum frame, then u64 checksum),
//              count, and when count > 0: first frame, runs of (length,
//              input) adding up to count, mend mark (0: none; else its frame
//              - first frame + 1)
//   Message    span: the game's own reliable message
//   Ready      epoch: ready to go on from the pause of that epoch
//   State      epoch, frame, paused byte, span of the host's whole state
//   MendDone   epoch, frame: the joiner took the state
//   Leave      nothing: the sender leaves the match
//   Refusal    span of text: the host turns this joiner away
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>
#include "net/net_limits.h"

enum class PacketType : uint8_t {
    Hello = 1,
    MaskTable,
    Start,
    Inputs,
    Message,
    Ready,
    State,
    MendDone,
    Leave,
    Refusal,
};

// Bytes inside a received packet; valid while the packet is.
struct ByteSpan {
    const uint8_t* bytes = nullptr;
    size_t size = 0;
};

struct HelloPacket {
    uint16_t protocolVersion = 0;
    ByteSpan gameVersion;   // at most NET_MAX_VERSION_BYTES
    uint8_t role = 0;       // 0 host, 1 joiner
    int32_t frameMs = 0;    // NET_MIN_FRAME_MS .. NET_MAX_FRAME_MS
    int32_t inputDelay = 0; // 0 .. NET_MAX_INPUT_DELAY
    uint64_t seedHalf = 0;
    uint64_t maskChecksum = 0;
    ByteSpan name;          // at most NET_MAX_NAME_BYTES, no control characters
    ByteSpan choices;       // at most NET_MAX_CHOICES_BYTES
};

struct StartPacket {
    int32_t frameMs = 0;
    int32_t inputDelay = 0;
    uint64_t seed = 0;
};

struct InputPacket {
    uint32_t epoch = 0;       // resumes so far: inputs of an older epoch are stale
    uint32_t sequence = 0;    // counts input packets, for the loss figure
    uint16_t sentMs = 0;      // sender's clock, wrapping
    uint16_t echoMs = 0;      // the newest sentMs the sender had from us
    uint16_t echoHeldMs = 0;  // how long the sender held that echo
    int32_t frame = 0;        // the frame the sender is about to step
    int32_t leadQuarters = 0; // sender's lead over us, quarter frames, +-NET_MAX_LEAD_QUARTERS
    int32_t ackFrame = -1;    // newest of our inputs the sender holds with all before it; -1 none
    int32_t checksumFrame = -1; // -1: no checksum carried
    uint64_t checksum = 0;    // of the state after checksumFrame
    int32_t firstFrame = 0;   // of inputs[0]
    int32_t count = 0;        // 0 .. NET_MAX_INPUTS_PER_PACKET
    uint32_t inputs[NET_MAX_INPUTS_PER_PACKET] = {};
    int32_t mendFrame = -1;   // the host asks both to stop after this frame and take its state
};

struct StatePacket {
    uint32_t epoch = 0;
    int32_t frame = 0;  // the state is the one before this frame is stepped
    bool paused = false; // the host stands in a pause at that frame
    ByteSpan state;     // at most NET_MAX_BLOB_BYTES
};

struct EpochFrame {
    uint32_t epoch = 0;
    int32_t frame = 0;
};

// One decoded packet: type says which member holds it.
struct Packet {
    PacketType type = PacketType::Leave;
    HelloPacket hello;
    StartPacket start;
    InputPacket inputs;
    StatePacket state;
    EpochFrame mark;  // Ready (frame unused) and MendDone
    ByteSpan blob;    // MaskTable, Message and Refusal
};

constexpr int32_t NET_MAX_LEAD_QUARTERS = 4 * 1024;
// Room for the largest input packet the encoder can write: 50 bytes of
// header fields at their longest, and a run of one (a byte of length and up
// to five of input) for every input.
constexpr size_t NET_INPUT_PACKET_ROOM = 64 + 6 * NET_MAX_INPUTS_PER_PACKET;
static_assert(NET_INPUT_PACKET_ROOM <= NET_MAX_INPUT_PACKET_BYTES);

// Decodes one packet; false (and out unspecified) for anything malformed.
bool decodePacket(const uint8_t* bytes, size_t size, Packet& out);

// Writes into out, which holds at least NET_INPUT_PACKET_ROOM bytes; returns
// the size. The inputs must satisfy the bounds decodePacket checks.
size_t encodeInputs(const InputPacket& p, uint8_t* out);
// The other packets, rare enough to be built in a vector of their own.
void encodeHello(const HelloPacket& p, std::vector<uint8_t>& out);
void encodeStart(const StartPacket& p, std::vector<uint8_t>& out);
void encodeState(const StatePacket& p, std::vector<uint8_t>& out);
void encodeMark(PacketType type, const EpochFrame& mark, std::vector<uint8_t>& out);
// MaskTable, Message and Refusal.
void encodeBlob(PacketType type, ByteSpan blob, std::vector<uint8_t>& out);
void encodeLeave(std::vector<uint8_t>& out);
