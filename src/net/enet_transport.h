// A session's link over ENet: a host with one peer on a UDP port, or a joiner
// connecting to one. Channel 0 is reliable (handshake, settings, messages,
// state transfers), channel 1 carries the unsequenced input packets, with
// ENet's throttle off: it would drop them as the round trip rises.
#pragma once
#include <cstdint>
#include <string>
#include "net/net_link.h"
#include "net/session.h"

struct _ENetHost;
struct _ENetPeer;

struct EnetTransport {
    _ENetHost* host = nullptr;
    _ENetPeer* peer = nullptr;  // the match's peer; nullptr until it connects
    NetRole role = NetRole::Host;
    uint16_t port = 0;          // host: the UDP port it listens on
    bool connected = false;
    std::string target;         // joiner: what it connects to, for messages
    int64_t connectDeadlineMs = 0;
    int64_t connectTimeoutMs = NET_CONNECT_TIMEOUT_MS;
    int64_t refusedJoiners = 0;
    std::string peerName;       // host: shown to joiners it refuses
    // UDP payload counts at the start of the statistics window.
    int64_t rateWindowStartMs = 0;
    uint32_t sentAtWindowStart = 0;
    uint32_t receivedAtWindowStart = 0;
};

// Listens on port (0: any free one, then read t.port; bindAddress: an IPv4
// address, or empty for every interface). False with a one-line reason when
// the port cannot be had.
bool hostOn(EnetTransport& t, uint16_t port, const std::string& bindAddress, int64_t nowMs, std::string& why);
// Starts connecting to "address[:port]"; false with a reason when the
// address cannot be read or resolved.
bool joinAt(EnetTransport& t, const std::string& addressAndPort, int64_t nowMs, std::string& why);
NetLink enetLink(EnetTransport& t);
// Handles all that arrived, without waiting: the peer's connection (the
// handshake starts), its packets (to the session), other joiners (refused),
// a lost peer or a connection that did not come within connectTimeoutMs
// (the session ends), then sends what is queued.
void serviceEnetTransport(EnetTransport& t, NetSession& s, int64_t nowMs);
// Sends what is queued, parts from the peer (waiting at most a few hundred
// milliseconds) and frees everything.
void closeEnetTransport(EnetTransport& t);
