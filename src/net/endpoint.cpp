#include "net/endpoint.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <algorithm>

bool parsePort(const std::string& text, uint16_t& port)
{
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int value = std::stoi(text);
    if (value < 1 || value > 65535)
        return false;
    port = static_cast<uint16_t>(value);
    return true;
}

bool parseEndpoint(const std::string& text, uint16_t defaultPort, Endpoint& out, std::string& why)
{
    const size_t colon = text.find(':');
    if (colon != std::string::npos && text.find(':', colon + 1) != std::string::npos) {
        why = "\"" + text + "\" looks like an IPv6 address; only IPv4 addresses and names can be joined";
        return false;
    }
    out.host = text.substr(0, colon);
    out.port = defaultPort;
    if (out.host.empty()) {
        why = "no address to join in \"" + text + "\"";
        return false;
    }
    if (colon != std::string::npos && !parsePort(text.substr(colon + 1), out.port)) {
        why = "the port in \"" + text + "\" is not a number from 1 to 65535";
        return false;
    }
    return true;
}

std::vector<std::string> localAddresses()
{
    std::vector<std::string> outside, loopback;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return outside;
    for (const ifaddrs* a = list; a; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET || !(a->ifa_flags & IFF_UP))
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
        if (!inet_ntop(AF_INET, &in->sin_addr, text, sizeof text))
            continue;
        ((a->ifa_flags & IFF_LOOPBACK) ? loopback : outside).push_back(text);
    }
    freeifaddrs(list);
    outside.insert(outside.end(), loopback.begin(), loopback.end());
    return outside;
}
