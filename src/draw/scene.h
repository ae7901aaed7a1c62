// One match frame: the map, the ships or their off-screen pointers, the shots,
// the message banner and the HUD.
#pragma once
#include <cstdint>
#include "draw/match_texts.h"
#include "sim/match_state.h"

constexpr int BANNER_X = 512;
constexpr int BANNER_Y = 350;
constexpr int BANNER_FADE_MS = 300; // banner timer units over which the banner fades out
constexpr double AIM_MARKER_DISTANCE = 24414062.5; // 25 px ahead of the ship's centre
constexpr uint8_t POINTER_ALPHA = 120;

// Clear, map, ships, shots, banner and HUD, with texts brought up to date
// (refreshMatchTexts); the caller presents.
void drawMatchFrame(const MatchState& m, const MatchContent& c, const MatchTexts& texts, int32_t nowMs);
// The background, then every planet at its body's position.
void drawMap(const GameMap& map, const AnimationFrames& frames, const Body bodies[], int32_t nowMs);
// Each ship (or its pointer when it is outside the view), or its explosion.
void drawShips(const Player players[], int count, const ControlState& controls, const AnimationFrames& frames,
               int32_t nowMs, const WorldRect& view);
// Nothing while the timer is 0; fades out over its last BANNER_FADE_MS.
void drawBanner(const Sprite& banner, int32_t bannerTimer);
