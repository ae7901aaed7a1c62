#include "ui/ship_yard.h"

#include "gfx/catalogue_pictures.h"
#include "gfx/sprite.h"
#include "sim/hits.h"
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

void changeShip(ShipYardState& state, int player, int step, ShipType shipTable[SHIP_COUNT], int32_t nowMs)
{
    state.choices[player] = stepSelection(state.choices[player], step, SHIP_COUNT);
    startAnimation(shipTable[state.choices[player]].thrustAnim, nowMs);
    state.previewAngles[player] = 0.0;
}

void drawPreview(const ShipYardState& state, int player, ShipType shipTable[SHIP_COUNT], int32_t nowMs)
{
    const int y = PREVIEW_Y[player];
    drawSprite(catalogue[FRAME_TEXTURE], MENU_CENTRE_X, y);
    const int texture = currentTexture(shipTable[state.choices[player]].thrustAnim, nowMs);
    drawSpriteRotated(catalogue[texture], MENU_CENTRE_X, y, state.previewAngles[player]);
}

void drawShipYard(ShipYardState& state, const ShipYardTexts& texts, ShipType shipTable[SHIP_COUNT],
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
        drawPreview(state, p, shipTable, screen.nowMs);
    drawMarker(MARKERS[state.selection]);
}

} // namespace

ShipYardState openShipYard(const Player players[PLAYER_COUNT], ShipType shipTable[SHIP_COUNT], int32_t nowMs)
{
    ShipYardState state;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        state.choices[p] = players[p].shipIndex;
        startAnimation(shipTable[state.choices[p]].thrustAnim, nowMs);
    }
    return state;
}

void applyShipYardKeys(ShipYardState& state, const MenuInput& input, ShipType shipTable[SHIP_COUNT], int32_t nowMs)
{
    const bool onPlayerRow = state.selection != SHIP_YARD_RETURN;
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

void rebuildShips(Player players[PLAYER_COUNT], const ShipType shipTable[SHIP_COUNT],
                  const int32_t choices[PLAYER_COUNT], const GameMap& map)
{
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        const int ship = choices[p];
        setUpFromShipType(players[p], shipTable[ship], ship, rotatedCataloguePictures());
        resetForLife(players[p]);
        respawnAway(players[p], players[1 - p].body.position, map);
    }
}

ShipYardState runShipYard(const Player players[PLAYER_COUNT], ShipType shipTable[SHIP_COUNT],
                          const Sprite& background, const Fonts& fonts)
{
    MenuScreen screen;
    openSubScreen(screen);
    ShipYardState state = openShipYard(players, shipTable, screen.previousTicks);
    ShipYardTexts texts;
    renderShipYardTexts(texts, fonts);
    while (!state.leave) {
        waitForMenuFrame(screen);
        beginMenuFrame(screen);
        drawMenuBackground(background, SUBSCREEN_TINT);
        applyShipYardKeys(state, screen.input, shipTable, screen.nowMs);
        drawShipYard(state, texts, shipTable, screen);
        presentFrame();
        screen.nextFrameInMs = MENU_FRAME_MS; // the previews turn all the time
    }
    freeShipYardTexts(texts);
    return state;
}
