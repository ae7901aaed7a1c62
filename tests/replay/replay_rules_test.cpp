// Recordings made by hand that no real run writes: each is refused in one
// line naming what is wrong, or read, as the rules of replay_format.h say.
#include <gtest/gtest.h>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>
#include "replay/byte_coding.h"
#include "replay/menu_visit_bytes.h"
#include "replay/replay_reader.h"
#include "replay/replay_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes headerWithLives(int32_t lives)
{
    ReplayHeader header;
    header.lives = lives;
    const std::string path = testing::TempDir() + "header.zrec";
    ReplayWriter w;
    std::string error;
    EXPECT_TRUE(openReplayWriter(w, path, header, error)) << error;
    abandonReplayWriter(w);
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void varint(Bytes& b, uint64_t v)
{
    uint8_t bytes[MAX_VARINT_BYTES];
    ByteWriter out{bytes, 0};
    putVarint(out, v);
    b.insert(b.end(), bytes, bytes + out.size);
}

// The records, written as the writer would lay them out.
struct Records {
    Bytes b = headerWithLives(DEFAULT_LIVES);
    int64_t frames = 0, playMs = 0;

    Records& frame(int64_t ms)
    {
        b.push_back(FRAME_TIME_FOLLOWS);
        varint(b, zigzag(ms));
        frames += 1;
        playMs += ms;
        return *this;
    }
    Records& repeat(uint64_t count, int64_t ms)
    {
        b.push_back(TAG_REPEAT_LONG);
        varint(b, count);
        frames += static_cast<int64_t>(count);
        playMs += static_cast<int64_t>(count) * ms;
        return *this;
    }
    Records& checkpoint()
    {
        b.push_back(TAG_CHECKPOINT);
        varint(b, zigzag(playMs / MS_PER_CHECKPOINT));
        varint(b, static_cast<uint64_t>(frames));
        b.insert(b.end(), 8, 0);
        return *this;
    }
    Records& menu(uint64_t changes, uint8_t flags)
    {
        b.push_back(TAG_MENU);
        varint(b, changes);
        for (uint64_t i = 0; i < changes; ++i)
            b.insert(b.end(), {static_cast<uint8_t>(MenuChangeKind::MAP), 1});
        b.push_back(flags);
        return *this;
    }
    Records& end()
    {
        b.push_back(TAG_END);
        varint(b, static_cast<uint64_t>(frames));
        varint(b, zigzag(playMs));
        return *this;
    }
    Records& lives(int32_t lives)
    {
        const Bytes h = headerWithLives(lives);
        std::copy(h.begin(), h.end(), b.begin());
        return *this;
    }
    Records& cutBy(size_t bytes)
    {
        b.resize(b.size() - bytes);
        return *this;
    }
};

constexpr int64_t INT32_TOP = std::numeric_limits<int32_t>::max();

struct Case {
    const char* name;
    Records records;
    const char* refusal; // the start of what follows "name: "; nullptr when read
    int64_t frames;      // when read
    bool cut;
};

TEST(ReplayRules, CraftedRecordingsAreRefusedInOneLineOrReadAsFarAsTheyAreChecked)
{
    const Case cases[] = {
        {"a frame ten thousand seconds back", Records{}.checkpoint().frame(-10000000).checkpoint().end(),
         "damaged at byte 82: a frame time of -10000000 ms", 0, false},
        {"a frame at the lowest int", Records{}.checkpoint().frame(INT32_TOP + 1 - 2 * (INT32_TOP + 1)).checkpoint().end(),
         "damaged at byte 82: a frame time of -2147483648 ms", 0, false},
        {"a frame past the highest int", Records{}.checkpoint().frame(INT32_TOP + 1).checkpoint().end(),
         "damaged at byte 82: a frame time of 2147483648 ms", 0, false},
        {"a frame of 24 days", Records{}.checkpoint().frame(INT32_TOP - 1).checkpoint().end(), nullptr, 1, false},
        {"ten million frames in no time", Records{}.checkpoint().frame(0).repeat(9999999, 0).checkpoint().end(),
         "damaged at byte 84: more than 100000 frames in one second of play", 0, false},
        {"the largest repeat", Records{}.checkpoint().frame(1).repeat(INT32_TOP, 1).checkpoint().end(),
         "damaged at byte 84: more than 2147483647 frames", 0, false},
        {"a second of play without its checkpoint", Records{}.checkpoint().frame(600).frame(600).frame(600).end(),
         "damaged at byte 88: frames of a second of play without its checkpoint", 0, false},
        {"a repeat into the next second", Records{}.checkpoint().frame(10).repeat(100, 10).checkpoint().end(),
         "damaged at byte 84: frames of a second of play without its checkpoint", 0, false},
        {"frames and no checkpoint", Records{}.frame(10).end(),
         "damaged at byte 71: frames of a second of play without its checkpoint", 0, false},
        {"the end and no checkpoint", Records{}.end(), "damaged at byte 71: the end without a checkpoint", 0, false},
        {"frames after the quit", Records{}.checkpoint().frame(10).menu(0, MENU_QUIT).frame(10).checkpoint().end(),
         "damaged at byte 87: frames after the players quit", 0, false},
        {"three checkpoints in one second", Records{}.checkpoint().frame(10).checkpoint().checkpoint().end(),
         "damaged at byte 95: three checkpoints in one second", 0, false},
        {"a visit of a million changes", Records{}.checkpoint().frame(10).menu(1000000, 0).checkpoint().end(),
         "damaged at byte 84: a menu visit of 1000000 changes", 0, false},
        {"lives at the lowest int", Records{}.lives(std::numeric_limits<int32_t>::min()).checkpoint().frame(10).checkpoint().end(),
         nullptr, 1, false},
        {"a quit, its checkpoint and the end", Records{}.checkpoint().frame(10).menu(1, MENU_QUIT).checkpoint().end(),
         nullptr, 1, false},
        {"cut in a frame", Records{}.checkpoint().frame(10).frame(990).checkpoint().frame(1000).frame(10).cutBy(1),
         nullptr, 2, true},
        {"cut in the end record", Records{}.checkpoint().frame(10).checkpoint().end().cutBy(1), nullptr, 1, true},
        {"cut before the first checkpoint ends", Records{}.checkpoint().cutBy(1),
         "truncated: the recording stops before its first checkpoint", 0, false},
    };
    for (const Case& c : cases) {
        Replay replay;
        std::string error;
        const bool read = parseReplay(c.name, c.records.b, replay, error);
        if (c.refusal) {
            EXPECT_FALSE(read) << c.name;
            EXPECT_EQ(error.rfind(std::string(c.name) + ": " + c.refusal, 0), 0u) << c.name << ": " << error;
            EXPECT_EQ(error.find('\n'), std::string::npos) << c.name;
            continue;
        }
        ASSERT_TRUE(read) << c.name << ": " << error;
        EXPECT_EQ(replay.frames, c.frames) << c.name;
        EXPECT_EQ(replay.cut, c.cut) << c.name;
    }
}

} // namespace
