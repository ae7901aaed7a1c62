#include "ui/credits.h"

#include <cstring>
#include "gfx/clock.h"
#include "sim/ticks.h"
#include "gfx/sprite.h"
#include "ui/controls.h"
#include "ui/menu_screen.h"

namespace {

constexpr int FADE_STAGGER_MS = 200;
constexpr double MS_PER_ALPHA_STEP = 5.0;
constexpr double FULL_ALPHA = 255.0;
constexpr int TITLE_Y = 180;
constexpr int FIRST_LINE_Y = 250;
constexpr int LINE_SPACING = 30; // pixels between lines

const char* const CREDIT_TEXT[CREDIT_TEXTS] = {
    "Zentavor",
    "Zentavor was created by:",
    "Code: the Zentavor team",
    "Art: the Zentavor team",
    "Music: the Zentavor team",
    " ",
    "Special thanks to the Zentavor team",
    "for helping us out with the the",
    "graphics and lots more.",
    " ",
    "We, the Zentavor team, hope you",
    "enjoy this game.",
    "Peace! (or whatever)",
};

struct CreditTexts {
    Sprite texts[CREDIT_TEXTS];
};

void renderCreditTexts(CreditTexts& credits, const Fonts& fonts)
{
    for (int k = 0; k < CREDIT_TEXTS; ++k) {
        TTF_Font* font = k == 0 ? fonts.titleFont : fonts.messageFont;
        // A blank line on its black box would show as a dark bar over a planet.
        if (std::strcmp(CREDIT_TEXT[k], " ") == 0)
            renderText(credits.texts[k], CREDIT_TEXT[k], font);
        else
            renderTextOpaque(credits.texts[k], CREDIT_TEXT[k], font);
    }
}

void freeCreditTexts(CreditTexts& credits)
{
    for (Sprite& text : credits.texts)
        clearSprite(text);
}

void drawFaded(const Sprite& text, double alpha, int y)
{
    setDrawColour(makeColour(255, 255, 255, static_cast<uint8_t>(alpha)));
    drawSprite(text, MENU_CENTRE_X, y);
    setDrawColour(baseColour);
}

bool allFadedIn(const CreditFades& fades)
{
    for (double alpha : fades.alpha)
        if (alpha < FULL_ALPHA)
            return false;
    return true;
}

// The credits have their own frame: no clear (the background covers the
// screen) and the keys are read after the background is drawn.
bool runCreditsFrame(MenuScreen& screen, CreditFades& fades, const CreditTexts& credits, const Sprite& background)
{
    screen.nowMs = ticksNow();
    screen.elapsedMs = ticksBetween(screen.previousTicks, screen.nowMs);
    screen.previousTicks = ticksNow();
    stepCreditFades(fades, screen.elapsedMs);
    drawMenuBackground(background, SUBSCREEN_TINT);
    readMenuInput(screen.input);
    drawFaded(credits.texts[0], fades.alpha[0], TITLE_Y);
    for (int line = 0; line < CREDIT_LINES; ++line)
        drawFaded(credits.texts[line + 1], fades.alpha[line + 1], FIRST_LINE_Y + LINE_SPACING * line);
    presentFrame();
    screen.nextFrameInMs = allFadedIn(fades) ? STILL_PICTURE : MENU_FRAME_MS;
    return screen.input.escape || screen.input.stop;
}

} // namespace

CreditFades startCreditFades()
{
    CreditFades fades;
    for (int k = 0; k < CREDIT_TEXTS; ++k)
        fades.delayMs[k] = FADE_STAGGER_MS * k;
    return fades;
}

void stepCreditFades(CreditFades& fades, int elapsedMs)
{
    for (int k = 0; k < CREDIT_TEXTS; ++k) {
        fades.delayMs[k] -= elapsedMs;
        if (fades.delayMs[k] >= 0)
            continue;
        fades.alpha[k] += elapsedMs / MS_PER_ALPHA_STEP;
        if (fades.alpha[k] > FULL_ALPHA)
            fades.alpha[k] = FULL_ALPHA;
    }
}

void runCredits(const Sprite& background, const Fonts& fonts)
{
    CreditTexts credits;
    renderCreditTexts(credits, fonts);
    CreditFades fades = startCreditFades();
    MenuScreen screen;
    screen.previousTicks = ticksNow();
    bool leave = false;
    while (!leave) {
        waitForMenuFrame(screen);
        leave = runCreditsFrame(screen, fades, credits, background);
    }
    playMenuCue(MenuCue::BACK);
    freeCreditTexts(credits);
}
