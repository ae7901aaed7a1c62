// The credits: the title and twelve lines fading in one after another.
#pragma once
#include <cstdint>
#include "gfx/text.h"

constexpr int CREDIT_LINES = 12;
constexpr int CREDIT_TEXTS = CREDIT_LINES + 1; // entry 0 is the title, entry i + 1 line i

struct CreditFades {
    double alpha[CREDIT_TEXTS] = {}; // 0.0 to 255.0
    int32_t delayMs[CREDIT_TEXTS] = {};
};

// All hidden; text k starts 200 ms after text k - 1.
CreditFades startCreditFades();
// A text whose delay has run out gains elapsed / 5 of alpha per frame (255 in 1275 ms).
void stepCreditFades(CreditFades& fades, int elapsedMs);
// Returns when Escape is pressed; Enter does nothing here.
void runCredits(const Sprite& background, const Fonts& fonts);
