// The fixed figures of a network match: the port, the timing bounds and the
// sizes every packet and queue is held to.
#pragma once
#include <cstddef>
#include <cstdint>

// UDP port a host listens on when none is given ("-host" alone).
constexpr uint16_t NET_DEFAULT_PORT = 29170;
// Raised whenever a packet's layout changes; both sides must agree.
constexpr uint16_t NET_PROTOCOL_VERSION = 1;
// Sent with ENet's connect request; anything else knocking is turned away.
constexpr uint32_t NET_CONNECT_MAGIC = 0x5A4E5431; // "ZNT1"

constexpr int32_t NET_DEFAULT_FRAME_MS = 16;
constexpr int32_t NET_MIN_FRAME_MS = 5;
constexpr int32_t NET_MAX_FRAME_MS = 100;
constexpr int32_t NET_DEFAULT_INPUT_DELAY = 2; // frames
constexpr int32_t NET_MAX_INPUT_DELAY = 8;     // frames

// Frames stepped on a guess of the peer's input before the session waits for
// it; also the deepest rollback.
constexpr int32_t NET_MAX_ROLLBACK_FRAMES = 12;
// Saved states the game keeps: every frame still open to a rollback, the
// frame being stepped and one to spare.
constexpr int32_t NET_SAVE_SLOTS = NET_MAX_ROLLBACK_FRAMES + 2;
// Frames of input and checksums kept; a power of two, far more than the
// frames both sides can be apart.
constexpr int32_t NET_HISTORY_FRAMES = 256;
// Inputs carried by one packet: the oldest the peer has not acknowledged.
constexpr int32_t NET_MAX_INPUTS_PER_PACKET = 64;

constexpr int64_t NET_CONNECT_TIMEOUT_MS = 10000;
constexpr int64_t NET_HANDSHAKE_TIMEOUT_MS = 10000;
constexpr int64_t NET_PEER_SILENCE_MS = 10000;
// Waiting for the peer shorter than this is not shown.
constexpr int64_t NET_WAITING_SHOWN_MS = 750;
// Between packets while no frame is stepped (menus, waiting): keeps the
// connection and the peer's view of us fresh.
constexpr int64_t NET_KEEPALIVE_MS = 100;
// Statistics cover this window.
constexpr int64_t NET_STATS_WINDOW_MS = 1000;

// Frame pacing: the side ahead stretches its frames by at most this share,
// and by this much a frame of lead.
constexpr double NET_MAX_SLOWDOWN = 0.10;
constexpr double NET_SLOWDOWN_PER_FRAME = 0.03;
// Leads under this many frames are left alone: the estimate is that noisy.
constexpr double NET_LEAD_DEADBAND_FRAMES = 0.75;

constexpr size_t NET_MAX_NAME_BYTES = 64;
constexpr size_t NET_MAX_VERSION_BYTES = 32;
constexpr size_t NET_MAX_CHOICES_BYTES = 1024;
constexpr size_t NET_MAX_MESSAGE_BYTES = 1024;
constexpr size_t NET_MAX_REASON_BYTES = 160;
constexpr size_t NET_MAX_INPUT_PACKET_BYTES = 1024;
constexpr size_t NET_MAX_CONTROL_PACKET_BYTES = 4096;
// A whole match state or mask table on its way to the joiner.
constexpr size_t NET_MAX_BLOB_BYTES = 16u * 1024 * 1024;
// Events the game has not read yet; a peer that fills it is cut off.
constexpr int32_t NET_EVENT_QUEUE = 64;
