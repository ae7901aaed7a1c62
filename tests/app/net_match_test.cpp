// Two network sessions in one process over a lossy memory link, each side
// the real match flown by a computer pilot, with pauses, menu changes and
// lost matches on the way.
#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include "app/net_choices.h"
#include "app/net_match_game.h"
#include "pilot/pilot.h"
#include "replay/match_checksum.h"
#include "replay/menu_visit_bytes.h"
#include "support/memory_link.h"
#include "support/sim_match.h"

namespace {

constexpr int64_t MENU_MS = 300; // a player's time in the menu

struct MatchSide {
    std::unique_ptr<MatchState> live = std::make_unique<MatchState>();
    NetMatchGame game;
    std::unique_ptr<NetSession> session = std::make_unique<NetSession>();
    MemoryLinkEnd end;
    Pilot pilot;
    double nextFrameMs = 0.0;
    std::vector<uint64_t> confirmed; // the session's checksum of every confirmed frame, in order
    MenuOutcome visits[PLAYER_COUNT];
    int64_t readyAtMs = -1;
    int64_t pauses = 0;
    int64_t resumes = 0;
    int64_t escapeOnFrame = -1;
    bool ended = false;
    int64_t desyncs = 0;
    int64_t mends = 0;
};

struct MatchPair {
    MemoryLink link;
    MatchSide side[2];
};

NetSettings settingsOf(NetRole role, const MatchState& m)
{
    NetSettings s;
    s.role = role;
    s.gameVersion = "test";
    s.seedHalf = role == NetRole::Host ? 5 : 6;
    s.maskChecksum = maskChecksum(simContent());
    s.name = role == NetRole::Host ? "Alice" : "Bob";
    SideChoices own;
    own.shipIndex = role == NetRole::Host ? 0 : 3;
    own.lives = 2; // matches are lost every half minute or so
    s.choices = choicesBytes(own);
    s.heldMask = heldInputMask();
    s.maxStateBytes = sizeof m;
    return s;
}

// On Started both sides set the match up from both sides' choices, as the game does.
void setUpFromAgreement(MatchSide& s)
{
    const NetAgreement& a = sessionAgreement(*s.session);
    const int local = a.localPlayer;
    SideChoices sides[PLAYER_COUNT];
    ASSERT_TRUE(readChoices(s.session->settings.choices, sides[local]));
    ASSERT_TRUE(readChoices(a.peerChoices, sides[1 - local]));
    const std::string names[PLAYER_COUNT] = {local == 0 ? s.session->settings.name : a.peerName,
                                             local == 1 ? s.session->settings.name : a.peerName};
    setUpMatch(*s.live, simContent(), netMatchChoices(sides, names, static_cast<uint32_t>(a.seed)));
    beginConfirmedCopy(s.game);
    startPilot(s.pilot, local, PilotLevel::Hard, static_cast<uint32_t>(a.seed));
    s.game.frameMs = a.frameMs;
}

// A menu visit of this side's player: its own ship one further, its weapons turned by one.
MenuOutcome ownVisit(const MatchState& m, int player)
{
    MenuOutcome visit;
    MenuChange ship{MenuChangeKind::SHIPS};
    MenuChange weapons{MenuChangeKind::WEAPONS};
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        ship.ships[p] = m.players[p].shipIndex;
        for (int slot = 0; slot < WEAPON_SLOTS; ++slot)
            weapons.weapons[p][slot] = m.players[p].weaponRows[slot];
    }
    ship.ships[player] = (ship.ships[player] + 1) % SHIP_COUNT;
    for (int slot = 0; slot < WEAPON_SLOTS; ++slot)
        weapons.weapons[player][slot] = (weapons.weapons[player][slot] + 1) % WEAPON_COUNT;
    visit.changes = {ship, weapons, MenuChange{MenuChangeKind::MAP, {}, {}, (m.currentMapIndex + 1) % MAP_COUNT}};
    return visit;
}

void takeEvent(MatchSide& s, const NetEvent& e, int64_t nowMs)
{
    NetSession& n = *s.session;
    const int local = sessionAgreement(n).localPlayer;
    switch (e.type) {
    case NetEventType::Started: setUpFromAgreement(s); break;
    case NetEventType::Paused: {
        ++s.pauses;
        s.visits[local] = ownVisit(*s.live, local);
        std::vector<uint8_t> bytes;
        putMenuVisit(bytes, s.visits[local]);
        ASSERT_TRUE(sendMessage(n, bytes.data(), bytes.size()));
        s.readyAtMs = nowMs + MENU_MS;
        break;
    }
    case NetEventType::Message: {
        ByteReader in{e.bytes, e.size, 0};
        std::string what;
        ASSERT_EQ(getMenuVisit(in, s.visits[1 - local], what), MenuVisitRead::WHOLE) << what;
        break;
    }
    case NetEventType::Resumed:
        ++s.resumes;
        makeNetMenuVisit(s.game, mergeMenuVisits(*s.live, s.visits));
        break;
    case NetEventType::Ended: s.ended = true; break;
    case NetEventType::DesyncFound: ++s.desyncs; break;
    case NetEventType::Mended:
        ++s.mends;
        takeMendedMatch(s.game);
        break;
    default: break;
    }
}

void takeEvents(MatchSide& s, int64_t nowMs)
{
    NetEvent e;
    while (pollEvent(*s.session, e))
        takeEvent(s, e, nowMs);
}

// Events first: the match is set up on Started, before its first frame.
void passFrame(MatchSide& s, int64_t nowMs)
{
    NetSession& n = *s.session;
    takeEvents(s, nowMs);
    if (n.phase == NetPhase::Running) {
        PlayerControls controls;
        WeaponCycling cycling;
        pilotFrame(s.pilot, *s.live, simContent(), controls, cycling);
        const bool escape = n.frame == s.escapeOnFrame;
        advanceSession(n, packPlayerInput(controls, cycling, escape), nowMs);
    } else {
        pumpSession(n, nowMs);
    }
    takeEvents(s, nowMs);
    if (s.readyAtMs >= 0 && nowMs >= s.readyAtMs) {
        readyToResume(n);
        s.readyAtMs = -1;
    }
    constexpr int32_t HISTORY_MASK = NET_HISTORY_FRAMES - 1;
    for (int32_t f = static_cast<int32_t>(s.confirmed.size()); f <= n.confirmed; ++f)
        s.confirmed.push_back(n.confirmedChecksums[f & HISTORY_MASK].checksum);
}

std::unique_ptr<MatchPair> makeMatchPair(const LinkConditions& link)
{
    auto pair = std::make_unique<MatchPair>();
    pair->link.toward[0].conditions = link;
    pair->link.toward[1].conditions = link;
    pair->link.toward[1].random = 0xD1B54A32D192ED03ull;
    for (int i = 0; i < 2; ++i) {
        MatchSide& s = pair->side[i];
        s.end = {&pair->link, i};
        prepareNetMatchGame(s.game, *s.live, simContent());
        const NetSettings settings = settingsOf(i == 0 ? NetRole::Host : NetRole::Joiner, *s.live);
        startSession(*s.session, settings, netGameOf(s.game), memoryLinkFor(s.end), 0);
        linkConnected(*s.session, 0);
    }
    return pair;
}

void runMatchPair(MatchPair& p, int64_t durationMs)
{
    for (int64_t t = 0; t < durationMs; ++t) {
        p.link.nowMs = t;
        for (int i = 0; i < 2; ++i) {
            MatchSide& s = p.side[i];
            deliverDue(p.link, i, *s.session, t);
            if (t >= s.nextFrameMs) {
                passFrame(s, t);
                s.nextFrameMs += framePeriodMs(*s.session);
            }
        }
    }
}

struct LinkCase {
    const char* name;
    int32_t roundTripMs;
    int32_t lossPercent;
};

TEST(NetMatch, ConfirmedMatchesAgreeFrameByFrameOverLossyLinks)
{
    const LinkCase cases[] = {{"0 ms", 0, 0}, {"60 ms, 3 % loss", 60, 3}, {"150 ms, 5 % loss", 150, 5},
                              {"250 ms, 10 % loss", 250, 10}};
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.name);
        LinkConditions link;
        link.oneWayMs = c.roundTripMs / 2;
        link.jitterMs = c.roundTripMs / 10;
        link.lossPercent = c.lossPercent;
        auto pair = makeMatchPair(link);
        pair->side[1].escapeOnFrame = 400;
        runMatchPair(*pair, 60000);
        const MatchSide& host = pair->side[0];
        const MatchSide& joiner = pair->side[1];
        const size_t frames = std::min(host.confirmed.size(), joiner.confirmed.size());
        EXPECT_GT(frames, 3000u);
        for (size_t f = 0; f < frames; ++f)
            ASSERT_EQ(host.confirmed[f], joiner.confirmed[f]) << "frame " << f;
        for (const MatchSide* s : {&host, &joiner}) {
            const NetStats stats = sessionStats(*s->session);
            EXPECT_FALSE(s->ended);
            EXPECT_EQ(stats.desyncs, 0);
            EXPECT_EQ(s->game.confirmedDiffering, 0);
            EXPECT_EQ(s->game.framesConfirmed, static_cast<int64_t>(s->confirmed.size()));
            EXPECT_GE(s->pauses, 2); // the Escape and at least one lost match
            EXPECT_LE(stats.deepestRollback, NET_MAX_ROLLBACK_FRAMES);
            if (c.roundTripMs > 0) {
                EXPECT_GT(stats.rollbacks, 0);
            }
        }
        // Each side's own menu changes reached the other: the ships were turned at every pause.
        EXPECT_EQ(host.live->players[1].shipIndex, (3 + joiner.resumes) % SHIP_COUNT);
        EXPECT_EQ(joiner.live->players[0].shipIndex, host.resumes % SHIP_COUNT);
    }
}

// The joiner's shown match is nudged once; both sides find it, the host's
// match replaces the joiner's, and the confirmed frames go on in step on both
// sides, none missing: each side's recording holds every frame.
TEST(NetMatch, ANudgedMatchIsFoundAndMendedWithEveryFrameConfirmedOnBothSides)
{
    for (int32_t roundTripMs : {0, 16, 80}) {
        SCOPED_TRACE(roundTripMs);
        LinkConditions link;
        link.oneWayMs = roundTripMs / 2;
        auto pair = makeMatchPair(link);
        pair->side[1].game.desyncTestFrame = 300;
        runMatchPair(*pair, 20000);
        const MatchSide& host = pair->side[0];
        const MatchSide& joiner = pair->side[1];
        for (const MatchSide* s : {&host, &joiner}) {
            EXPECT_EQ(s->desyncs, 1);
            EXPECT_EQ(s->mends, 1);
            EXPECT_EQ(s->game.framesConfirmed, static_cast<int64_t>(s->confirmed.size()));
        }
        EXPECT_EQ(host.game.confirmedDiffering, 0);
        const size_t frames = std::min(host.confirmed.size(), joiner.confirmed.size());
        EXPECT_GT(frames, 1000u);
        size_t differing = 0;
        for (size_t f = 0; f < frames; ++f)
            differing += host.confirmed[f] != joiner.confirmed[f] ? 1 : 0;
        // The nudge shows until the mend, within a second of it.
        EXPECT_GT(differing, 0u);
        EXPECT_LT(differing, 80u);
        EXPECT_EQ(host.confirmed.back(), joiner.confirmed[host.confirmed.size() - 1]);
    }
}

} // namespace
