#include "sim/match_content.h"

#include <cstdio>

namespace {

constexpr const char* KILL_VERBS[KILL_MESSAGE_COUNT] = {" shows ", " teaches ", " beats ", " owns "};
constexpr const char* KILL_PHRASES[KILL_MESSAGE_COUNT] = {" how it's done.", " some manners.",
                                                          " with an ugly-stick.", " all days of the week."};

void fillKillMessages(MatchContent& c)
{
    for (int i = 0; i < KILL_MESSAGE_COUNT; ++i) {
        std::snprintf(c.killMessages[i].verb, sizeof c.killMessages[i].verb, "%s", KILL_VERBS[i]);
        std::snprintf(c.killMessages[i].phrase, sizeof c.killMessages[i].phrase, "%s", KILL_PHRASES[i]);
    }
    c.killMessageCount = KILL_MESSAGE_COUNT;
}

} // namespace

void buildContent(MatchContent& c, const PictureSource& planetPictures)
{
    c.frames.used = 0;
    buildWeaponTable(c.weapons, c.fireStates, c.frames);
    buildMapTable(c.maps, c.frames);
    buildShipTable(c.ships, c.frames);
    fillKillMessages(c);
    c.masks = MaskTable{};
    buildFixedMasks(c.masks, c.maps, c.frames, planetPictures);
}

void makeMasksOfShips(MatchContent& c, const int32_t shipIndex[], int count, const RotatedPictureSource& rotated)
{
    for (int i = 0; i < count; ++i)
        makeShipMasks(c.masks, shipIndex[i], c.ships[shipIndex[i]], c.frames, rotated);
}

void makeAllShipMasks(MatchContent& c, const RotatedPictureSource& rotated)
{
    for (int ship = 0; ship < SHIP_COUNT; ++ship)
        makeShipMasks(c.masks, ship, c.ships[ship], c.frames, rotated);
}
