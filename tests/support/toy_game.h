// A small deterministic game for network tests: 4 KB of state stepped from
// both players' inputs, with its own random numbers, a pause bit and a
// checksum; saved slots as plain copies, as the match's are.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>
#include "net/session.h"

constexpr uint32_t TOY_HELD_MASK = 0x0000FFFFu; // bits a guess repeats
constexpr uint32_t TOY_ESCAPE = 1u << 31;       // a key-down edge: asks for the pause
constexpr int TOY_WORDS = 512;

struct ToyState {
    uint64_t words[TOY_WORDS] = {};
    uint64_t random = 0x243F6A8885A308D3ull;
    int32_t frame = 0;
    int32_t spare = 0; // no padding: the checksum reads every byte
};

struct ToyStep {
    int32_t frame = 0;
    uint32_t inputs[2] = {};
};

struct ToyGame {
    ToyState state;
    ToyState slots[NET_SAVE_SLOTS];
    std::vector<NetConfirmedFrame> confirmed;
    std::vector<ToyStep> stepped; // every step, guesses included
    uint32_t pauseOdds = 0;
    int64_t steps = 0;
    int64_t stepsAgain = 0;
};

inline uint64_t toyRandom(uint64_t& x)
{
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    return x;
}

// Every input bit reaches the state, and the state carries it forward. The
// frame pauses on Escape, and with pauseOdds, once in about that many frames
// as the state has it, like a match that is lost.
inline bool stepToy(ToyState& s, const uint32_t inputs[2], uint32_t pauseOdds = 0)
{
    const uint64_t mix = (uint64_t{inputs[0]} << 32 | inputs[1]) * 0x9E3779B97F4A7C15ull;
    for (int i = 0; i < 8; ++i) {
        const int at = static_cast<int>(toyRandom(s.random) % TOY_WORDS);
        s.words[at] = (s.words[at] ^ mix ^ s.words[(at + 1) % TOY_WORDS]) * 0xBF58476D1CE4E5B9ull + i;
    }
    ++s.frame;
    const bool lost = pauseOdds != 0 && s.words[s.frame % TOY_WORDS] % pauseOdds == 0;
    return lost || ((inputs[0] | inputs[1]) & TOY_ESCAPE) != 0;
}

inline uint64_t toyChecksum(const ToyState& s)
{
    uint64_t h = 0xCBF29CE484222325ull;
    const auto* bytes = reinterpret_cast<const uint8_t*>(&s);
    for (size_t i = 0; i < sizeof s; ++i)
        h = (h ^ bytes[i]) * 0x100000001B3ull;
    return h;
}

inline NetGame toyCallbacks(ToyGame& game)
{
    NetGame g;
    g.context = &game;
    g.saveState = [](void* c, int32_t slot) { auto& t = *static_cast<ToyGame*>(c); t.slots[slot] = t.state; };
    g.loadState = [](void* c, int32_t slot) { auto& t = *static_cast<ToyGame*>(c); t.state = t.slots[slot]; };
    g.stepFrame = [](void* c, const uint32_t inputs[2], int32_t frame, bool again) {
        auto& t = *static_cast<ToyGame*>(c);
        t.stepped.push_back({frame, {inputs[0], inputs[1]}});
        ++t.steps;
        t.stepsAgain += again ? 1 : 0;
        return stepToy(t.state, inputs, t.pauseOdds);
    };
    g.checksum = [](void* c) { return toyChecksum(static_cast<ToyGame*>(c)->state); };
    g.confirmFrame = [](void* c, const NetConfirmedFrame& f) { static_cast<ToyGame*>(c)->confirmed.push_back(f); };
    g.writeState = [](void* c, uint8_t* bytes, size_t capacity) -> size_t {
        const ToyState& s = static_cast<ToyGame*>(c)->state;
        if (capacity < sizeof s)
            return 0;
        std::memcpy(bytes, &s, sizeof s);
        return sizeof s;
    };
    g.readState = [](void* c, const uint8_t* bytes, size_t size) {
        if (size != sizeof(ToyState))
            return false;
        std::memcpy(&static_cast<ToyGame*>(c)->state, bytes, size);
        return true;
    };
    g.writeMaskTable = [](void*, std::vector<uint8_t>& bytes) { bytes.assign({'m', 'a', 's', 'k', 's'}); };
    return g;
}

// A player at the keys: held bits that change now and then, an edge now and then.
struct ToyPlayer {
    uint64_t random = 1;
    uint32_t held = 0;
    uint32_t changeOdds = 12; // the held bits change once in about this many frames
};

inline uint32_t nextToyInput(ToyPlayer& p)
{
    const uint64_t r = toyRandom(p.random);
    if (r % p.changeOdds == 0)
        p.held = static_cast<uint32_t>(r >> 20) & TOY_HELD_MASK;
    const uint32_t edge = (r >> 8) % 40 == 0 ? 1u << (16 + (r >> 40) % 15) : 0;
    return p.held | edge;
}
