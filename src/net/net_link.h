// Where a session's packets go: ENet in the game, an in-memory link in tests.
#pragma once
#include <cstddef>
#include <cstdint>

enum class NetChannel : uint8_t {
    Reliable = 0, // handshake, settings, messages, state transfers: in order, never lost
    Inputs = 1,   // input packets: unsequenced, may be lost, doubled or reordered
};
constexpr int NET_CHANNEL_COUNT = 2;

struct NetLink {
    void* context = nullptr;
    // Hands one packet to the link, which copies the bytes before it returns.
    void (*send)(void* context, NetChannel channel, const uint8_t* bytes, size_t size) = nullptr;
};
