// What every menu screen shares: its keys and clock, the tinted frozen match
// behind it, the marker, and selections that wrap.
#pragma once
#include <cstdint>
#include "gfx/texture.h"
#include "sim/geometry.h"
#include "ui/menu_input.h"
#include "sim/match_controls.h"

constexpr int MENU_CENTRE_X = 512;        // playfield pixels; texts are centred on it
constexpr int SUBSCREEN_TINT = 100;       // red and green of the background behind a sub-screen
constexpr int MARKER_TEXTURE = 20;        // catalogue index of img/scout3.bmp
constexpr int32_t MENU_FRAME_MS = 17;     // a moving menu picture is drawn at most 59 times a second
constexpr int32_t STILL_PICTURE = -1;     // nextFrameInMs: nothing moves until an event comes

struct MenuScreen {
    MenuInput input;
    int32_t nowMs = 0;         // the frame's tick reading
    int32_t previousTicks = 0; // ms
    int32_t elapsedMs = 0;     // since the previous frame's reading
    int32_t nextFrameInMs = 0; // after nowMs, when the picture moves by itself next, or STILL_PICTURE
};

// What a network match needs of every menu screen: a pass at each turn of
// its wait, which keeps the connection alive and hears the other side, and a
// line shown under every screen (who paused, who left). pass returns true
// when the screen must be drawn again at once (the line changed).
struct MenuHook {
    void* context = nullptr;
    bool (*pass)(void* context) = nullptr;
    const Sprite* notice = nullptr; // drawn centred on NOTICE_Y; empty or nullptr: nothing
};
constexpr int NOTICE_Y = 730; // playfield pixels: under every screen's last item

// The hook every menu screen calls from now on; an empty one removes it.
void setMenuHook(const MenuHook& hook);
// The finished match frame in the back buffer, as the menus' background.
// The caller owns the sprite's texture.
Sprite captureMenuBackground();
// Starts a sub-screen's clock and drops the keys pressed before it opened.
void openSubScreen(MenuScreen& screen);
// Sleeps until the screen's next frame is due: while its picture moves,
// nextFrameInMs after the last one (MENU_FRAME_MS at most); otherwise at the
// first event (a key) from MENU_FRAME_MS after the last frame on. Keeps
// reading the clock meanwhile, as the menus always have. The menu hook's pass
// runs at every turn of the wait.
void waitForMenuFrame(const MenuScreen& screen);
// Reads the frame's keys, measures the time since the last frame and clears the screen.
void beginMenuFrame(MenuScreen& screen);
// The background over the whole playfield in (tint, tint, 255), and the menu
// hook's notice; the drawing colour returns to baseColour.
void drawMenuBackground(const Sprite& background, int tint);
// The marker picture centred on a point of the playfield.
void drawMarker(const Vec2& point);
// Drawn with its left edge at x, centred on y.
void drawFromLeft(const Sprite& s, int x, int y);
// Drawn with its right edge at x, centred on y.
void drawFromRight(const Sprite& s, int x, int y);
// What a menu frame's keys did, as the players hear it.
enum class MenuCue : uint8_t { NONE, MOVE, CONFIRM, BACK, CHANGE };

// The most telling of what a frame did: a choice changed, a step back (or
// out of the screen), a step on, the marker moved.
MenuCue menuCueOf(bool changed, bool back, bool confirmed, bool moved);
// Plays the cue's sound, in the middle; nothing without sound effects.
void playMenuCue(MenuCue cue);
// One step up (-1) or down (+1) over count items, wrapping at both ends.
int stepSelection(int selection, int step, int count);
// Up and down of this frame applied to a selection over count items.
int moveSelection(int selection, const MenuInput& input, int count);
