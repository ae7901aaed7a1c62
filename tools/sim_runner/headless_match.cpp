#include "headless_match.h"

#include <SDL/SDL.h>
#include <SDL/SDL_keysym.h>
#include <cstdio>
#include <cstring>
#include <vector>

#include "draw/catalogue_pictures.h"
#include "gfx/texture.h"
#include "gfx/video.h"
#include "sim/match_setup.h"
#include "ui/controls.h"

MatchChoices runnerDefaults()
{
    MatchChoices setUp;
    std::snprintf(setUp.names[0], NAME_BUFFER_SIZE, "Nova");
    std::snprintf(setUp.names[1], NAME_BUFFER_SIZE, "Vega");
    const int32_t weapons[PLAYER_COUNT][WEAPON_SLOTS] = {{1, 3, 5, 8, 0}, {7, 2, 4, 6, 9}};
    std::memcpy(setUp.weapons, weapons, sizeof weapons);
    return setUp;
}

void applySetUp(MatchChoices& setUp, const Command& c)
{
    switch (c.kind) {
    case CommandKind::Seed: setUp.seed = static_cast<uint32_t>(c.value); break;
    case CommandKind::Map: setUp.mapIndex = static_cast<int>(c.value); break;
    case CommandKind::Lives: setUp.lives = static_cast<int>(c.value); break;
    case CommandKind::Ship: setUp.shipIndex[c.player] = static_cast<int>(c.value); break;
    case CommandKind::Weapons:
        for (int slot = 0; slot < WEAPON_SLOTS; ++slot)
            setUp.weapons[c.player][slot] = c.weapons[slot];
        break;
    default: break;
    }
}

bool openHeadlessDisplay(const char* tool)
{
    if (!initVideo(PLAYFIELD_WIDTH, PLAYFIELD_HEIGHT, false)) {
        std::fprintf(stderr, "%s: cannot open a window: %s\n", tool, SDL_GetError());
        return false;
    }
    const char* missing = nullptr;
    if (!loadTextureCatalogue(&missing)) {
        std::fprintf(stderr, "%s: cannot load image %s: %s (run in the game folder)\n", tool, missing ? missing : "",
                     SDL_GetError());
        return false;
    }
    return true;
}

void closeHeadlessDisplay()
{
    freeTextureCatalogue();
    SDL_Quit();
}

void buildHeadlessMatch(MatchState& m, MatchContent& c, const MatchChoices& setUp)
{
    buildContent(c, cataloguePictures());
    makeMasksOfShips(c, setUp.shipIndex, PLAYER_COUNT, rotatedCataloguePictures());
    setUpMatch(m, c, setUp);
}

void makeMasksOfChange(MatchContent& c, const MenuChange& change)
{
    if (change.kind == MenuChangeKind::SHIPS)
        makeMasksOfShips(c, change.ships, PLAYER_COUNT, rotatedCataloguePictures());
}

void placePlayer(MatchState& m, int player, const double place[5])
{
    ShipBody& body = m.players[player].body;
    body.position = Vec2{pixels(place[0]), pixels(place[1])};
    body.velocity = PolarVec{place[2], place[3]};
    setAngle(body.heading, place[4]);
    body.insideArena = insideRect(m.arenaRect, body.position);
    m.players[player].rotationFrame = rotationFrameOf(body.heading.angle);
}

ControlState controlsFor(const RunKeys& keys, bool firstFrame)
{
    std::vector<unsigned char> held(SDLK_LAST, 0);
    for (int symbol : keys.held)
        held[symbol] = 1;
    KeySnapshot snapshot;
    snapshot.held = held.data();
    if (firstFrame)
        for (int symbol : keys.pressed)
            snapshot.pressed[symbol] = true;
    ControlState controls;
    controlsFromKeys(snapshot, DEFAULT_KEY_BINDINGS, controls);
    return controls;
}

