#include "ui/menu_screen.h"

#include <SDL/SDL.h>
#include <algorithm>
#include "gfx/clock.h"
#include "sim/ticks.h"
#include "gfx/sprite.h"
#include "gfx/video.h"
#include "sound/effects.h"
#include "ui/controls.h"
#include "ui/stop_signals.h"

static MenuHook menuHook;

void setMenuHook(const MenuHook& hook) { menuHook = hook; }

Sprite captureMenuBackground()
{
    Sprite background;
    if (graphics.windowWidth == PLAYFIELD_WIDTH && graphics.windowHeight == PLAYFIELD_HEIGHT) {
        // One row above the window: the frozen match sits one pixel lower
        // than it was played, as it always has.
        setSprite(background, captureScreen(0, -1, PLAYFIELD_WIDTH, PLAYFIELD_HEIGHT));
    } else {
        // The playfield is scaled onto other windows: its letterbox holds it.
        const PixelRect& r = graphics.playfieldViewport;
        setSprite(background, captureScreen(r.x, r.y, r.width, r.height));
    }
    return background;
}

void openSubScreen(MenuScreen& screen)
{
    screen.previousTicks = ticksNow();
    readMenuInput(screen.input);
    screen.input = MenuInput{};
}

// How often a waiting menu looks for events, as SDL_WaitEvent does.
constexpr int32_t EVENT_POLL_MS = 10;

static bool eventWaiting()
{
    updatePads();
    SDL_PumpEvents();
    SDL_Event event;
    return SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_ALLEVENTS) > 0;
}

void waitForMenuFrame(const MenuScreen& screen)
{
    const bool moving = screen.nextFrameInMs != STILL_PICTURE;
    const int32_t movesAt = screen.nowMs + std::min(screen.nextFrameInMs, MENU_FRAME_MS);
    const int32_t earliest = screen.nowMs + MENU_FRAME_MS;
    for (;;) {
        if (menuHook.pass && menuHook.pass(menuHook.context))
            return;
        const int32_t now = ticksNow();
        if (moving && now >= movesAt)
            return;
        if ((now >= earliest && eventWaiting()) || stopRequested())
            return;
        const int32_t wait = moving ? movesAt - now : now < earliest ? earliest - now : EVENT_POLL_MS;
        SDL_Delay(static_cast<Uint32>(std::clamp(wait, 1, EVENT_POLL_MS)));
    }
}

void beginMenuFrame(MenuScreen& screen)
{
    readMenuInput(screen.input);
    screen.nowMs = ticksNow();
    screen.elapsedMs = ticksBetween(screen.previousTicks, screen.nowMs);
    screen.previousTicks = ticksNow();
    clearScreen();
}

void drawMenuBackground(const Sprite& background, int tint)
{
    if (!background.texture)
        return;
    const uint8_t redGreen = static_cast<uint8_t>(tint);
    setDrawColour(makeColour(redGreen, redGreen, 255, 255));
    // Stretched over the whole playfield, whatever size the window had.
    const Texture* t = background.texture;
    drawTexturedQuad(t, makePixelRect(0, 0, static_cast<int>(t->width), static_cast<int>(t->height)),
                     makePixelRect(0, 0, PLAYFIELD_WIDTH, PLAYFIELD_HEIGHT));
    setDrawColour(baseColour);
    if (menuHook.notice)
        drawSprite(*menuHook.notice, MENU_CENTRE_X, NOTICE_Y);
}

void drawMarker(const Vec2& point)
{
    drawSprite(catalogue[MARKER_TEXTURE], static_cast<int>(point.x), static_cast<int>(point.y));
}

void drawFromLeft(const Sprite& s, int x, int y) { drawSprite(s, x + static_cast<int>(s.halfWidth), y); }

void drawFromRight(const Sprite& s, int x, int y) { drawSprite(s, x - static_cast<int>(s.halfWidth), y); }

int stepSelection(int selection, int step, int count) { return ((selection + step) % count + count) % count; }

int moveSelection(int selection, const MenuInput& input, int count)
{
    if (input.up)
        selection = stepSelection(selection, -1, count);
    if (input.down)
        selection = stepSelection(selection, +1, count);
    return selection;
}

MenuCue menuCueOf(bool changed, bool back, bool confirmed, bool moved)
{
    if (changed)
        return MenuCue::CHANGE;
    if (back)
        return MenuCue::BACK;
    if (confirmed)
        return MenuCue::CONFIRM;
    return moved ? MenuCue::MOVE : MenuCue::NONE;
}

void playMenuCue(MenuCue cue)
{
    constexpr float MENU_PAN = 0.5f;
    constexpr float MENU_VOLUME = 1.0f;
    switch (cue) {
    case MenuCue::NONE: return;
    case MenuCue::MOVE: playEffect(SoundEffect::MENU_MOVE, MENU_PAN, MENU_VOLUME); return;
    case MenuCue::CONFIRM: playEffect(SoundEffect::MENU_CONFIRM, MENU_PAN, MENU_VOLUME); return;
    case MenuCue::BACK: playEffect(SoundEffect::MENU_BACK, MENU_PAN, MENU_VOLUME); return;
    case MenuCue::CHANGE: playEffect(SoundEffect::MENU_CHANGE, MENU_PAN, MENU_VOLUME); return;
    }
}
