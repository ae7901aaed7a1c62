// Bytes per second each way in a network match at the game's frame time:
// the payload of our packets over the memory link in several conditions,
// and the real UDP payload (ENet's headers, acknowledgements and pings
// included) over 127.0.0.1 with and without the relay. A measurement to
// report, not a test: scripts/bench.sh runs it.
//   net_benchmark [seconds of ENet play, default 10]
#include <cstdio>
#include <cstdlib>
#include <memory>
#include "support/enet_pair.h"

namespace {

struct Pattern {
    const char* name;
    uint32_t changeOdds;
};

const Pattern PATTERNS[] = {
    {"held keys change every 12 frames or so", 12},
    {"held keys change every other frame", 2},
};

LinkConditions linkOf(int32_t roundTripMs, int32_t lossPercent)
{
    LinkConditions c;
    c.oneWayMs = roundTripMs / 2;
    c.jitterMs = roundTripMs / 10;
    c.lossPercent = lossPercent;
    return c;
}

void measureMemoryLink()
{
    const int64_t playMs = 60000;
    const struct {
        int32_t roundTripMs, lossPercent;
    } links[] = {{0, 0}, {80, 5}, {150, 5}, {250, 10}};
    for (const Pattern& pattern : PATTERNS)
        for (const auto& l : links) {
            auto pair = makePair(linkOf(l.roundTripMs, l.lossPercent), linkOf(l.roundTripMs, l.lossPercent));
            for (PairSide& s : pair->side)
                s.player.changeOdds = pattern.changeOdds;
            runPair(*pair, playMs);
            const LinkQuality& q = pair->side[0].session.quality;
            std::printf("  memory link, %3d ms round trip, %2d %% loss, %s: host sends %lld B/s, receives %lld B/s"
                        " (our packets, %.1f a second)\n",
                        l.roundTripMs, l.lossPercent, pattern.name, static_cast<long long>(q.bytesSent * 1000 / playMs),
                        static_cast<long long>(q.bytesReceived * 1000 / playMs), q.packetsSent * 1000.0 / playMs);
        }
}

void measureEnet(int seconds, const char* name, const RelayConditions& c)
{
    auto host = std::make_unique<EnetSide>();
    auto joiner = std::make_unique<EnetSide>();
    UdpRelay relay;
    std::string why;
    if (!connectThroughRelay(*host, *joiner, relay, c, why)) {
        std::printf("  %s: %s\n", name, why.c_str());
        return;
    }
    runFor({host.get(), joiner.get()}, &relay, 2000); // the handshake and the first window
    long long sent[2] = {}, received[2] = {}, samples = 0;
    for (int second = 0; second < seconds; ++second) {
        runFor({host.get(), joiner.get()}, &relay, 1000);
        const NetStats h = sessionStats(host->session), j = sessionStats(joiner->session);
        sent[0] += h.wireSentPerSecond;
        received[0] += h.wireReceivedPerSecond;
        sent[1] += j.wireSentPerSecond;
        received[1] += j.wireReceivedPerSecond;
        ++samples;
    }
    std::printf("  ENet over 127.0.0.1, %s, %d s: host sends %lld B/s and receives %lld B/s of UDP payload,"
                " joiner sends %lld B/s and receives %lld B/s\n    host: %s\n",
                name, seconds, sent[0] / samples, received[0] / samples, sent[1] / samples, received[1] / samples,
                statsLine(sessionStats(host->session)).c_str());
    leaveSession(joiner->session);
    closeEnetTransport(joiner->transport);
    closeEnetTransport(host->transport);
    closeRelay(relay);
}

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    std::printf("frame time %d ms (%.1f frames a second), input delay %d, target under 4096 B/s each way\n",
                NET_DEFAULT_FRAME_MS, 1000.0 / NET_DEFAULT_FRAME_MS, NET_DEFAULT_INPUT_DELAY);
    measureMemoryLink();
    measureEnet(seconds, "direct", RelayConditions{});
    RelayConditions bad;
    bad.delayMs = 40;
    bad.jitterMs = 10;
    bad.lossPercent = 5;
    measureEnet(seconds, "relay at 80 ms round trip, 20 ms jitter, 5 % loss", bad);
    return 0;
}
