#include "support/udp_relay.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>

namespace {

constexpr size_t MAX_DATAGRAM = 65536;

uint64_t nextRandom(UdpRelay& r)
{
    r.random ^= r.random << 13;
    r.random ^= r.random >> 7;
    r.random ^= r.random << 17;
    return r.random;
}

bool chance(UdpRelay& r, int32_t percent) { return static_cast<int32_t>(nextRandom(r) % 100) < percent; }

sockaddr_in loopback(uint16_t port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

int openSocket(uint16_t port, std::string& why)
{
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    const sockaddr_in at = loopback(port);
    if (s < 0 || bind(s, reinterpret_cast<const sockaddr*>(&at), sizeof at) != 0 ||
        fcntl(s, F_SETFL, fcntl(s, F_GETFL) | O_NONBLOCK) != 0) {
        why = "cannot open a UDP socket on 127.0.0.1:" + std::to_string(port);
        if (s >= 0)
            close(s);
        return -1;
    }
    return s;
}

bool inOutage(const UdpRelay& r, int64_t nowMs)
{
    const RelayConditions& c = r.conditions;
    return c.outageEveryMs > 0 && (nowMs - r.startMs) % c.outageEveryMs >= c.outageEveryMs - c.outageForMs;
}

void hold(UdpRelay& r, bool toServer, const uint8_t* bytes, size_t size, int64_t nowMs)
{
    const RelayConditions& c = r.conditions;
    if (inOutage(r, nowMs) || chance(r, c.lossPercent) || r.held.size() >= RELAY_MAX_HELD) {
        ++r.dropped;
        return;
    }
    int64_t due = nowMs + c.delayMs + (c.jitterMs > 0 ? static_cast<int64_t>(nextRandom(r) % (c.jitterMs + 1)) : 0);
    if (chance(r, c.reorderPercent))
        due += c.delayMs / 2 + c.jitterMs + 5;
    const int copies = chance(r, c.duplicatePercent) ? 2 : 1;
    for (int i = 0; i < copies; ++i)
        r.held.push_back({due + i, toServer, std::vector<uint8_t>(bytes, bytes + size)});
}

void readAll(UdpRelay& r, int socket, bool fromClient, int64_t nowMs)
{
    uint8_t buffer[MAX_DATAGRAM];
    for (;;) {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t got = recvfrom(socket, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (got < 0)
            return;
        if (fromClient) {
            // Answers go to whoever spoke last, so a restarted client is served too.
            r.client = from;
            r.clientKnown = true;
        } else if (from.sin_port != r.server.sin_port || from.sin_addr.s_addr != r.server.sin_addr.s_addr) {
            continue;
        }
        hold(r, fromClient, buffer, static_cast<size_t>(got), nowMs);
    }
}

} // namespace

bool openRelay(UdpRelay& r, uint16_t listenPort, uint16_t serverPort, const RelayConditions& c, int64_t nowMs,
               std::string& why)
{
    r = UdpRelay{};
    r.conditions = c;
    r.random = c.seed == 0 ? 1 : c.seed;
    r.startMs = nowMs;
    r.server = loopback(serverPort);
    r.listenSocket = openSocket(listenPort, why);
    r.upstreamSocket = r.listenSocket < 0 ? -1 : openSocket(0, why);
    if (r.upstreamSocket < 0) {
        closeRelay(r);
        return false;
    }
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    getsockname(r.listenSocket, reinterpret_cast<sockaddr*>(&bound), &length);
    r.port = ntohs(bound.sin_port);
    return true;
}

void pumpRelay(UdpRelay& r, int64_t nowMs)
{
    readAll(r, r.listenSocket, true, nowMs);
    readAll(r, r.upstreamSocket, false, nowMs);
    std::stable_sort(r.held.begin(), r.held.end(),
                     [](const RelayedPacket& a, const RelayedPacket& b) { return a.dueMs < b.dueMs; });
    size_t sent = 0;
    for (; sent < r.held.size() && r.held[sent].dueMs <= nowMs; ++sent) {
        const RelayedPacket& p = r.held[sent];
        if (!p.toServer && !r.clientKnown)
            continue;
        const int socket = p.toServer ? r.upstreamSocket : r.listenSocket;
        const sockaddr_in& to = p.toServer ? r.server : r.client;
        sendto(socket, p.bytes.data(), p.bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
        ++r.forwarded;
    }
    r.held.erase(r.held.begin(), r.held.begin() + static_cast<std::ptrdiff_t>(sent));
}

int64_t msUntilDue(const UdpRelay& r, int64_t nowMs)
{
    if (r.held.empty())
        return -1;
    const auto first = std::min_element(r.held.begin(), r.held.end(),
                                        [](const RelayedPacket& a, const RelayedPacket& b) { return a.dueMs < b.dueMs; });
    return std::max<int64_t>(0, first->dueMs - nowMs);
}

void closeRelay(UdpRelay& r)
{
    if (r.listenSocket >= 0)
        close(r.listenSocket);
    if (r.upstreamSocket >= 0)
        close(r.upstreamSocket);
    r.listenSocket = r.upstreamSocket = -1;
    r.held.clear();
}

int64_t relayClockMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
