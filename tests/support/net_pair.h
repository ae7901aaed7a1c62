// Two network sessions in one process over a memory link, each flying a toy
// game from its own seeded player, on a clock of whole milliseconds.
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "support/memory_link.h"
#include "support/toy_game.h"

struct PairSide {
    ToyGame game;
    NetSession session;
    ToyPlayer player;
    MemoryLinkEnd end;
    double nextFrameMs = 0.0;
    double clockRate = 1.0;   // this side's milliseconds per test millisecond
    bool alive = true;        // a dead side neither steps nor reads
    std::vector<NetEvent> events;
    std::vector<int64_t> eventTimesMs; // test time of each event
    int64_t passes = 0;       // frames of the game while running
    int64_t stalls = 0;       // of them, passes that stepped nothing
    int64_t escapeOnPass = -1; // press Escape on this pass
    int64_t readyAfterMs = -1; // after a pause: send a message, go on this much later
    int64_t readyAtMs = -1;
};

struct NetPair {
    MemoryLink link;
    PairSide side[2]; // 0 host, 1 joiner
};

inline NetSettings toySettings(NetRole role)
{
    NetSettings s;
    s.role = role;
    s.gameVersion = "1.0.0";
    s.name = role == NetRole::Host ? "Hosta" : "Joina";
    s.choices = {role == NetRole::Host ? uint8_t{1} : uint8_t{2}};
    s.seedHalf = role == NetRole::Host ? 11 : 22;
    s.maskChecksum = 0xABCD;
    s.heldMask = TOY_HELD_MASK;
    s.maxStateBytes = sizeof(ToyState);
    return s;
}

// Both sessions started and connected at time 0; conditions toward host and joiner.
inline std::unique_ptr<NetPair> makePair(const LinkConditions& towardHost, const LinkConditions& towardJoiner,
                                         const NetSettings& host = toySettings(NetRole::Host),
                                         const NetSettings& joiner = toySettings(NetRole::Joiner))
{
    auto pair = std::make_unique<NetPair>();
    pair->link.toward[0].conditions = towardHost;
    pair->link.toward[1].conditions = towardJoiner;
    pair->link.toward[1].random = 0xD1B54A32D192ED03ull;
    const NetSettings* settings[2] = {&host, &joiner};
    for (int i = 0; i < 2; ++i) {
        PairSide& s = pair->side[i];
        s.end = {&pair->link, i};
        s.player.random = 1000 + i;
        startSession(s.session, *settings[i], toyCallbacks(s.game), memoryLinkFor(s.end), 0);
        linkConnected(s.session, 0);
    }
    return pair;
}

inline void passFrame(PairSide& s, int64_t nowMs)
{
    NetSession& n = s.session;
    if (n.phase == NetPhase::Running) {
        uint32_t input = nextToyInput(s.player);
        if (s.passes == s.escapeOnPass)
            input |= TOY_ESCAPE;
        ++s.passes;
        s.stalls += advanceSession(n, input, nowMs) ? 0 : 1;
    } else {
        pumpSession(n, nowMs);
    }
    NetEvent e;
    while (pollEvent(n, e)) {
        if (e.type == NetEventType::Paused && s.readyAfterMs >= 0) {
            const std::string menu = "menu of " + n.settings.name;
            sendMessage(n, reinterpret_cast<const uint8_t*>(menu.data()), menu.size());
            s.readyAtMs = nowMs + s.readyAfterMs;
        }
        s.events.push_back(e);
        s.eventTimesMs.push_back(nowMs);
    }
    if (s.readyAtMs >= 0 && nowMs >= s.readyAtMs) {
        readyToResume(n);
        s.readyAtMs = -1;
    }
}

// Runs both sides for durationMs more of test time.
inline void runPair(NetPair& p, int64_t durationMs)
{
    const int64_t end = p.link.nowMs + durationMs;
    for (int64_t t = p.link.nowMs; t < end; ++t) {
        p.link.nowMs = t;
        for (int i = 0; i < 2; ++i) {
            PairSide& s = p.side[i];
            if (!s.alive)
                continue;
            const double own = t * s.clockRate;
            deliverDue(p.link, i, s.session, static_cast<int64_t>(own));
            if (own >= s.nextFrameMs) {
                passFrame(s, static_cast<int64_t>(own));
                s.nextFrameMs += framePeriodMs(s.session);
            }
        }
    }
    p.link.nowMs = end;
}

// The first event of type, and when it came; nullptr when none did.
inline const NetEvent* findEvent(const PairSide& s, NetEventType type, int64_t* atMs = nullptr)
{
    for (size_t i = 0; i < s.events.size(); ++i)
        if (s.events[i].type == type) {
            if (atMs)
                *atMs = s.eventTimesMs[i];
            return &s.events[i];
        }
    return nullptr;
}
