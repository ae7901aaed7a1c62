// The recording file, written by the game (-record) and read by the game
// (-replay) and the headless runner (--replay).
//
// A fixed header, then a stream of records, each starting with a tag byte:
//   0x00..0x7F  a frame: bits 0-4 the frame time in ms (31: a zigzag varint
//               follows), 0x20 a controls varint follows (else the previous
//               frame's), 0x40 a zigzag varint follows that the tick differs
//               by from the previous tick plus the frame time
//   0x80..0xBF  the previous frame again, (tag & 0x3F) + 1 times
//   0xF0        the previous frame again, a varint number of times
//   0xF1        a menu visit (replay/menu_visit_bytes.h): varint count of
//               changes, each a kind byte and its values as bytes, then a
//               flags byte (1 new match, 2 quit)
//   0xF2        a checkpoint: zigzag varint second of play, varint frames so
//               far, the 8-byte checksum of the match state
//   0xF3        the end: varint frames, zigzag varint milliseconds of play
// Integers are little-endian; varints hold 7 bits a byte, low bits first.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include "gfx/utf8.h"
#include "sim/match_state.h"

constexpr char REPLAY_MAGIC[8] = {'Z', 'E', 'N', 'T', 'R', 'E', 'C', '\x1a'};
constexpr uint16_t REPLAY_VERSION = 1;
constexpr int REPLAY_HEADER_BYTES = 71;
// A name in the header: 15 bytes and the terminator. A longer name (15
// characters may take up to 60 bytes) is recorded cut between characters;
// only the names shown while watching depend on it.
constexpr int REPLAY_NAME_BYTES = 16;

constexpr uint8_t FRAME_TIME_MASK = 0x1F;
constexpr uint8_t FRAME_TIME_FOLLOWS = 0x1F; // the frame time field holding this: a varint follows
constexpr uint8_t FRAME_CONTROLS = 0x20;
constexpr uint8_t FRAME_GAP = 0x40;
constexpr uint8_t TAG_REPEAT = 0x80;
constexpr int SHORT_REPEAT_MAX = 64;
constexpr uint8_t TAG_REPEAT_LONG = 0xF0;
constexpr uint8_t TAG_MENU = 0xF1;
constexpr uint8_t TAG_CHECKPOINT = 0xF2;
constexpr uint8_t TAG_END = 0xF3;

constexpr int MS_PER_CHECKPOINT = 1000; // a checkpoint for every second of play

// What a recording may hold. The writer never goes beyond these, so a file
// that does was not written by a real run, and the reader refuses it before
// anything of it is used:
// - the file: at most MAX_REPLAY_BYTES;
// - a frame time: 0 to MAX_FRAME_MS (the clock only runs forward, but a
//   stall may last as long as it likes);
// - at most MAX_RECORDED_FRAMES frames, and at most MAX_FRAMES_PER_SECOND of
//   them starting within one second of play: every frame of the game is
//   drawn and shown, and no display shows that many (the runner's scripts
//   are held to the same rule);
// - checkpoints where the writer puts them: before the first frame of every
//   second of play that has one (the first included), and right before the
//   end, each with its second and the frames before it; so nothing is
//   replayed unchecked;
// - a menu visit: at most MAX_MENU_CHANGES changes (menu_visit_bytes.h), ships, weapons and map
//   within their tables; after a visit that quits, only the last checkpoint
//   and the end;
// - names: a terminator within their REPLAY_NAME_BYTES; lives: any int32,
//   as config.cfg's count is taken as it stands;
// - nothing after the end.
// A file that stops without its end but after a checkpoint was cut short
// (the game killed, the disk full): it is read up to that checkpoint.
constexpr size_t MAX_REPLAY_BYTES = 64u << 20; // hours of play at any frame rate
constexpr int64_t MAX_FRAME_MS = std::numeric_limits<int32_t>::max();
constexpr int64_t MAX_RECORDED_FRAMES = std::numeric_limits<int32_t>::max();
constexpr int64_t MAX_FRAMES_PER_SECOND = 100000;

// How the match was set up at start-up: with the same seed and the same
// masks, the recorded controls and times give the same match.
struct ReplayHeader {
    uint32_t seed = 0;
    uint64_t maskChecksum = 0; // of every collision mask the match can use
    char names[PLAYER_COUNT][REPLAY_NAME_BYTES] = {};
    int32_t mapIndex = 0;
    int32_t lives = DEFAULT_LIVES;
    int32_t shipIndex[PLAYER_COUNT] = {};
    int32_t weapons[PLAYER_COUNT][WEAPON_SLOTS] = {};
};

// A name into a buffer of another size, cut between characters if it must be,
// the rest of the buffer zero.
template <size_t ToBytes, size_t FromBytes>
void copyName(char (&to)[ToBytes], const char (&from)[FromBytes])
{
    const std::string name(from, strnlen(from, FromBytes));
    std::fill(to, to + ToBytes, '\0');
    name.copy(to, bytesWithin(name, ToBytes - 1));
}

// The choices a match starts from, copied between the records that hold them
// under the same names: the header, config.cfg's values, the runner's set-up.
template <typename From, typename To>
void copyMatchChoices(const From& from, To& to)
{
    for (int p = 0; p < PLAYER_COUNT; ++p)
        copyName(to.names[p], from.names[p]);
    to.mapIndex = from.mapIndex;
    to.lives = from.lives;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        to.shipIndex[p] = from.shipIndex[p];
        std::copy(from.weapons[p], from.weapons[p] + WEAPON_SLOTS, to.weapons[p]);
    }
}

// The header of a recording of the match set up from these choices.
template <typename Choices>
ReplayHeader replayHeaderOf(const Choices& choices, uint32_t seed, uint64_t masks)
{
    ReplayHeader h;
    h.seed = seed;
    h.maskChecksum = masks;
    copyMatchChoices(choices, h);
    return h;
}

// One pass of the frame loop as the simulation received it.
struct RecordedFrame {
    ControlState controls;
    int32_t frameTime = 0; // ms
    int32_t nowMs = 0;     // the tick animations were stepped with
};
