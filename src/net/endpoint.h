// Where to join: "NAME", "NAME:PORT", "A.B.C.D" or "A.B.C.D:PORT" (IPv4
// only: ENet 1.3 has no IPv6), and the addresses this machine can be joined at.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Endpoint {
    std::string host;
    uint16_t port = 0;
};

// The port falls back to defaultPort when none is given. False, with a
// one-line reason, on an empty name, a port outside 1..65535 or an IPv6 address.
bool parseEndpoint(const std::string& text, uint16_t defaultPort, Endpoint& out, std::string& why);
// A port given alone ("-host 29170"): 1..65535.
bool parsePort(const std::string& text, uint16_t& port);
// The IPv4 addresses of this machine's interfaces that are up, loopback last.
std::vector<std::string> localAddresses();
