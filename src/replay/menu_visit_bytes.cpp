#include "replay/menu_visit_bytes.h"

#include "content/map_table.h"

namespace {

void putChange(ByteWriter& out, const MenuChange& change)
{
    putByte(out, static_cast<uint8_t>(change.kind));
    switch (change.kind) {
    case MenuChangeKind::SHIPS:
        for (int32_t ship : change.ships)
            putByte(out, static_cast<uint8_t>(ship));
        break;
    case MenuChangeKind::WEAPONS:
        for (const auto& slots : change.weapons)
            for (int32_t weapon : slots)
                putByte(out, static_cast<uint8_t>(weapon));
        break;
    case MenuChangeKind::MAP: putByte(out, static_cast<uint8_t>(change.map)); break;
    }
}

MenuVisitRead damaged(std::string& what, const std::string& why)
{
    what = why;
    return MenuVisitRead::DAMAGED;
}

MenuVisitRead getChange(ByteReader& in, MenuChange& change, std::string& what)
{
    uint8_t kind = 0;
    if (!getByte(in, kind))
        return MenuVisitRead::TRUNCATED;
    bool inRange = true;
    bool complete = false;
    switch (kind) {
    case static_cast<uint8_t>(MenuChangeKind::SHIPS):
        complete = getIndices(in, change.ships, PLAYER_COUNT, SHIP_COUNT, inRange);
        break;
    case static_cast<uint8_t>(MenuChangeKind::WEAPONS):
        complete = getIndices(in, &change.weapons[0][0], PLAYER_COUNT * WEAPON_SLOTS, WEAPON_COUNT, inRange);
        break;
    case static_cast<uint8_t>(MenuChangeKind::MAP): complete = getIndices(in, &change.map, 1, MAP_COUNT, inRange); break;
    default: return damaged(what, "a menu change of unknown kind " + std::to_string(kind));
    }
    change.kind = static_cast<MenuChangeKind>(kind);
    if (!complete)
        return MenuVisitRead::TRUNCATED;
    return inRange ? MenuVisitRead::WHOLE : damaged(what, "a ship, weapon or map out of range in a menu change");
}

} // namespace

void putMenuVisit(std::vector<uint8_t>& out, const MenuOutcome& visit)
{
    const size_t start = out.size();
    out.resize(start + MAX_VARINT_BYTES + visit.changes.size() * MENU_CHANGE_MAX_BYTES + 1);
    ByteWriter w{out.data() + start, 0};
    putVarint(w, visit.changes.size());
    for (const MenuChange& change : visit.changes)
        putChange(w, change);
    putByte(w, static_cast<uint8_t>((visit.newMatch ? MENU_NEW_MATCH : 0) | (visit.quit ? MENU_QUIT : 0)));
    out.resize(start + w.size);
}

MenuVisitRead getMenuVisit(ByteReader& in, MenuOutcome& visit, std::string& what)
{
    uint64_t count = 0;
    if (!getVarint(in, count))
        return in.at >= in.size ? MenuVisitRead::TRUNCATED : damaged(what, "a number too long");
    if (count > MAX_MENU_CHANGES)
        return damaged(what, "a menu visit of " + std::to_string(count) + " changes");
    // Every change takes at least two bytes.
    if (count > (in.size - in.at) / 2)
        return MenuVisitRead::TRUNCATED;
    visit.changes.assign(count, MenuChange{});
    for (MenuChange& change : visit.changes) {
        const MenuVisitRead read = getChange(in, change, what);
        if (read != MenuVisitRead::WHOLE)
            return read;
    }
    uint8_t flags = 0;
    if (!getByte(in, flags))
        return MenuVisitRead::TRUNCATED;
    if (flags & ~(MENU_NEW_MATCH | MENU_QUIT))
        return damaged(what, "unknown menu flags");
    visit.newMatch = flags & MENU_NEW_MATCH;
    visit.quit = flags & MENU_QUIT;
    return MenuVisitRead::WHOLE;
}

bool getIndices(ByteReader& in, int32_t* values, int count, int limit, bool& inRange)
{
    for (int i = 0; i < count; ++i) {
        uint8_t b = 0;
        if (!getByte(in, b))
            return false;
        values[i] = b;
        inRange = inRange && b < limit;
    }
    return true;
}
