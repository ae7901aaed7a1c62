#include <gtest/gtest.h>
#include <algorithm>
#include "support/net_pair.h"

namespace {

LinkConditions lossy(int32_t roundTripMs, int32_t jitterMs, int32_t lossPercent, int32_t duplicatePercent = 0)
{
    LinkConditions c;
    c.oneWayMs = roundTripMs / 2;
    c.jitterMs = jitterMs;
    c.lossPercent = lossPercent;
    c.duplicatePercent = duplicatePercent;
    return c;
}

// Frames from..to-1 were confirmed on both sides with the same inputs and the
// same state; with replay, the state is also the one the confirmed inputs
// give from the start, so no guess ever leaked into a confirmed frame.
void expectSameConfirmedFrames(const NetPair& p, size_t from, size_t to, bool replay, uint32_t pauseOdds = 0)
{
    const auto& a = p.side[0].game.confirmed;
    const auto& b = p.side[1].game.confirmed;
    ASSERT_LE(to, std::min(a.size(), b.size()));
    ToyState replayed;
    for (size_t f = 0; f < to; ++f) {
        ASSERT_EQ(a[f].frame, static_cast<int32_t>(f));
        ASSERT_EQ(b[f].frame, static_cast<int32_t>(f));
        if (replay) {
            stepToy(replayed, a[f].inputs, pauseOdds);
        }
        if (f < from)
            continue;
        ASSERT_EQ(a[f].inputs[0], b[f].inputs[0]) << "frame " << f;
        ASSERT_EQ(a[f].inputs[1], b[f].inputs[1]) << "frame " << f;
        ASSERT_EQ(a[f].checksum, b[f].checksum) << "frame " << f;
        if (replay) {
            ASSERT_EQ(a[f].checksum, toyChecksum(replayed)) << "frame " << f;
        }
    }
}

// A guess of the peer's input repeats its held bits only: every step that
// carried one of its key-down edges was a step of the frame that had it.
void expectNoGuessedEdges(const PairSide& s)
{
    const int peer = 1 - sessionAgreement(s.session).localPlayer;
    const auto& confirmed = s.game.confirmed;
    for (const ToyStep& step : s.game.stepped) {
        const uint32_t edges = step.inputs[peer] & ~TOY_HELD_MASK;
        if (edges != 0 && static_cast<size_t>(step.frame) < confirmed.size()) {
            ASSERT_EQ(edges, confirmed[step.frame].inputs[peer] & ~TOY_HELD_MASK) << "frame " << step.frame;
        }
    }
}

struct LinkCase {
    const char* name;
    LinkConditions link;
    double joinerClockRate;
    bool rollbacksExpected;
};

TEST(NetSession, ConfirmedFramesAgreeOverLossyLinksAndRollbacksStayWithinBound)
{
    const LinkCase cases[] = {
        {"0 ms", lossy(0, 0, 0), 1.0, false},
        {"60 ms, 2 % loss", lossy(60, 8, 2, 1), 1.0, true},
        {"150 ms, 5 % loss", lossy(150, 15, 5, 1), 1.0, true},
        {"250 ms, 10 % loss", lossy(250, 20, 10, 2), 1.0, true},
        {"60 ms, joiner's clock 1 % fast", lossy(60, 4, 0), 1.01, true},
    };
    const int64_t playMs = 60000;
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto pair = makePair(c.link, c.link);
        pair->side[1].clockRate = c.joinerClockRate;
        runPair(*pair, playMs);
        for (const PairSide& s : pair->side) {
            ASSERT_EQ(s.session.phase, NetPhase::Running);
            const NetStats stats = sessionStats(s.session);
            EXPECT_LE(stats.deepestRollback, NET_MAX_ROLLBACK_FRAMES);
            EXPECT_EQ(stats.rollbacks > 0, c.rollbacksExpected) << stats.rollbacks;
            EXPECT_EQ(stats.desyncs, 0);
            // The side ahead slows down rather than waits: few passes step nothing.
            EXPECT_LT(s.stalls, s.passes / 50) << s.stalls << " of " << s.passes;
            EXPECT_GT(s.game.confirmed.size(), static_cast<size_t>(playMs / NET_DEFAULT_FRAME_MS * 9 / 10));
            expectNoGuessedEdges(s);
        }
        const size_t both = std::min(pair->side[0].game.confirmed.size(), pair->side[1].game.confirmed.size());
        expectSameConfirmedFrames(*pair, 0, both, true);
    }
}

TEST(NetSession, EscapeOnOneSidePausesBothAtTheSameFrameAndBothGoOnFromIt)
{
    auto pair = makePair(lossy(150, 10, 5), lossy(150, 10, 5));
    pair->side[0].escapeOnPass = 400;
    pair->side[0].readyAfterMs = 300;
    pair->side[1].readyAfterMs = 900;
    runPair(*pair, 20000);
    const NetEvent* paused[2] = {findEvent(pair->side[0], NetEventType::Paused),
                                 findEvent(pair->side[1], NetEventType::Paused)};
    const NetEvent* resumed[2] = {findEvent(pair->side[0], NetEventType::Resumed),
                                  findEvent(pair->side[1], NetEventType::Resumed)};
    ASSERT_TRUE(paused[0] && paused[1] && resumed[0] && resumed[1]);
    const int32_t at = paused[0]->frame;
    EXPECT_EQ(paused[1]->frame, at);
    EXPECT_EQ(resumed[0]->frame, at);
    EXPECT_EQ(resumed[1]->frame, at);
    // The host's Escape, given at its pass 400, lands inputDelay frames on.
    EXPECT_EQ(at, 400 + NET_DEFAULT_INPUT_DELAY + 1);
    EXPECT_TRUE(paused[1]->inputs[0] & TOY_ESCAPE);
    const auto& confirmed = pair->side[1].game.confirmed;
    ASSERT_GT(confirmed.size(), static_cast<size_t>(at + 500));
    EXPECT_TRUE(confirmed[at - 1].pauses);
    for (int i = 0; i < 2; ++i) {
        const NetEvent* message = findEvent(pair->side[i], NetEventType::Message);
        ASSERT_TRUE(message);
        EXPECT_EQ(eventText(*message), "menu of " + pair->side[1 - i].session.settings.name);
    }
    expectSameConfirmedFrames(*pair, 0, confirmed.size() - 50, true);

    leaveSession(pair->side[0].session);
    runPair(*pair, 1000);
    const NetEvent* ended = findEvent(pair->side[1], NetEventType::Ended);
    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->reason, NetEndReason::PeerLeft);
    EXPECT_EQ(eventText(*ended), "Hosta left the match");
}

std::vector<int32_t> framesOf(const PairSide& s, NetEventType type)
{
    std::vector<int32_t> frames;
    for (const NetEvent& e : s.events)
        if (e.type == type)
            frames.push_back(e.frame);
    return frames;
}

// Pauses that the state calls for, some of them first seen in a guessed
// frame that a rollback takes back, and Escape on both sides at once.
TEST(NetSession, BothSidesPauseAtTheSameFramesWhateverCausedThePause)
{
    auto pair = makePair(lossy(200, 20, 8, 1), lossy(200, 20, 8, 1));
    for (PairSide& s : pair->side) {
        s.game.pauseOdds = 400;
        s.escapeOnPass = 1500;
        s.readyAfterMs = 50 + 150 * (&s - pair->side);
    }
    runPair(*pair, 60000);
    const std::vector<int32_t> pauses = framesOf(pair->side[0], NetEventType::Paused);
    EXPECT_GT(pauses.size(), 5u);
    EXPECT_EQ(framesOf(pair->side[1], NetEventType::Paused), pauses);
    EXPECT_EQ(framesOf(pair->side[0], NetEventType::Resumed), pauses);
    const auto& confirmed = pair->side[0].game.confirmed;
    std::vector<int32_t> pausing;
    for (const NetConfirmedFrame& f : confirmed)
        if (f.pauses)
            pausing.push_back(f.frame + 1);
    EXPECT_EQ(pausing, std::vector<int32_t>(pauses.begin(), pauses.begin() + pausing.size()));
    const size_t both = std::min(confirmed.size(), pair->side[1].game.confirmed.size());
    expectSameConfirmedFrames(*pair, 0, both, true, 400);
}

// At a short round trip the host's state can arrive before its inputs of the
// frames ahead of it: the joiner confirms those first, so none goes missing.
TEST(NetSession, ADesyncIsFoundOnBothSidesWithinASecondAndMendedFromTheHost)
{
    for (const LinkConditions& link : {lossy(100, 10, 3), lossy(0, 0, 0)}) {
        SCOPED_TRACE(link.oneWayMs);
        auto pair = makePair(link, link);
        runPair(*pair, 5000);
        const int64_t perturbedAtMs = pair->link.nowMs;
        const size_t cleanFrames = pair->side[1].game.confirmed.size();
        pair->side[1].game.state.words[7] ^= 1;
        runPair(*pair, 5000);
        int32_t mendedAt = -1;
        for (const PairSide& s : pair->side) {
            int64_t foundAtMs = 0;
            const NetEvent* found = findEvent(s, NetEventType::DesyncFound, &foundAtMs);
            const NetEvent* mended = findEvent(s, NetEventType::Mended);
            ASSERT_TRUE(found && mended);
            EXPECT_LT(foundAtMs - perturbedAtMs, 1000);
            EXPECT_GE(found->frame, static_cast<int32_t>(cleanFrames) - NET_MAX_ROLLBACK_FRAMES);
            EXPECT_NE(found->localChecksum, found->peerChecksum);
            EXPECT_TRUE(mendedAt < 0 || mendedAt == mended->frame);
            mendedAt = mended->frame;
            EXPECT_EQ(s.session.phase, NetPhase::Running);
            EXPECT_EQ(sessionStats(s.session).desyncs, 1);
        }
        const size_t both = std::min(pair->side[0].game.confirmed.size(), pair->side[1].game.confirmed.size());
        ASSERT_GT(both, static_cast<size_t>(mendedAt + 100));
        expectSameConfirmedFrames(*pair, 0, cleanFrames - NET_MAX_ROLLBACK_FRAMES, false);
        expectSameConfirmedFrames(*pair, static_cast<size_t>(mendedAt), both, false);
    }
}

TEST(NetSession, APeerThatFallsSilentEndsTheSessionAfterTenSeconds)
{
    auto pair = makePair(lossy(40, 0, 0), lossy(40, 0, 0));
    runPair(*pair, 3000);
    pair->side[1].alive = false;
    pair->link.toward[0].cut = pair->link.toward[1].cut = true;
    const int64_t silentFromMs = pair->link.nowMs;
    runPair(*pair, 11000);
    int64_t endedAtMs = 0;
    const NetEvent* ended = findEvent(pair->side[0], NetEventType::Ended, &endedAtMs);
    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->reason, NetEndReason::PeerSilent);
    EXPECT_NE(eventText(*ended).find("Joina"), std::string::npos);
    EXPECT_GE(endedAtMs - silentFromMs, NET_PEER_SILENCE_MS);
    EXPECT_LE(endedAtMs - silentFromMs, NET_PEER_SILENCE_MS + 100);
    ASSERT_TRUE(findEvent(pair->side[0], NetEventType::WaitingBegan));
}

TEST(NetSession, TheHandshakeSettlesTheMatchOrSaysWhatDiffers)
{
    struct Case {
        const char* name;
        const char* joinerVersion;
        uint64_t joinerMasks;
        int32_t joinerDelay;
        int32_t joinerFrameMs;
        bool starts;
        int32_t delay;
        bool maskTableSent;
    };
    const Case cases[] = {
        {"all agree", "1.0.0", 0xABCD, 2, 16, true, 2, false},
        {"the longer delay, the host's frame time", "1.0.0", 0xABCD, 5, 20, true, 5, false},
        {"masks differ", "1.0.0", 0x1234, 2, 16, true, 2, true},
        {"versions differ", "1.1.0", 0xABCD, 2, 16, false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NetSettings joiner = toySettings(NetRole::Joiner);
        joiner.gameVersion = c.joinerVersion;
        joiner.maskChecksum = c.joinerMasks;
        joiner.inputDelay = c.joinerDelay;
        joiner.frameMs = c.joinerFrameMs;
        auto pair = makePair(lossy(50, 0, 0), lossy(50, 0, 0), toySettings(NetRole::Host), joiner);
        runPair(*pair, 500);
        for (int i = 0; i < 2; ++i) {
            const PairSide& s = pair->side[i];
            const NetAgreement& a = sessionAgreement(s.session);
            if (!c.starts) {
                const NetEvent* ended = findEvent(s, NetEventType::Ended);
                ASSERT_TRUE(ended);
                EXPECT_EQ(ended->reason, NetEndReason::VersionMismatch);
                EXPECT_NE(eventText(*ended).find("1.1.0"), std::string::npos) << eventText(*ended);
                continue;
            }
            ASSERT_TRUE(findEvent(s, NetEventType::Started));
            EXPECT_EQ(a.inputDelay, c.delay);
            EXPECT_EQ(a.frameMs, 16);
            EXPECT_EQ(a.seed, sessionAgreement(pair->side[1 - i].session).seed);
            EXPECT_EQ(a.localPlayer, i);
            EXPECT_EQ(a.peerName, pair->side[1 - i].session.settings.name);
            EXPECT_EQ(a.peerChoices, pair->side[1 - i].session.settings.choices);
            EXPECT_EQ(!a.maskTable.empty(), c.maskTableSent && i == 1);
        }
    }
}

TEST(NetSession, DamagedPacketsAreCountedAndChangeNothing)
{
    auto pair = makePair(lossy(60, 5, 2), lossy(60, 5, 2));
    runPair(*pair, 2000);
    const uint8_t damaged[][6] = {
        {0x04, 0x00, 0x01},                   // inputs cut short
        {0x63, 0x01, 0x02, 0x03, 0x04, 0x05}, // no such type
        {0x01, 0x01, 0x00, 0x05, 'x', 'y'},   // a hello cut in its version
        {0x06, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, // an epoch of more than 32 bits
    };
    for (const auto& bytes : damaged) {
        receivePacket(pair->side[0].session, NetChannel::Inputs, bytes, sizeof bytes, pair->link.nowMs);
        receivePacket(pair->side[0].session, NetChannel::Reliable, bytes, sizeof bytes, pair->link.nowMs);
    }
    runPair(*pair, 3000);
    EXPECT_EQ(sessionStats(pair->side[0].session).malformedPackets, 2 * 4);
    EXPECT_EQ(pair->side[0].session.phase, NetPhase::Running);
    const size_t both = std::min(pair->side[0].game.confirmed.size(), pair->side[1].game.confirmed.size());
    expectSameConfirmedFrames(*pair, 0, both, true);
}

} // namespace
