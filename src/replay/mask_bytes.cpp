#include "replay/mask_bytes.h"

#include <cstring>
#include "replay/match_checksum.h"

namespace {

constexpr char MASK_MAGIC[4] = {'Z', 'M', 'S', 'K'};

// The table's masks in their fixed order.
template <typename Table, typename Visit>
void forEachMask(Table& masks, Visit visit)
{
    for (auto& blast : masks.blasts)
        visit(blast);
    for (auto& map : masks.planets)
        for (auto& planet : map)
            visit(planet);
    for (auto& ship : masks.ships)
        for (auto& turned : ship)
            visit(turned);
}

size_t cellCount(int32_t width, int32_t height)
{
    return width > 0 && height > 0 ? static_cast<size_t>(width) * static_cast<size_t>(height) : 0;
}

void putInt32(std::vector<uint8_t>& out, int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(bits >> (8 * i)));
}

struct Reader {
    const std::vector<uint8_t>& bytes;
    size_t at = 0;

    bool has(size_t n) const { return bytes.size() - at >= n; }
    uint64_t take(int byteCount)
    {
        uint64_t v = 0;
        for (int i = 0; i < byteCount; ++i)
            v |= uint64_t{bytes[at++]} << (8 * i);
        return v;
    }
};

bool readMask(Reader& r, CollisionMask& mask)
{
    if (!r.has(16))
        return false;
    mask.width = static_cast<int32_t>(r.take(4));
    mask.height = static_cast<int32_t>(r.take(4));
    mask.offsetX = static_cast<int32_t>(r.take(4));
    mask.offsetY = static_cast<int32_t>(r.take(4));
    const auto within = [](int32_t v) { return v >= -MASK_MAX_SIDE_PX && v <= MASK_MAX_SIDE_PX; };
    if (!within(mask.width) || !within(mask.height) || !within(mask.offsetX) || !within(mask.offsetY))
        return false;
    const size_t cells = cellCount(mask.width, mask.height);
    if (!r.has(cells))
        return false;
    mask.cells.assign(r.bytes.begin() + static_cast<std::ptrdiff_t>(r.at),
                      r.bytes.begin() + static_cast<std::ptrdiff_t>(r.at + cells));
    r.at += cells;
    for (uint8_t cell : mask.cells)
        if (cell > 1)
            return false;
    return true;
}

} // namespace

std::vector<uint8_t> maskTableBytes(const MatchContent& c)
{
    std::vector<uint8_t> out(MASK_MAGIC, MASK_MAGIC + sizeof MASK_MAGIC);
    out.push_back(static_cast<uint8_t>(MASK_BYTES_VERSION & 0xFF));
    out.push_back(static_cast<uint8_t>(MASK_BYTES_VERSION >> 8));
    forEachMask(c.masks, [&out](const CollisionMask& mask) {
        putInt32(out, mask.width);
        putInt32(out, mask.height);
        putInt32(out, mask.offsetX);
        putInt32(out, mask.offsetY);
        const size_t cells = cellCount(mask.width, mask.height);
        for (size_t i = 0; i < cells; ++i)
            out.push_back(i < mask.cells.size() ? mask.cells[i] : 0);
    });
    const uint64_t checksum = maskChecksum(c);
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<uint8_t>(checksum >> (8 * i)));
    return out;
}

bool readMaskTable(const std::vector<uint8_t>& bytes, MatchContent& c, std::string& error)
{
    Reader r{bytes};
    if (!r.has(6) || std::memcmp(bytes.data(), MASK_MAGIC, sizeof MASK_MAGIC) != 0) {
        error = "not a mask table";
        return false;
    }
    r.at = sizeof MASK_MAGIC;
    if (r.take(2) != MASK_BYTES_VERSION) {
        error = "a mask table of another version";
        return false;
    }
    MatchContent read = c;
    bool whole = true;
    forEachMask(read.masks, [&](CollisionMask& mask) { whole = whole && readMask(r, mask); });
    if (!whole || !r.has(8)) {
        error = "a damaged mask table";
        return false;
    }
    const uint64_t checksum = r.take(8);
    if (r.at != bytes.size()) {
        error = "a mask table with bytes after its end";
        return false;
    }
    for (bool& made : read.masks.shipMade)
        made = true;
    if (maskChecksum(read) != checksum) {
        error = "a mask table whose checksum does not match its masks";
        return false;
    }
    c.masks = read.masks;
    return true;
}
