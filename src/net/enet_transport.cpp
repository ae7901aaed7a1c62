#include "net/enet_transport.h"

#include <enet/enet.h>
#include "net/endpoint.h"
#include "net/packet_codec.h"

namespace {

constexpr size_t PEER_SLOTS = 4; // the match's peer and a few being turned away
// ENet's own timeout comes after the session's silence limit, which says more.
constexpr enet_uint32 ENET_TIMEOUT_MS = NET_PEER_SILENCE_MS + 2000;
constexpr int64_t GOODBYE_MS = 300;
// Nothing a peer sends may need more memory than a state transfer.
constexpr size_t MAX_ENET_PACKET_BYTES = NET_MAX_BLOB_BYTES + 64;

void configurePeer(ENetPeer* peer)
{
    // No acceleration or deceleration: the throttle stays fully open.
    enet_peer_throttle_configure(peer, ENET_PEER_PACKET_THROTTLE_INTERVAL, 0, 0);
    enet_peer_timeout(peer, 0, ENET_TIMEOUT_MS, ENET_TIMEOUT_MS);
}

void sendOverEnet(void* context, NetChannel channel, const uint8_t* bytes, size_t size)
{
    auto& t = *static_cast<EnetTransport*>(context);
    if (!t.peer || !t.connected)
        return;
    const enet_uint32 flags = channel == NetChannel::Reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED;
    ENetPacket* packet = enet_packet_create(bytes, size, flags);
    if (packet && enet_peer_send(t.peer, static_cast<enet_uint8>(channel), packet) != 0)
        enet_packet_destroy(packet);
    // Out now, not at the next service a frame later: that frame would be
    // added to every input's way to the peer.
    enet_host_flush(t.host);
}

ENetHost* createHost(const ENetAddress* address, size_t peers)
{
    ENetHost* host = enet_host_create(address, peers, NET_CHANNEL_COUNT, 0, 0);
    if (host) {
        host->maximumPacketSize = MAX_ENET_PACKET_BYTES;
        host->maximumWaitingData = 2 * MAX_ENET_PACKET_BYTES;
    }
    return host;
}

void refuse(EnetTransport& t, ENetPeer* peer)
{
    ++t.refusedJoiners;
    const std::string text = "it is already in a match" + (t.peerName.empty() ? "" : " with " + t.peerName);
    std::vector<uint8_t> bytes;
    encodeBlob(PacketType::Refusal, {reinterpret_cast<const uint8_t*>(text.data()), text.size()}, bytes);
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
    if (packet && enet_peer_send(peer, 0, packet) != 0)
        enet_packet_destroy(packet);
    enet_peer_disconnect_later(peer, 0);
}

void onConnect(EnetTransport& t, NetSession& s, const ENetEvent& e, int64_t nowMs)
{
    if (t.role == NetRole::Joiner) {
        if (e.peer != t.peer)
            return;
    } else if (e.data != NET_CONNECT_MAGIC) {
        enet_peer_disconnect_now(e.peer, 0);
        return;
    } else if (t.peer) {
        refuse(t, e.peer);
        return;
    } else {
        t.peer = e.peer;
    }
    t.connected = true;
    configurePeer(t.peer);
    linkConnected(s, nowMs);
}

void onDisconnect(EnetTransport& t, NetSession& s, const ENetEvent& e)
{
    if (e.peer != t.peer)
        return;
    const bool wasConnected = t.connected;
    t.peer = nullptr;
    t.connected = false;
    if (wasConnected)
        linkLost(s, NetEndReason::PeerGone, "the connection to the other side was lost");
    else
        linkLost(s, NetEndReason::ConnectFailed, "could not connect to " + t.target);
}

void noteWireRates(EnetTransport& t, NetSession& s, int64_t nowMs)
{
    const int64_t spanMs = nowMs - t.rateWindowStartMs;
    if (spanMs < NET_STATS_WINDOW_MS)
        return;
    s.wireSentPerSecond = static_cast<int32_t>((t.host->totalSentData - t.sentAtWindowStart) * 1000ll / spanMs);
    s.wireReceivedPerSecond =
        static_cast<int32_t>((t.host->totalReceivedData - t.receivedAtWindowStart) * 1000ll / spanMs);
    t.sentAtWindowStart = t.host->totalSentData;
    t.receivedAtWindowStart = t.host->totalReceivedData;
    t.rateWindowStartMs = nowMs;
}

} // namespace

bool hostOn(EnetTransport& t, uint16_t port, const std::string& bindAddress, int64_t nowMs, std::string& why)
{
    if (enet_initialize() != 0) {
        why = "the network library could not start";
        return false;
    }
    ENetAddress address{ENET_HOST_ANY, port};
    if (!bindAddress.empty() && enet_address_set_host_ip(&address, bindAddress.c_str()) != 0) {
        why = "\"" + bindAddress + "\" is not an IPv4 address";
        return false;
    }
    t.role = NetRole::Host;
    t.host = createHost(&address, PEER_SLOTS);
    if (!t.host) {
        why = "UDP port " + std::to_string(port) + " is in use or cannot be opened";
        return false;
    }
    ENetAddress bound{};
    enet_socket_get_address(t.host->socket, &bound);
    t.port = bound.port;
    t.rateWindowStartMs = nowMs;
    return true;
}

bool joinAt(EnetTransport& t, const std::string& addressAndPort, int64_t nowMs, std::string& why)
{
    Endpoint where;
    if (!parseEndpoint(addressAndPort, NET_DEFAULT_PORT, where, why))
        return false;
    if (enet_initialize() != 0) {
        why = "the network library could not start";
        return false;
    }
    ENetAddress address{ENET_HOST_ANY, where.port};
    if (enet_address_set_host(&address, where.host.c_str()) != 0) {
        why = "no IPv4 address is known for \"" + where.host + "\"";
        return false;
    }
    t.role = NetRole::Joiner;
    t.target = where.host + ":" + std::to_string(where.port);
    t.host = createHost(nullptr, 1);
    if (!t.host) {
        why = "no UDP socket could be opened";
        return false;
    }
    t.peer = enet_host_connect(t.host, &address, NET_CHANNEL_COUNT, NET_CONNECT_MAGIC);
    if (!t.peer) {
        why = "could not start connecting to " + t.target;
        return false;
    }
    enet_peer_timeout(t.peer, 0, ENET_TIMEOUT_MS, ENET_TIMEOUT_MS);
    t.connectDeadlineMs = nowMs + t.connectTimeoutMs;
    t.rateWindowStartMs = nowMs;
    return true;
}

NetLink enetLink(EnetTransport& t)
{
    NetLink link;
    link.context = &t;
    link.send = sendOverEnet;
    return link;
}

void serviceEnetTransport(EnetTransport& t, NetSession& s, int64_t nowMs)
{
    if (!t.host)
        return;
    t.peerName = s.agreed.peerName;
    ENetEvent e;
    while (enet_host_service(t.host, &e, 0) > 0) {
        if (e.type == ENET_EVENT_TYPE_CONNECT) {
            onConnect(t, s, e, nowMs);
        } else if (e.type == ENET_EVENT_TYPE_DISCONNECT) {
            onDisconnect(t, s, e);
        } else if (e.type == ENET_EVENT_TYPE_RECEIVE) {
            if (e.peer == t.peer && t.connected && e.channelID < NET_CHANNEL_COUNT)
                receivePacket(s, static_cast<NetChannel>(e.channelID), e.packet->data, e.packet->dataLength, nowMs);
            enet_packet_destroy(e.packet);
        }
    }
    if (t.role == NetRole::Joiner && !t.connected && t.peer && nowMs >= t.connectDeadlineMs) {
        enet_peer_reset(t.peer);
        t.peer = nullptr;
        linkLost(s, NetEndReason::ConnectFailed,
                 "no answer from " + t.target + " within " + std::to_string(t.connectTimeoutMs / 1000) + " s");
    }
    noteWireRates(t, s, nowMs);
    enet_host_flush(t.host);
}

void closeEnetTransport(EnetTransport& t)
{
    if (!t.host)
        return;
    if (t.peer && t.connected) {
        enet_peer_disconnect_later(t.peer, 0);
        ENetEvent e;
        const enet_uint32 start = enet_time_get();
        while (enet_time_get() - start < GOODBYE_MS && enet_host_service(t.host, &e, 10) >= 0) {
            if (e.type == ENET_EVENT_TYPE_RECEIVE)
                enet_packet_destroy(e.packet);
            if (e.type == ENET_EVENT_TYPE_DISCONNECT && e.peer == t.peer)
                break;
        }
    }
    enet_host_destroy(t.host);
    enet_deinitialize();
    t = EnetTransport{};
}
