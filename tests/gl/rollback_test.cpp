// The golden recordings against a match that is rolled back at every frame,
// and against a mask table that travelled as bytes, as it will between two
// machines whose graphics drivers turn the ships otherwise.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include "draw/catalogue_pictures.h"
#include "replay/mask_bytes.h"
#include "replay/match_checksum.h"
#include "replay/replay_reader.h"
#include "replay/sync_test.h"
#include "sim/frame_step.h"
#include "sim/match_setup.h"
#include "support/gl_window.h"

namespace {

const char* const GOLDEN[] = {GOLDEN_REPLAYS "/weapons_and_shots.zrec", GOLDEN_REPLAYS "/ramming_and_planet.zrec"};

class Rollback : public GlWindow {
protected:
    static void SetUpTestSuite()
    {
        GlWindow::SetUpTestSuite();
        const char* missing = nullptr;
        ASSERT_TRUE(loadTextureCatalogue(&missing)) << missing;
        buildContent(*drawn, cataloguePictures());
        makeAllShipMasks(*drawn, rotatedCataloguePictures());
    }
    static void TearDownTestSuite()
    {
        freeTextureCatalogue();
        GlWindow::TearDownTestSuite();
    }

    static Replay load(const char* path)
    {
        Replay r;
        std::string error;
        EXPECT_TRUE(loadReplay(path, r, error)) << error;
        return r;
    }

    static std::unique_ptr<MatchState> matchOf(const Replay& r, const MatchContent& c)
    {
        MatchChoices choices;
        copyMatchChoices(r.header, choices);
        choices.seed = r.header.seed;
        auto m = std::make_unique<MatchState>();
        setUpMatch(*m, c, choices);
        return m;
    }

    // Every checkpoint of the recording met; the number of frames played.
    static int64_t verifiedFrames(const Replay& r, const MatchContent& c)
    {
        const auto m = matchOf(r, c);
        ReplayCursor cursor = startReplay(r);
        ReplayEvent e;
        int64_t frames = 0;
        while (nextReplayEvent(cursor, e)) {
            if (e.kind == ReplayEventKind::FRAME) {
                stepMatch(*m, c, e.frame.controls, e.frame.frameTime, e.frame.nowMs);
                ++frames;
            } else if (e.kind == ReplayEventKind::MENU) {
                replayMenuVisit(*m, c, e.visit);
            } else if (e.kind == ReplayEventKind::CHECKPOINT && matchChecksum(*m) != e.checksum) {
                ADD_FAILURE() << r.path << " diverged at frame " << e.frames;
                return -1;
            }
        }
        return frames;
    }

    static inline const std::unique_ptr<MatchContent> drawn = std::make_unique<MatchContent>();
};

TEST_F(Rollback, SteppingAgainAfterGoingBackGivesTheSameFramesAtEveryDepth)
{
    for (const char* path : GOLDEN) {
        const Replay r = load(path);
        ASSERT_EQ(maskChecksum(*drawn), r.header.maskChecksum) << "the golden recordings' masks are drawn here";
        for (int depth : {0, 1, MAX_ROLLBACK_FRAMES}) {
            const auto m = matchOf(r, *drawn);
            const SyncTestOutcome outcome = syncTest(r, *m, *drawn, depth);
            EXPECT_TRUE(outcome.passed) << path << " depth " << depth << ": frame " << outcome.failedFrame;
            EXPECT_EQ(outcome.frames, r.frames) << path;
        }
    }
}

TEST_F(Rollback, MasksReadFromBytesReplayTheGoldenRecordings)
{
    const std::vector<uint8_t> bytes = maskTableBytes(*drawn);
    // No pictures at all: every mask comes from the bytes.
    auto received = std::make_unique<MatchContent>();
    buildContent(*received, PictureSource{});
    std::string error;
    ASSERT_TRUE(readMaskTable(bytes, *received, error)) << error;
    EXPECT_EQ(maskChecksum(*received), maskChecksum(*drawn));
    for (const char* path : GOLDEN) {
        const Replay r = load(path);
        EXPECT_EQ(verifiedFrames(r, *received), r.frames) << path;
    }

    const struct {
        const char* damage;
        std::vector<uint8_t> bytes;
    } damaged[] = {
        {"cut short", std::vector<uint8_t>(bytes.begin(), bytes.end() - 9)},
        {"a cell changed", [&] { auto b = bytes; b[bytes.size() / 2] ^= 1; return b; }()},
        {"a byte too many", [&] { auto b = bytes; b.push_back(0); return b; }()},
        {"not a table", std::vector<uint8_t>(100, 'x')},
    };
    for (const auto& d : damaged) {
        auto untouched = std::make_unique<MatchContent>();
        buildContent(*untouched, PictureSource{});
        error.clear();
        EXPECT_FALSE(readMaskTable(d.bytes, *untouched, error)) << d.damage;
        EXPECT_FALSE(error.empty()) << d.damage;
        EXPECT_FALSE(untouched->masks.shipMade[0]) << d.damage << ": the table is taken whole or not at all";
    }
}

} // namespace
