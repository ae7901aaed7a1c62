#include "ui/ship_yard.h"

#include <algorithm>

#include "gfx/sprite.h"
#include "ui/menu_screen.h"

namespace {

constexpr double PREVIEW_TURN_PER_SECOND = 0.78539816325; // radians: a full turn in about 8 s
constexpr int FRAME_TEXTURE = 87;                          // img/frame.bmp
constexpr int TITLE_Y = 200;
constexpr int ROW_HEADING_Y[PLAYER_COUNT] = {250, 450};
constexpr int ROW_CHANGE_Y[PLAYER_COUNT] = {270, 470};
constexpr int PREVIEW_Y[PLAYER_COUNT] = {350, 550};
constexpr int RETURN_Y = 670;
const Vec2 MARKERS[] = {{430, 270}, {430, 470}, {440, 670}};

struct ShipYardTexts {
    Sprite title;
    Sprite headings[PLAYER_COUNT];
    Sprite back;
    Sprite change; // drawn on both rows
};

void renderShipYardTexts(ShipYardTexts& texts, const Fonts& fonts)
{
    renderTextOpaque(texts.title, "Welcome to the ship yard.", fonts.titleFont);
    renderTextOpaque(texts.headings[0], "Player 1 ship:", fonts.messageFont);
    renderTextOpaque(texts.headings[1], "Player 2 ship:", fonts.messageFont);
    renderTextOpaque(texts.back, "Return", fonts.messageFont);
    renderTextOpaque(texts.change, "< Change >", fonts.messageFont);
}

void freeShipYardTexts(ShipYardTexts& texts)
{
    for (Sprite* s : {&texts.title, &texts.headings[0], &texts.headings[1], &texts.back, &texts.change})
        clearSprite(*s);
}

// The preview shows the ship's engine running from the moment it is chosen.
void showPreview(ShipYardState& state, int player, const ShipType shipTable[SHIP_COUNT], int32_t nowMs)
{
    state.previews[player] = shipTable[state.choices[player]].thrustAnim;
    startAnimation(state.previews[player], nowMs);
}

void changeShip(ShipYardState& state, int player, int step, const ShipType shipTable[SHIP_COUNT], int32_t nowMs)
{
    state.choices[player] = stepSelection(state.choices[player], step, SHIP_COUNT);
    showPreview(state, player, shipTable, nowMs);
    state.previewAngles[player] = 0.0;
}

void drawPreview(ShipYardState& state, int player, const AnimationFrames& frames, int32_t nowMs)
{
    const int y = PREVIEW_Y[player];
    drawSprite(catalogue[FRAME_TEXTURE], MENU_CENTRE_X, y);
    const int texture = currentTexture(state.previews[player], frames, nowMs);
    drawSpriteRotated(catalogue[texture], MENU_CENTRE_X, y, degreesOf(state.previewAngles[player]));
}

void drawShipYard(ShipYardState& state, const ShipYardTexts& texts, const AnimationFrames& frames,
                  const MenuScreen& screen)
{
    drawSprite(texts.title, MENU_CENTRE_X, TITLE_Y);
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        drawSprite(texts.headings[p], MENU_CENTRE_X, ROW_HEADING_Y[p]);
        drawSprite(texts.change, MENU_CENTRE_X, ROW_CHANGE_Y[p]);
    }
    drawSprite(texts.back, MENU_CENTRE_X, RETURN_Y);
    for (double& angle : state.previewAngles)
        angle += screen.elapsedMs / 1000.0 * PREVIEW_TURN_PER_SECOND;
    for (int p = 0; p < PLAYER_COUNT; ++p)
        drawPreview(state, p, frames, screen.nowMs);
    drawMarker(MARKERS[state.selection]);
}

} // namespace

ShipYardState openShipYard(const Player players[PLAYER_COUNT], const ShipType shipTable[SHIP_COUNT], int32_t nowMs)
{
    ShipYardState state;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        state.choices[p] = players[p].shipIndex;
        showPreview(state, p, shipTable, nowMs);
    }
    return state;
}

void applyShipYardKeys(ShipYardState& state, const MenuInput& input, const ShipType shipTable[SHIP_COUNT],
                       int32_t nowMs)
{
    const bool onPlayerRow = state.selection != SHIP_YARD_RETURN && state.mayChange[state.selection];
    if (input.left && onPlayerRow)
        changeShip(state, state.selection, -1, shipTable, nowMs);
    if (input.right && onPlayerRow)
        changeShip(state, state.selection, +1, shipTable, nowMs);
    state.selection = moveSelection(state.selection, input, SHIP_YARD_RETURN + 1);
    if (input.escape) {
        if (state.selection == SHIP_YARD_RETURN)
            state.leave = true;
        state.selection = SHIP_YARD_RETURN;
    }
    if ((input.enter && state.selection == SHIP_YARD_RETURN) || input.stop)
        state.leave = true;
}

ShipYardState runShipYard(const Player players[PLAYER_COUNT], const ShipType shipTable[SHIP_COUNT],
                          const AnimationFrames& frames, const Sprite& background, const Fonts& fonts,
                          const bool mayChange[PLAYER_COUNT])
{
    MenuScreen screen;
    openSubScreen(screen);
    ShipYardState state = openShipYard(players, shipTable, screen.previousTicks);
    std::copy(mayChange, mayChange + PLAYER_COUNT, state.mayChange);
    ShipYardTexts texts;
    renderShipYardTexts(texts, fonts);
    while (!state.leave) {
        waitForMenuFrame(screen);
        beginMenuFrame(screen);
        drawMenuBackground(background, SUBSCREEN_TINT);
        const ShipYardState before = state;
        applyShipYardKeys(state, screen.input, shipTable, screen.nowMs);
        const bool changed = before.choices[0] != state.choices[0] || before.choices[1] != state.choices[1];
        playMenuCue(menuCueOf(changed, state.leave || screen.input.escape, false, state.selection != before.selection));
        drawShipYard(state, texts, frames, screen);
        presentFrame();
        screen.nextFrameInMs = MENU_FRAME_MS; // the previews turn all the time
    }
    freeShipYardTexts(texts);
    return state;
}
