#include <gtest/gtest.h>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>
#include "replay/control_bits.h"
#include "replay/match_checksum.h"
#include "replay/replay_reader.h"
#include "replay/replay_writer.h"

namespace {

struct Plan {
    std::vector<RecordedFrame> frames;
    std::vector<std::pair<size_t, MenuOutcome>> visits; // after frame index
};

int32_t wrappedSum(int32_t a, int64_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(static_cast<uint64_t>(b)));
}

void addFrame(Plan& plan, int32_t frameTime, uint32_t controls, int64_t tickGap = 0)
{
    const int32_t previous = plan.frames.empty() ? 0 : plan.frames.back().nowMs;
    plan.frames.push_back(RecordedFrame{unpackControls(controls), frameTime, wrappedSum(previous, frameTime + tickGap)});
}

// Every control flag alone, long steady runs, frame times of every size,
// ticks that jump and wrap, and menu visits of every kind.
Plan varietyPlan()
{
    Plan plan;
    for (int bit = 0; bit < CONTROL_BIT_COUNT; ++bit)
        addFrame(plan, 16, 1u << bit);
    for (int i = 0; i < 200; ++i)
        addFrame(plan, 17, 0x5);
    MenuOutcome shop;
    shop.changes.resize(3);
    shop.changes[0].kind = MenuChangeKind::SHIPS;
    shop.changes[0].ships[0] = 3;
    shop.changes[1].kind = MenuChangeKind::WEAPONS;
    shop.changes[1].weapons[1][4] = 9;
    shop.changes[2].kind = MenuChangeKind::MAP;
    shop.changes[2].map = 2;
    shop.newMatch = true;
    plan.visits.emplace_back(plan.frames.size() - 1, shop);
    for (int frameTime : {0, 30, 31, 32, 1000, 70000, std::numeric_limits<int32_t>::max(), 0, 0})
        addFrame(plan, frameTime, 0x3);
    addFrame(plan, 16, 0x3, 250);
    addFrame(plan, 16, 0x3, -20);
    addFrame(plan, 16, 0x3, int64_t{std::numeric_limits<int32_t>::max()} - plan.frames.back().nowMs - 16);
    for (int i = 0; i < 5000; ++i)
        addFrame(plan, 1, 0x7FFFFFF);
    MenuOutcome quit;
    quit.quit = true;
    plan.visits.emplace_back(plan.frames.size() - 1, quit);
    return plan;
}

std::string tempPath(const char* name) { return testing::TempDir() + name; }

std::vector<uint8_t> fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The kills of player 1 count the frames written, so every checkpoint's state differs.
void writePlan(const Plan& plan, const std::string& path, MatchState& m)
{
    ReplayHeader header;
    header.seed = 77;
    header.maskChecksum = 0x0123456789ABCDEFull;
    std::snprintf(header.names[1], REPLAY_NAME_BYTES, "Vega");
    header.mapIndex = 2;
    header.lives = -3;
    header.weapons[1][2] = 9;
    ReplayWriter w;
    std::string error;
    ASSERT_TRUE(openReplayWriter(w, path, header, error)) << error;
    size_t visit = 0;
    for (size_t i = 0; i < plan.frames.size(); ++i) {
        m.players[0].kills = static_cast<int32_t>(i);
        writeFrame(w, m, plan.frames[i]);
        for (; visit < plan.visits.size() && plan.visits[visit].first == i; ++visit)
            writeMenuOutcome(w, plan.visits[visit].second);
    }
    m.players[0].kills = static_cast<int32_t>(plan.frames.size());
    ASSERT_TRUE(closeReplayWriter(w, m, error)) << error;
}

void expectSameVisit(const MenuOutcome& read, const MenuOutcome& written)
{
    ASSERT_EQ(read.changes.size(), written.changes.size());
    for (size_t i = 0; i < read.changes.size(); ++i) {
        const MenuChange& a = read.changes[i];
        const MenuChange& b = written.changes[i];
        EXPECT_EQ(a.kind, b.kind);
        EXPECT_EQ(a.ships[0], b.ships[0]);
        EXPECT_EQ(a.weapons[1][4], b.weapons[1][4]);
        EXPECT_EQ(a.map, b.map);
    }
    EXPECT_EQ(read.newMatch, written.newMatch);
    EXPECT_EQ(read.quit, written.quit);
}

TEST(ReplayFile, EveryFrameMenuVisitAndCheckpointComesBackAsWritten)
{
    const Plan plan = varietyPlan();
    const std::string path = tempPath("variety.zrec");
    auto m = std::make_unique<MatchState>();
    writePlan(plan, path, *m);
    Replay replay;
    std::string error;
    ASSERT_TRUE(loadReplay(path, replay, error)) << error;
    EXPECT_EQ(replay.header.seed, 77u);
    EXPECT_EQ(replay.header.maskChecksum, 0x0123456789ABCDEFull);
    EXPECT_STREQ(replay.header.names[1], "Vega");
    EXPECT_EQ(replay.header.mapIndex, 2);
    EXPECT_EQ(replay.header.lives, -3);
    EXPECT_EQ(replay.header.weapons[1][2], 9);

    ReplayCursor cursor = startReplay(replay);
    ReplayEvent e;
    size_t frame = 0, visit = 0;
    int64_t playMs = 0, lastSecond = -1;
    bool ended = false;
    while (nextReplayEvent(cursor, e)) {
        if (e.kind == ReplayEventKind::FRAME) {
            ASSERT_LT(frame, plan.frames.size());
            const RecordedFrame& w = plan.frames[frame];
            EXPECT_EQ(packControls(e.frame.controls), packControls(w.controls)) << "frame " << frame;
            EXPECT_EQ(e.frame.frameTime, w.frameTime) << "frame " << frame;
            EXPECT_EQ(e.frame.nowMs, w.nowMs) << "frame " << frame;
            playMs += w.frameTime;
            ++frame;
        } else if (e.kind == ReplayEventKind::MENU) {
            ASSERT_LT(visit, plan.visits.size());
            EXPECT_EQ(plan.visits[visit].first + 1, frame);
            expectSameVisit(e.visit, plan.visits[visit++].second);
        } else if (e.kind == ReplayEventKind::CHECKPOINT) {
            EXPECT_EQ(e.frames, static_cast<int64_t>(frame));
            EXPECT_EQ(e.second, playMs / MS_PER_CHECKPOINT);
            m->players[0].kills = static_cast<int32_t>(frame);
            EXPECT_EQ(e.checksum, matchChecksum(*m)) << "checkpoint after frame " << frame;
            lastSecond = e.second;
        } else {
            ended = true;
        }
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(frame, plan.frames.size());
    EXPECT_EQ(visit, plan.visits.size());
    EXPECT_EQ(lastSecond, playMs / MS_PER_CHECKPOINT);
    EXPECT_EQ(replay.frames, static_cast<int64_t>(plan.frames.size()));
}

// Parses every event of a loaded replay; a damaged one could loop or run wild here.
size_t countEvents(const Replay& replay)
{
    ReplayCursor cursor = startReplay(replay);
    ReplayEvent e;
    size_t events = 0;
    while (nextReplayEvent(cursor, e))
        ++events;
    return events;
}

int64_t framesReplayed(const Replay& replay)
{
    ReplayCursor cursor = startReplay(replay);
    ReplayEvent e;
    int64_t frames = 0;
    while (nextReplayEvent(cursor, e))
        frames += e.kind == ReplayEventKind::FRAME;
    return frames;
}

TEST(ReplayFile, EveryCutIsReadUpToItsLastCheckpointAndEveryFlippedByteIsRefusedInOneLineOrReadSafely)
{
    Plan plan;
    for (int i = 0; i < 120; ++i)
        addFrame(plan, 9 + i % 3, i < 60 ? 0x1 : 0x1000, i == 80 ? 7 : 0);
    MenuOutcome visit;
    visit.changes.resize(1);
    visit.changes[0].kind = MenuChangeKind::WEAPONS;
    visit.newMatch = true;
    plan.visits.emplace_back(50, visit);
    const std::string path = tempPath("small.zrec");
    auto m = std::make_unique<MatchState>();
    writePlan(plan, path, *m);
    const std::vector<uint8_t> bytes = fileBytes(path);
    Replay replay;
    std::string error;
    // The header, then the checkpoint before the first frame: tag, second,
    // frames so far and the 8-byte checksum.
    constexpr size_t FIRST_CHECKPOINT_END = REPLAY_HEADER_BYTES + 11;
    int64_t framesBefore = 0;
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        const bool read = parseReplay("cut", std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut), replay, error);
        EXPECT_EQ(read, cut >= FIRST_CHECKPOINT_END) << cut << ": " << error;
        if (!read) {
            const char* expected = cut == 0 ? "cut: empty file" : cut < 8 ? "cut: not a Zentavor recording" : "cut: truncated";
            EXPECT_EQ(error.rfind(expected, 0), 0u) << cut << ": " << error;
            continue;
        }
        EXPECT_TRUE(replay.cut) << cut;
        EXPECT_GE(replay.frames, framesBefore) << cut;
        framesBefore = replay.frames;
        EXPECT_EQ(framesReplayed(replay), replay.frames) << cut;
    }
    EXPECT_EQ(framesBefore, 120) << "a cut in the end record loses no frame";
    for (size_t at = 0; at < bytes.size(); ++at)
        for (uint8_t flip : {0x01, 0x40, 0xFF}) {
            std::vector<uint8_t> damaged = bytes;
            damaged[at] ^= flip;
            error.clear();
            if (parseReplay("flip", damaged, replay, error))
                EXPECT_LE(countEvents(replay), 2 * static_cast<size_t>(replay.frames) + bytes.size());
            else
                EXPECT_TRUE(error.rfind("flip: ", 0) == 0 && error.find('\n') == std::string::npos) << error;
        }
}

// Ten minutes at a frame rate, with frame times jittering around it and
// each player's keys changing every 0.1 to 0.6 s, as people press them.
size_t tenMinuteBytes(int meanFrameMs, int jitterMs)
{
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> frameTime(meanFrameMs - jitterMs, meanFrameMs + jitterMs);
    std::uniform_int_distribution<int> holdMs(100, 600);
    std::uniform_int_distribution<uint32_t> keys(0, (1u << 11) - 1);
    Plan plan;
    uint32_t controls = 0;
    int changeIn[2] = {0, 0};
    for (int64_t t = 0; t < 10 * 60 * 1000;) {
        const int dt = frameTime(rng);
        for (int p = 0; p < 2; ++p)
            if ((changeIn[p] -= dt) <= 0) {
                changeIn[p] = holdMs(rng);
                controls = (controls & ~(0x7FFu << (11 * p))) | keys(rng) << (11 * p);
            }
        addFrame(plan, dt, controls);
        t += dt;
    }
    const std::string path = tempPath("ten-minutes.zrec");
    auto m = std::make_unique<MatchState>();
    writePlan(plan, path, *m);
    return fileBytes(path).size();
}

TEST(ReplayFile, TenMinutesOfPlayStayWellUnderAMegabyte)
{
    constexpr size_t MEGABYTE = 1 << 20;
    // Under Xvfb the game runs at about 50 frames a second; a monitor's
    // refresh gives 60; a fast machine with no refresh limit several hundred.
    for (const auto& rate : {std::pair<int, int>{20, 8}, {16, 1}, {2, 2}}) {
        const size_t bytes = tenMinuteBytes(rate.first, rate.second);
        std::printf("ten minutes at %d +- %d ms a frame: %zu bytes\n", rate.first, rate.second, bytes);
        EXPECT_LT(bytes, MEGABYTE / 2) << rate.first << " ms frames";
    }
}

} // namespace
