// How each effect is made, before finishing: plain functions that play a
// sound into a fresh buffer.
#pragma once
#include <functional>
#include "synth.h"

// A buffer of the given length, each frame filled by voice(t, frame).
Sound render(double seconds, const std::function<double(double t, size_t frame)>& voice);

Sound fireCoronaDevice();
Sound fireMinigun();
Sound fireRocketSwarm();
Sound fireDoomsday();
Sound fireAlphaCannon();
Sound fireHydraLaser();
Sound firePlasma();
Sound fireChaingun();
Sound fireMines();
Sound fireArmageddon();

Sound shieldHolds();
Sound shieldBreaks();
Sound hullHit();
Sound blast();
Sound shipDestroyed();
Sound planetCrash();
Sound ramming();

Sound boost();
// Exactly ENGINE_LOOP_SECONDS long and periodic: its end runs on into its start.
Sound engineLoop();
constexpr double ENGINE_LOOP_SECONDS = 1.0;

Sound killSting();
Sound newMatch();
Sound menuMove();
Sound menuConfirm();
Sound menuBack();
Sound menuChange();
