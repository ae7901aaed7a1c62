#include "ui/map_selection.h"

#include "gfx/sprite.h"
#include "ui/menu_screen.h"

namespace {

constexpr int TITLE_Y = 180;
constexpr int CURRENT_MAP_Y = 220;
constexpr int CURRENT_LABEL_RIGHT_X = 506;
constexpr int CURRENT_NAME_LEFT_X = 514;
constexpr int MAP_NAME_LEFT_X = 480;
constexpr int MAP_NAME_Y[MAP_COUNT] = {260, 280, 300};
constexpr int RETURN_Y = 600;
const Vec2 MARKERS[] = {{460, 260}, {460, 280}, {460, 300}, {450, 600}};

struct MapSelectionTexts {
    Sprite mapNames[MAP_COUNT];
    Sprite title;
    Sprite currentLabel;
    Sprite currentName; // the map that selectedMapIndex names
    Sprite back;
};

void renderCurrentName(MapSelectionTexts& texts, const GameMap mapTable[], int32_t selectedMapIndex,
                       const Fonts& fonts)
{
    clearSprite(texts.currentName);
    renderTextOpaque(texts.currentName, mapTable[selectedMapIndex].name, fonts.messageFont);
}

void renderMapTexts(MapSelectionTexts& texts, const GameMap mapTable[], int32_t selectedMapIndex,
                    const Fonts& fonts)
{
    for (int map = 0; map < MAP_COUNT; ++map)
        renderTextOpaque(texts.mapNames[map], mapTable[map].name, fonts.messageFont);
    renderTextOpaque(texts.title, "Where do you want to go today?.", fonts.titleFont);
    renderTextOpaque(texts.currentLabel, "Current map:", fonts.messageFont);
    renderCurrentName(texts, mapTable, selectedMapIndex, fonts);
    renderTextOpaque(texts.back, "Return", fonts.messageFont);
}

void freeMapTexts(MapSelectionTexts& texts)
{
    for (Sprite& name : texts.mapNames)
        clearSprite(name);
    for (Sprite* s : {&texts.title, &texts.currentLabel, &texts.currentName, &texts.back})
        clearSprite(*s);
}

void drawMapSelection(const MapSelectionState& state, const MapSelectionTexts& texts)
{
    drawSprite(texts.title, MENU_CENTRE_X, TITLE_Y);
    drawFromRight(texts.currentLabel, CURRENT_LABEL_RIGHT_X, CURRENT_MAP_Y);
    drawFromLeft(texts.currentName, CURRENT_NAME_LEFT_X, CURRENT_MAP_Y);
    for (int map = 0; map < MAP_COUNT; ++map)
        drawFromLeft(texts.mapNames[map], MAP_NAME_LEFT_X, MAP_NAME_Y[map]);
    drawSprite(texts.back, MENU_CENTRE_X, RETURN_Y);
    drawMarker(MARKERS[state.selection]);
}

} // namespace

MapSelectionState openMapSelection(const GameMap& currentMap, int32_t& selectedMapIndex)
{
    selectedMapIndex = currentMap.index;
    MapSelectionState state;
    state.selection = selectedMapIndex;
    return state;
}

bool applyMapSelectionKeys(MapSelectionState& state, const MenuInput& input, int32_t& selectedMapIndex)
{
    state.selection = moveSelection(state.selection, input, MAP_SELECTION_RETURN + 1);
    state.leave = state.leave || input.stop;
    if (input.escape) {
        if (state.selection == MAP_SELECTION_RETURN)
            state.leave = true;
        state.selection = MAP_SELECTION_RETURN;
    }
    if (!input.enter)
        return false;
    if (state.selection == MAP_SELECTION_RETURN) {
        state.leave = true;
        return false;
    }
    selectedMapIndex = state.selection;
    return true;
}

void runMapSelection(const GameMap& currentMap, int32_t& selectedMapIndex, const GameMap mapTable[MAP_COUNT],
                     const Sprite& background, const Fonts& fonts)
{
    MapSelectionState state = openMapSelection(currentMap, selectedMapIndex);
    MenuScreen screen;
    MapSelectionTexts texts;
    renderMapTexts(texts, mapTable, selectedMapIndex, fonts);
    openSubScreen(screen);
    while (!state.leave) {
        waitForMenuFrame(screen);
        beginMenuFrame(screen);
        drawMenuBackground(background, SUBSCREEN_TINT);
        const int32_t selectedBefore = state.selection;
        const bool chosen = applyMapSelectionKeys(state, screen.input, selectedMapIndex);
        if (chosen)
            renderCurrentName(texts, mapTable, selectedMapIndex, fonts);
        playMenuCue(menuCueOf(chosen, state.leave || screen.input.escape, false, state.selection != selectedBefore));
        drawMapSelection(state, texts);
        presentFrame();
        screen.nextFrameInMs = STILL_PICTURE;
    }
    freeMapTexts(texts);
}
