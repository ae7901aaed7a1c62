#include "ui/armory.h"

#include <algorithm>

#include "gfx/sprite.h"
#include "ui/menu_screen.h"

namespace {

constexpr int SLOT_FRAME_TEXTURE = 88; // img/frame small.bmp
constexpr int TITLE_Y = 180;
constexpr int HEADING_Y[PLAYER_COUNT] = {230, 450};
constexpr int FIRST_SLOT_Y[PLAYER_COUNT] = {280, 480};
constexpr int SLOT_SPACING = 30; // pixels between slot rows
constexpr int SLOT_NUMBER_X = 400;
constexpr int ICON_X = 480;
constexpr int NAME_LEFT_X = 520;
constexpr int RETURN_Y = 670;
const Vec2 RETURN_MARKER = {440, 670};

struct ArmoryTexts {
    Sprite names[PLAYER_COUNT][WEAPON_SLOTS];
    Sprite slotNumbers[WEAPON_SLOTS]; // "1" to "5", shared by both lists
    Sprite title;
    Sprite headings[PLAYER_COUNT];
    Sprite back;
    Sprite selector; // transparent between its brackets: the slot number shows through
};

int playerOf(int item) { return item / WEAPON_SLOTS; }
int slotOf(int item) { return item % WEAPON_SLOTS; }
int slotY(int item) { return FIRST_SLOT_Y[playerOf(item)] + SLOT_SPACING * slotOf(item); }

void renderWeaponName(ArmoryTexts& texts, const ArmoryState& state, int item, const WeaponType weaponTable[],
                      const Fonts& fonts)
{
    Sprite& name = texts.names[playerOf(item)][slotOf(item)];
    clearSprite(name);
    renderTextOpaque(name, weaponTable[state.choices[playerOf(item)][slotOf(item)]].name, fonts.hudFont);
}

void renderArmoryTexts(ArmoryTexts& texts, const ArmoryState& state, const WeaponType weaponTable[],
                       const Fonts& fonts)
{
    for (int item = 0; item < ARMORY_SLOT_ITEMS; ++item)
        renderWeaponName(texts, state, item, weaponTable, fonts);
    for (int slot = 0; slot < WEAPON_SLOTS; ++slot)
        renderNumberOpaque(texts.slotNumbers[slot], slot + 1, fonts.messageFont);
    renderTextOpaque(texts.title, "Welcome to the armory.", fonts.titleFont);
    renderTextOpaque(texts.headings[0], "Player 1 weapon slot:", fonts.messageFont);
    renderTextOpaque(texts.headings[1], "Player 2 weapon slot:", fonts.messageFont);
    renderTextOpaque(texts.back, "Return", fonts.messageFont);
    renderText(texts.selector, "<     >", fonts.messageFont);
}

void freeSlotTexts(ArmoryTexts& texts)
{
    for (Sprite& number : texts.slotNumbers)
        clearSprite(number);
    for (auto& names : texts.names)
        for (Sprite& name : names)
            clearSprite(name);
}

void freeFrameTexts(ArmoryTexts& texts)
{
    for (Sprite* s : {&texts.title, &texts.headings[0], &texts.headings[1], &texts.selector, &texts.back})
        clearSprite(*s);
}

void drawSlot(const ArmoryState& state, const ArmoryTexts& texts, int item, const WeaponType weaponTable[])
{
    const int y = slotY(item);
    const WeaponType& weapon = weaponTable[state.choices[playerOf(item)][slotOf(item)]];
    drawSprite(catalogue[SLOT_FRAME_TEXTURE], ICON_X, y);
    drawSprite(catalogue[weapon.iconSmall], ICON_X, y);
    drawSprite(texts.slotNumbers[slotOf(item)], SLOT_NUMBER_X, y);
    drawFromLeft(texts.names[playerOf(item)][slotOf(item)], NAME_LEFT_X, y);
}

void drawArmory(const ArmoryState& state, const ArmoryTexts& texts, const WeaponType weaponTable[])
{
    drawSprite(texts.title, MENU_CENTRE_X, TITLE_Y);
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        drawSprite(texts.headings[p], MENU_CENTRE_X, HEADING_Y[p]);
        for (int slot = 0; slot < WEAPON_SLOTS; ++slot)
            drawSlot(state, texts, p * WEAPON_SLOTS + slot, weaponTable);
    }
    drawSprite(texts.back, MENU_CENTRE_X, RETURN_Y);
    if (state.selection == ARMORY_RETURN)
        drawMarker(RETURN_MARKER);
    else
        drawSprite(texts.selector, SLOT_NUMBER_X, slotY(state.selection));
}

} // namespace

ArmoryState openArmory(const Player players[PLAYER_COUNT])
{
    ArmoryState state;
    for (int p = 0; p < PLAYER_COUNT; ++p)
        for (int slot = 0; slot < WEAPON_SLOTS; ++slot)
            state.choices[p][slot] = players[p].weaponRows[slot];
    return state;
}

int applyArmoryKeys(ArmoryState& state, const MenuInput& input)
{
    int changed = -1;
    const bool onOwnSlot = state.selection != ARMORY_RETURN && state.mayChange[playerOf(state.selection)];
    if (onOwnSlot && (input.left || input.right)) {
        int32_t& choice = state.choices[playerOf(state.selection)][slotOf(state.selection)];
        if (input.left)
            choice = stepSelection(choice, -1, WEAPON_COUNT);
        if (input.right)
            choice = stepSelection(choice, +1, WEAPON_COUNT);
        changed = state.selection;
    }
    state.selection = moveSelection(state.selection, input, ARMORY_RETURN + 1);
    if (input.escape) {
        if (state.selection == ARMORY_RETURN)
            state.leave = true;
        state.selection = ARMORY_RETURN;
    }
    if ((input.enter && state.selection == ARMORY_RETURN) || input.stop)
        state.leave = true;
    return changed;
}

ArmoryState runArmory(const Player players[PLAYER_COUNT], const WeaponType weaponTable[WEAPON_COUNT],
                      const Sprite& background, const Fonts& fonts, const bool mayChange[PLAYER_COUNT])
{
    MenuScreen screen;
    ArmoryState state = openArmory(players);
    std::copy(mayChange, mayChange + PLAYER_COUNT, state.mayChange);
    ArmoryTexts texts;
    renderArmoryTexts(texts, state, weaponTable, fonts);
    openSubScreen(screen);
    while (!state.leave) {
        waitForMenuFrame(screen);
        beginMenuFrame(screen);
        drawMenuBackground(background, SUBSCREEN_TINT);
        const int32_t selectedBefore = state.selection;
        const int changed = applyArmoryKeys(state, screen.input);
        playMenuCue(menuCueOf(changed >= 0, state.leave || screen.input.escape, false, state.selection != selectedBefore));
        if (changed >= 0)
            renderWeaponName(texts, state, changed, weaponTable, fonts);
        drawArmory(state, texts, weaponTable);
        presentFrame();
        screen.nextFrameInMs = STILL_PICTURE;
    }
    freeSlotTexts(texts);
    freeFrameTexts(texts);
    return state;
}
