// Sides of a match over real UDP on this machine, each with its toy game,
// stepped on the wall clock, with the relay between them where one is given.
#pragma once
#include <unistd.h>
#include <algorithm>
#include <initializer_list>
#include <vector>
#include "net/enet_transport.h"
#include "support/net_pair.h"
#include "support/udp_relay.h"

// A side of a match over real UDP, on the wall clock.
struct EnetSide {
    ToyGame game;
    NetSession session;
    EnetTransport transport;
    ToyPlayer player;
    double nextFrameMs = 0.0;
    std::vector<NetEvent> events;
};

inline void passFrame(EnetSide& s, int64_t nowMs)
{
    serviceEnetTransport(s.transport, s.session, nowMs);
    if (nowMs >= s.nextFrameMs) {
        if (s.session.phase == NetPhase::Running)
            advanceSession(s.session, nextToyInput(s.player), nowMs);
        else
            pumpSession(s.session, nowMs);
        s.nextFrameMs = std::max(s.nextFrameMs + framePeriodMs(s.session), static_cast<double>(nowMs) - 50);
    }
    NetEvent e;
    while (pollEvent(s.session, e))
        s.events.push_back(e);
}

inline const NetEvent* endOf(const EnetSide& s)
{
    for (const NetEvent& e : s.events)
        if (e.type == NetEventType::Ended)
            return &e;
    return nullptr;
}

// Runs the sides (and the relay) for durationMs of wall time, or until all have ended.
inline void runFor(std::initializer_list<EnetSide*> sides, UdpRelay* relay, int64_t durationMs)
{
    const int64_t end = relayClockMs() + durationMs;
    while (relayClockMs() < end) {
        const int64_t now = relayClockMs();
        if (relay)
            pumpRelay(*relay, now);
        bool anyLive = false;
        for (EnetSide* s : sides) {
            passFrame(*s, now);
            anyLive = anyLive || s->session.phase != NetPhase::Ended;
        }
        if (!anyLive)
            return;
        usleep(500);
    }
}

inline void startSide(EnetSide& s, NetRole role, int64_t nowMs)
{
    s.player.random = role == NetRole::Host ? 7 : 8;
    startSession(s.session, toySettings(role), toyCallbacks(s.game), enetLink(s.transport), nowMs);
}

// A host on a free port of 127.0.0.1, the relay in front of it with the given
// conditions, and a joiner connecting through the relay.
inline bool connectThroughRelay(EnetSide& host, EnetSide& joiner, UdpRelay& relay, const RelayConditions& c,
                                std::string& why)
{
    const int64_t now = relayClockMs();
    startSide(host, NetRole::Host, now);
    if (!hostOn(host.transport, 0, "127.0.0.1", now, why) || !openRelay(relay, 0, host.transport.port, c, now, why))
        return false;
    startSide(joiner, NetRole::Joiner, now);
    return joinAt(joiner.transport, "127.0.0.1:" + std::to_string(relay.port), now, why);
}
