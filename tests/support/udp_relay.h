// A lossy link between two UDP ports of this machine, for network tests and
// by hand (zentavor-udp-relay): clients send to the relay's port, the relay
// forwards to the server's, and the server's answers go back to the client
// that spoke last. Each packet, either way, may be delayed, jittered (so
// reordered), lost, doubled, held back past the next ones, or fall in an
// outage. Only loopback addresses are served.
#pragma once
#include <netinet/in.h>
#include <cstdint>
#include <string>
#include <vector>

struct RelayConditions {
    int32_t delayMs = 0;         // one way
    int32_t jitterMs = 0;        // added delay, 0 .. jitterMs
    int32_t lossPercent = 0;
    int32_t duplicatePercent = 0;
    int32_t reorderPercent = 0;  // held back by an extra delayMs / 2 + jitterMs + 5 ms
    int64_t outageEveryMs = 0;   // 0: none; else every so often ...
    int64_t outageForMs = 0;     // ... everything is lost for this long
    uint64_t seed = 1;
};

struct RelayedPacket {
    int64_t dueMs = 0;
    bool toServer = true;
    std::vector<uint8_t> bytes;
};

constexpr size_t RELAY_MAX_HELD = 4096;

struct UdpRelay {
    int listenSocket = -1;   // clients' side
    int upstreamSocket = -1; // the server's side
    sockaddr_in server{};
    sockaddr_in client{};
    bool clientKnown = false;
    uint16_t port = 0;       // where clients send
    RelayConditions conditions;
    uint64_t random = 1;
    int64_t startMs = 0;
    std::vector<RelayedPacket> held;
    int64_t forwarded = 0;
    int64_t dropped = 0;
};

// Listens on 127.0.0.1:listenPort (0: any free port, then read port) and
// forwards to 127.0.0.1:serverPort. False with why when a socket fails.
bool openRelay(UdpRelay& r, uint16_t listenPort, uint16_t serverPort, const RelayConditions& c, int64_t nowMs,
               std::string& why);
// Reads everything waiting and sends everything due, without blocking.
void pumpRelay(UdpRelay& r, int64_t nowMs);
// Milliseconds until the next held packet is due; -1 when none is held.
int64_t msUntilDue(const UdpRelay& r, int64_t nowMs);
void closeRelay(UdpRelay& r);
// Milliseconds of a steady clock.
int64_t relayClockMs();
