#include "app/net_choices.h"

#include <algorithm>
#include <cstdio>
#include "gfx/utf8.h"
#include "replay/byte_coding.h"
#include "replay/menu_visit_bytes.h"

SideChoices sideChoicesOf(const GameConfig& config)
{
    SideChoices s;
    s.shipIndex = config.shipIndex[0];
    std::copy(config.weapons[0], config.weapons[0] + WEAPON_SLOTS, s.weapons);
    s.mapIndex = config.mapIndex;
    s.lives = config.lives;
    return s;
}

std::vector<uint8_t> choicesBytes(const SideChoices& choices)
{
    std::vector<uint8_t> bytes(CHOICES_BYTES);
    ByteWriter w{bytes.data(), 0};
    putByte(w, CHOICES_VERSION);
    putByte(w, static_cast<uint8_t>(choices.shipIndex));
    for (int32_t weapon : choices.weapons)
        putByte(w, static_cast<uint8_t>(weapon));
    putByte(w, static_cast<uint8_t>(choices.mapIndex));
    putLittle(w, static_cast<uint32_t>(choices.lives), 4);
    return bytes;
}

bool readChoices(const std::vector<uint8_t>& bytes, SideChoices& choices)
{
    ByteReader in{bytes.data(), bytes.size(), 0};
    uint8_t version = 0;
    uint64_t lives = 0;
    bool inRange = true;
    SideChoices read;
    const bool whole = bytes.size() == CHOICES_BYTES && getByte(in, version) && version == CHOICES_VERSION &&
                       getIndices(in, &read.shipIndex, 1, SHIP_COUNT, inRange) &&
                       getIndices(in, read.weapons, WEAPON_SLOTS, WEAPON_COUNT, inRange) &&
                       getIndices(in, &read.mapIndex, 1, MAP_COUNT, inRange) && getLittle(in, 4, lives);
    if (!whole || !inRange)
        return false;
    read.lives = static_cast<int32_t>(static_cast<uint32_t>(lives));
    choices = read;
    return true;
}

std::string matchName(const std::string& name)
{
    const std::string word = name.substr(0, name.find('\0'));
    return word.substr(0, bytesOfCharacters(word, NAME_CHARACTERS));
}

MatchChoices netMatchChoices(const SideChoices sides[PLAYER_COUNT], const std::string names[PLAYER_COUNT],
                             uint32_t seed)
{
    MatchChoices c;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        std::snprintf(c.names[p], NAME_BUFFER_SIZE, "%s", matchName(names[p]).c_str());
        c.shipIndex[p] = sides[p].shipIndex;
        std::copy(sides[p].weapons, sides[p].weapons + WEAPON_SLOTS, c.weapons[p]);
    }
    c.mapIndex = sides[0].mapIndex;
    c.lives = sides[0].lives;
    c.seed = seed;
    return c;
}

MenuOutcome mergeMenuVisits(const MatchState& m, const MenuOutcome visits[PLAYER_COUNT])
{
    MenuChange ships{MenuChangeKind::SHIPS};
    MenuChange weapons{MenuChangeKind::WEAPONS};
    MenuChange map{MenuChangeKind::MAP};
    bool shipsChanged = false, weaponsChanged = false, mapChanged = false;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        ships.ships[p] = m.players[p].shipIndex;
        std::copy(m.players[p].weaponRows, m.players[p].weaponRows + WEAPON_SLOTS, weapons.weapons[p]);
    }
    MenuOutcome merged;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        for (const MenuChange& change : visits[p].changes) {
            if (change.kind == MenuChangeKind::SHIPS) {
                ships.ships[p] = change.ships[p];
                shipsChanged = true;
            } else if (change.kind == MenuChangeKind::WEAPONS) {
                std::copy(change.weapons[p], change.weapons[p] + WEAPON_SLOTS, weapons.weapons[p]);
                weaponsChanged = true;
            } else if (p == 0) {
                map.map = change.map;
                mapChanged = true;
            }
        }
        merged.newMatch = merged.newMatch || visits[p].newMatch;
    }
    if (shipsChanged)
        merged.changes.push_back(ships);
    if (weaponsChanged)
        merged.changes.push_back(weapons);
    if (mapChanged)
        merged.changes.push_back(map);
    return merged;
}

GameConfig configAfterNetMatch(const GameConfig& atStart, const MatchState& m, int localPlayer)
{
    GameConfig config = atStart;
    const Player& own = m.players[localPlayer];
    config.shipIndex[0] = own.shipIndex;
    std::copy(own.weaponRows, own.weaponRows + WEAPON_SLOTS, config.weapons[0]);
    return config;
}
