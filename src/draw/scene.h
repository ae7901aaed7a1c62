// One match frame: the map, the ships or their off-screen pointers, the shots,
// the message banner and the HUD.
#pragma once
#include <cstdint>
#include <vector>
#include "draw/match_texts.h"
#include "sim/match_state.h"

constexpr int BANNER_X = 512;
constexpr int BANNER_Y = 350;
constexpr int BANNER_FADE_MS = 300; // banner timer units over which the banner fades out
constexpr double AIM_MARKER_DISTANCE = 24414062.5; // 25 px ahead of the ship's centre
constexpr uint8_t POINTER_ALPHA = 120;

// Clear, map, ships, shots, the display timers, banner and HUD; the caller presents.
void drawMatchFrame(MatchState& m, const MatchTexts& texts, int32_t nowMs);
// The background, then every planet at its body's position; steps the planets' animations.
void drawMap(GameMap& map, const std::vector<Body>& bodies, int32_t nowMs);
// Each ship (or its pointer when it is outside the view) and its explosion; an
// explosion that has ended moves its player to READY_TO_RESPAWN.
void drawShips(Player players[], int count, const ControlState& controls, int32_t nowMs, const WorldRect& view);
// Nothing while the timer is 0; fades out over its last BANNER_FADE_MS.
void drawBanner(const Sprite& banner, int32_t bannerTimer);
