// Two sessions joined in memory, on a clock the test drives: each direction
// delays packets, jitters them (which reorders the input packets), loses,
// doubles and cuts them off for a while, from its own seeded generator. The
// reliable channel keeps its order and loses nothing, as ENet's does; in an
// outage its packets wait for the end.
#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>
#include "net/session.h"

struct LinkConditions {
    int32_t oneWayMs = 0;
    int32_t jitterMs = 0;      // added delay, 0 .. jitterMs
    int32_t lossPercent = 0;   // of input packets
    int32_t duplicatePercent = 0;
    int64_t outageFromMs = -1; // input packets sent in [from, to) are lost
    int64_t outageToMs = -1;
};

struct InFlight {
    int64_t dueMs = 0;
    uint64_t order = 0;
    NetChannel channel = NetChannel::Inputs;
    std::vector<uint8_t> bytes;
};

struct LinkDirection {
    LinkConditions conditions;
    uint64_t random = 0x9E3779B97F4A7C15ull;
    std::vector<InFlight> flying;
    int64_t lastReliableDueMs = 0;
    uint64_t sent = 0;
    bool cut = false; // everything sent is lost
};

// Bounded like every queue: a runaway sender loses packets, it does not grow memory.
constexpr size_t MEMORY_LINK_MAX_FLYING = 4096;

struct MemoryLink {
    int64_t nowMs = 0;
    LinkDirection toward[2]; // toward[i]: packets for side i
};

struct MemoryLinkEnd {
    MemoryLink* link = nullptr;
    int side = 0;
};

inline uint64_t linkRandom(LinkDirection& d)
{
    d.random ^= d.random << 13;
    d.random ^= d.random >> 7;
    d.random ^= d.random << 17;
    return d.random;
}

inline bool linkChance(LinkDirection& d, int32_t percent) { return static_cast<int32_t>(linkRandom(d) % 100) < percent; }

inline void queuePacket(LinkDirection& d, int64_t nowMs, NetChannel channel, const uint8_t* bytes, size_t size)
{
    const LinkConditions& c = d.conditions;
    const bool inOutage = nowMs >= c.outageFromMs && nowMs < c.outageToMs;
    const bool inputs = channel == NetChannel::Inputs;
    if (d.cut || d.flying.size() >= MEMORY_LINK_MAX_FLYING || (inputs && (inOutage || linkChance(d, c.lossPercent))))
        return;
    const int32_t jitter = c.jitterMs > 0 ? static_cast<int32_t>(linkRandom(d) % (c.jitterMs + 1)) : 0;
    int64_t due = nowMs + c.oneWayMs + jitter;
    if (!inputs) {
        due = std::max({due, d.lastReliableDueMs, inOutage ? c.outageToMs + c.oneWayMs : 0});
        d.lastReliableDueMs = due;
    }
    const int copies = inputs && linkChance(d, c.duplicatePercent) ? 2 : 1;
    for (int i = 0; i < copies; ++i)
        d.flying.push_back({due + i, d.sent++, channel, std::vector<uint8_t>(bytes, bytes + size)});
}

inline NetLink memoryLinkFor(MemoryLinkEnd& end)
{
    NetLink l;
    l.context = &end;
    l.send = [](void* context, NetChannel channel, const uint8_t* bytes, size_t size) {
        auto& e = *static_cast<MemoryLinkEnd*>(context);
        queuePacket(e.link->toward[1 - e.side], e.link->nowMs, channel, bytes, size);
    };
    return l;
}

// Hands side its packets that are due, in the order they come due; the
// session hears of them at its own clock's sideNowMs.
inline void deliverDue(MemoryLink& link, int side, NetSession& s, int64_t sideNowMs)
{
    LinkDirection& d = link.toward[side];
    std::vector<InFlight> due;
    auto notYet = [&link](const InFlight& p) { return p.dueMs > link.nowMs; };
    auto split = std::stable_partition(d.flying.begin(), d.flying.end(), notYet);
    due.assign(std::make_move_iterator(split), std::make_move_iterator(d.flying.end()));
    d.flying.erase(split, d.flying.end());
    std::stable_sort(due.begin(), due.end(), [](const InFlight& a, const InFlight& b) {
        return a.dueMs != b.dueMs ? a.dueMs < b.dueMs : a.order < b.order;
    });
    for (const InFlight& p : due)
        receivePacket(s, p.channel, p.bytes.data(), p.bytes.size(), sideNowMs);
}
