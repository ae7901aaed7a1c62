// zentavor-udp-relay: a lossy link between two UDP ports of this machine, to
// try a network match on bad connections where the kernel has no netem.
#include <poll.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "support/udp_relay.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) { stopRequested = 1; }

const char* const USAGE =
    "usage: zentavor-udp-relay --listen PORT --to PORT [options]\n"
    "Forwards UDP between 127.0.0.1:PORT (where clients send) and 127.0.0.1:PORT (the server).\n"
    "  --delay MS        one-way delay, each way\n"
    "  --jitter MS       extra delay from 0 to MS, which reorders packets\n"
    "  --loss PCT        packets lost, each way\n"
    "  --duplicate PCT   packets sent twice\n"
    "  --reorder PCT     packets held back past the next ones\n"
    "  --outage EVERY:FOR  every EVERY ms, FOR ms when nothing gets through\n"
    "  --seed N          the random sequence (default 1)\n"
    "  --seconds N       stop after N seconds (default: at SIGTERM or SIGINT)\n";

bool readNumber(const char* text, long long low, long long high, long long& value)
{
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && value >= low && value <= high;
}

struct Options {
    long long listen = -1;
    long long to = -1;
    long long seconds = 0;
    RelayConditions conditions;
};

bool readOption(const std::string& name, const char* value, Options& o)
{
    long long n = 0;
    RelayConditions& c = o.conditions;
    if (name == "--outage") {
        long long every = 0, length = 0;
        const char* colon = std::strchr(value, ':');
        if (!colon || !readNumber(std::string(value, colon).c_str(), 1, 3600000, every) ||
            !readNumber(colon + 1, 0, every, length))
            return false;
        c.outageEveryMs = every;
        c.outageForMs = length;
        return true;
    }
    const bool percent = name == "--loss" || name == "--duplicate" || name == "--reorder";
    if (!readNumber(value, 0, percent ? 100 : 65535000, n))
        return false;
    if (name == "--listen") o.listen = n;
    else if (name == "--to") o.to = n;
    else if (name == "--delay") c.delayMs = static_cast<int32_t>(n);
    else if (name == "--jitter") c.jitterMs = static_cast<int32_t>(n);
    else if (name == "--loss") c.lossPercent = static_cast<int32_t>(n);
    else if (name == "--duplicate") c.duplicatePercent = static_cast<int32_t>(n);
    else if (name == "--reorder") c.reorderPercent = static_cast<int32_t>(n);
    else if (name == "--seed") c.seed = static_cast<uint64_t>(n);
    else if (name == "--seconds") o.seconds = n;
    else return false;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc || !readOption(argv[i], argv[i + 1], o)) {
            std::fprintf(stderr, "zentavor-udp-relay: cannot read \"%s\"\n%s", argv[i], USAGE);
            return 2;
        }
    }
    if (o.listen < 0 || o.listen > 65535 || o.to < 1 || o.to > 65535) {
        std::fputs(USAGE, stderr);
        return 2;
    }
    UdpRelay relay;
    std::string why;
    if (!openRelay(relay, static_cast<uint16_t>(o.listen), static_cast<uint16_t>(o.to), o.conditions, relayClockMs(),
                   why)) {
        std::fprintf(stderr, "zentavor-udp-relay: %s\n", why.c_str());
        return 1;
    }
    std::signal(SIGTERM, requestStop);
    std::signal(SIGINT, requestStop);
    std::printf("relaying 127.0.0.1:%u -> 127.0.0.1:%lld\n", relay.port, o.to);
    std::fflush(stdout);
    const int64_t endMs = o.seconds > 0 ? relayClockMs() + o.seconds * 1000 : -1;
    while (!stopRequested && (endMs < 0 || relayClockMs() < endMs)) {
        const int64_t now = relayClockMs();
        pumpRelay(relay, now);
        const int64_t due = msUntilDue(relay, now);
        pollfd fds[2] = {{relay.listenSocket, POLLIN, 0}, {relay.upstreamSocket, POLLIN, 0}};
        poll(fds, 2, static_cast<int>(due < 0 || due > 10 ? 10 : due));
    }
    std::printf("forwarded %lld, dropped %lld\n", static_cast<long long>(relay.forwarded),
                static_cast<long long>(relay.dropped));
    closeRelay(relay);
    return 0;
}
