// zentavor-sfx <folder>: makes every sound effect of the game and writes
// each as <folder>/<name>.wav.
#include <cstdio>
#include <string>

#include "finish.h"
#include "recipes.h"
#include "sound/effect_kinds.h"
#include "wav_writer.h"

namespace {

struct Recipe {
    SoundEffect effect;
    Sound (*make)();
    bool loops = false;
};

constexpr Recipe RECIPES[SOUND_EFFECT_COUNT] = {
    {SoundEffect::FIRE_CORONA_DEVICE, fireCoronaDevice},
    {SoundEffect::FIRE_MINIGUN, fireMinigun},
    {SoundEffect::FIRE_ROCKET_SWARM, fireRocketSwarm},
    {SoundEffect::FIRE_DOOMSDAY, fireDoomsday},
    {SoundEffect::FIRE_ALPHA_CANNON, fireAlphaCannon},
    {SoundEffect::FIRE_HYDRA_LASER, fireHydraLaser},
    {SoundEffect::FIRE_PLASMA_LAUNCHER, firePlasma},
    {SoundEffect::FIRE_CHAINGUN, fireChaingun},
    {SoundEffect::FIRE_MINES, fireMines},
    {SoundEffect::FIRE_ARMAGEDDON, fireArmageddon},
    {SoundEffect::SHIELD_HOLDS, shieldHolds},
    {SoundEffect::SHIELD_BREAKS, shieldBreaks},
    {SoundEffect::HULL_HIT, hullHit},
    {SoundEffect::BLAST, blast},
    {SoundEffect::SHIP_DESTROYED, shipDestroyed},
    {SoundEffect::PLANET_CRASH, planetCrash},
    {SoundEffect::RAMMING, ramming},
    {SoundEffect::BOOST, boost},
    {SoundEffect::ENGINE, engineLoop, true},
    {SoundEffect::KILL_STING, killSting},
    {SoundEffect::NEW_MATCH, newMatch},
    {SoundEffect::MENU_MOVE, menuMove},
    {SoundEffect::MENU_CONFIRM, menuConfirm},
    {SoundEffect::MENU_BACK, menuBack},
    {SoundEffect::MENU_CHANGE, menuChange},
};

// The table runs in the order of the kinds, so that none is left out.
constexpr bool inKindOrder()
{
    for (int k = 0; k < SOUND_EFFECT_COUNT; ++k)
        if (indexOf(RECIPES[k].effect) != k)
            return false;
    return true;
}
static_assert(inKindOrder(), "one recipe per sound effect, in the order of SoundEffect");

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: zentavor-sfx <folder>\n");
        return 2;
    }
    for (const Recipe& recipe : RECIPES) {
        Sound sound = recipe.make();
        if (recipe.loops)
            finishLoop(sound);
        else
            finishOneShot(sound);
        const std::string path = std::string(argv[1]) + "/" + SOUND_EFFECT_NAMES[indexOf(recipe.effect)] + ".wav";
        if (!writeWav(sound, path)) {
            std::fprintf(stderr, "zentavor-sfx: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
