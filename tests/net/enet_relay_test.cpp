#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include "support/enet_pair.h"

namespace {

TEST(EnetMatch, TwoSidesThroughALossyRelayConfirmTheSameFramesAndTurnASecondJoinerAway)
{
    auto host = std::make_unique<EnetSide>();
    auto joiner = std::make_unique<EnetSide>();
    auto intruder = std::make_unique<EnetSide>();
    RelayConditions bad;
    bad.delayMs = 40;
    bad.jitterMs = 10;
    bad.lossPercent = 5;
    bad.duplicatePercent = 1;
    bad.reorderPercent = 2;
    UdpRelay relay;
    std::string why;
    ASSERT_TRUE(connectThroughRelay(*host, *joiner, relay, bad, why)) << why;
    runFor({host.get(), joiner.get()}, &relay, 5000);

    startSide(*intruder, NetRole::Joiner, relayClockMs());
    ASSERT_TRUE(joinAt(intruder->transport, "127.0.0.1:" + std::to_string(host->transport.port), relayClockMs(), why));
    runFor({host.get(), joiner.get(), intruder.get()}, &relay, 1000);
    const NetEvent* refused = endOf(*intruder);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->reason, NetEndReason::Refused);
    EXPECT_EQ(eventText(*refused), "the host refused: it is already in a match with Joina");

    for (const EnetSide* s : {host.get(), joiner.get()}) {
        ASSERT_EQ(s->session.phase, NetPhase::Running);
        const NetStats stats = sessionStats(s->session);
        EXPECT_GT(stats.wireSentPerSecond, stats.sentPerSecond); // ENet's headers and acknowledgements
        EXPECT_NEAR(stats.pingMs, 2 * bad.delayMs + bad.jitterMs, 25);
        EXPECT_LE(stats.deepestRollback, NET_MAX_ROLLBACK_FRAMES);
        EXPECT_EQ(stats.desyncs, 0);
    }
    EXPECT_GT(sessionStats(host->session).rollbacks + sessionStats(joiner->session).rollbacks, 0);
    const size_t both = std::min(host->game.confirmed.size(), joiner->game.confirmed.size());
    ASSERT_GT(both, 250u);
    for (size_t f = 0; f < both; ++f)
        ASSERT_EQ(host->game.confirmed[f].checksum, joiner->game.confirmed[f].checksum) << "frame " << f;

    leaveSession(joiner->session);
    closeEnetTransport(joiner->transport);
    runFor({host.get()}, &relay, 1000);
    const NetEvent* left = endOf(*host);
    ASSERT_TRUE(left);
    EXPECT_EQ(left->reason, NetEndReason::PeerLeft);
    closeEnetTransport(host->transport);
    closeEnetTransport(intruder->transport);
    closeRelay(relay);
}

TEST(EnetMatch, JoiningWhereNobodyListensGivesUpAtTheConnectTimeout)
{
    // A port that was free a moment ago, and nobody listens on now.
    EnetTransport probe;
    std::string why;
    ASSERT_TRUE(hostOn(probe, 0, "127.0.0.1", 0, why)) << why;
    const uint16_t port = probe.port;
    closeEnetTransport(probe);

    auto joiner = std::make_unique<EnetSide>();
    const int64_t start = relayClockMs();
    startSide(*joiner, NetRole::Joiner, start);
    joiner->transport.connectTimeoutMs = 1000;
    ASSERT_TRUE(joinAt(joiner->transport, "127.0.0.1:" + std::to_string(port), start, why)) << why;
    runFor({joiner.get()}, nullptr, 3000);
    const NetEvent* ended = endOf(*joiner);
    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->reason, NetEndReason::ConnectFailed);
    EXPECT_EQ(eventText(*ended), "no answer from 127.0.0.1:" + std::to_string(port) + " within 1 s");
    EXPECT_LT(relayClockMs() - start, 1500);
    closeEnetTransport(joiner->transport);
}

} // namespace
