#include "ui/menu.h"

#include <algorithm>
#include <cmath>

#include "draw/catalogue_pictures.h"
#include "gfx/clock.h"
#include "gfx/sprite.h"
#include "sim/match_rules.h"
#include "sim/match_setup.h"
#include "ui/armory.h"
#include "ui/credits.h"
#include "ui/map_selection.h"
#include "ui/menu_screen.h"
#include "ui/ship_yard.h"

namespace {

constexpr int PAGE_COUNT = 3;
constexpr int MAX_PAGE_ITEMS = 5;
constexpr int TITLE_Y = 250;
constexpr int FIRST_ITEM_Y = 290;
constexpr int ITEM_SPACING = 30; // pixels between items
constexpr double BLUEST_TINT = 150.0;
constexpr double TINT_DROP_PER_MS = 0.375;

constexpr int RESUME_ITEM = 0;
constexpr int MENU_ITEM = 1;
constexpr int EXIT_ITEM = 2;
constexpr int YOU_BETCHA_ITEM = 0;
constexpr int BACK_ITEM = 0;

struct PageLayout {
    const char* title;
    int itemCount;
    const char* items[MAX_PAGE_ITEMS]; // item 0 of the top page is decided on opening
    Vec2 markers[MAX_PAGE_ITEMS];
};

const PageLayout PAGES[PAGE_COUNT] = {
    {"What to do man?", 3, {nullptr, "Menu", "Exit"}, {{420, 290}, {460, 320}, {468, 350}}},
    {"Are you out of your mind?", 2, {"You betcha!", "No way mister!"}, {{420, 290}, {400, 320}}},
    {"Main menu", 5, {"Back", "Ships", "Weapons", "Change map", "Credits"},
     {{460, 290}, {455, 320}, {440, 350}, {425, 380}, {450, 410}}},
};

const SubScreen MAIN_PAGE_SCREENS[MAX_PAGE_ITEMS] = {
    SubScreen::NONE, SubScreen::SHIP_YARD, SubScreen::ARMORY, SubScreen::MAP_SELECTION, SubScreen::CREDITS};

struct MenuTexts {
    Sprite titles[PAGE_COUNT];
    Sprite items[PAGE_COUNT][MAX_PAGE_ITEMS];
};

void renderMenuTexts(MenuTexts& texts, const Fonts& fonts, const char* resumeText)
{
    for (int page = 0; page < PAGE_COUNT; ++page) {
        renderTextOpaque(texts.titles[page], PAGES[page].title, fonts.titleFont);
        for (int item = 0; item < PAGES[page].itemCount; ++item) {
            const bool resume = page == TOP_PAGE && item == RESUME_ITEM;
            renderTextOpaque(texts.items[page][item], resume ? resumeText : PAGES[page].items[item],
                             fonts.messageFont);
        }
    }
}

void freeMenuTexts(MenuTexts& texts)
{
    for (int page = 0; page < PAGE_COUNT; ++page) {
        clearSprite(texts.titles[page]);
        for (Sprite& item : texts.items[page])
            clearSprite(item);
    }
}

void goToPage(MenuState& state, int page, int selection)
{
    state.page = page;
    state.selection = selection;
}

void escapeOnPage(MenuState& state, bool& quitRequested)
{
    switch (state.page) {
    case TOP_PAGE:
        if (state.selection == EXIT_ITEM)
            goToPage(state, QUIT_PAGE, YOU_BETCHA_ITEM);
        else
            state.selection = EXIT_ITEM;
        break;
    case QUIT_PAGE:
        if (state.selection == YOU_BETCHA_ITEM) {
            state.leaveMenu = true;
            quitRequested = true;
        }
        state.selection = YOU_BETCHA_ITEM;
        break;
    default:
        if (state.selection == BACK_ITEM)
            goToPage(state, TOP_PAGE, RESUME_ITEM);
        else
            state.selection = BACK_ITEM;
        break;
    }
}

SubScreen enterOnPage(MenuState& state, bool& quitRequested)
{
    switch (state.page) {
    case TOP_PAGE:
        if (state.selection == RESUME_ITEM)
            state.leaveMenu = true;
        else if (state.selection == MENU_ITEM)
            goToPage(state, MAIN_PAGE, BACK_ITEM);
        else
            goToPage(state, QUIT_PAGE, YOU_BETCHA_ITEM);
        return SubScreen::NONE;
    case QUIT_PAGE:
        if (state.selection == YOU_BETCHA_ITEM) {
            state.leaveMenu = true;
            quitRequested = true;
        } else {
            // Back where the players came from: the marker stays on "Menu".
            state.page = TOP_PAGE;
        }
        return SubScreen::NONE;
    default:
        if (state.selection == BACK_ITEM)
            goToPage(state, TOP_PAGE, RESUME_ITEM);
        return MAIN_PAGE_SCREENS[state.selection];
    }
}

// A sub-screen's choices take effect as it closes; the visit keeps them for a recording.
void runSubScreen(SubScreen screen, MatchState& m, MatchContent& c, const Fonts& fonts, const Sprite& background,
                  const MenuRules& rules, MenuOutcome& visit)
{
    MenuChange change;
    switch (screen) {
    case SubScreen::SHIP_YARD: {
        const ShipYardState chosen = runShipYard(m.players, c.ships, c.frames, background, fonts, rules.playerMayChange);
        change.kind = MenuChangeKind::SHIPS;
        std::copy(chosen.choices, chosen.choices + PLAYER_COUNT, change.ships);
        // A ship type flown for the first time in this run gets its masks now.
        makeMasksOfShips(c, change.ships, PLAYER_COUNT, rotatedCataloguePictures());
        break;
    }
    case SubScreen::ARMORY: {
        const ArmoryState chosen = runArmory(m.players, c.weapons, background, fonts, rules.playerMayChange);
        change.kind = MenuChangeKind::WEAPONS;
        std::copy(&chosen.choices[0][0], &chosen.choices[0][0] + PLAYER_COUNT * WEAPON_SLOTS, &change.weapons[0][0]);
        break;
    }
    case SubScreen::MAP_SELECTION:
        if (!rules.mapMayChange)
            return;
        runMapSelection(currentMap(m, c), m.selectedMapIndex, c.maps, background, fonts);
        change.kind = MenuChangeKind::MAP;
        change.map = m.selectedMapIndex;
        break;
    case SubScreen::CREDITS: runCredits(background, fonts); return;
    case SubScreen::NONE: return;
    }
    applyMenuChange(m, c, change);
    visit.changes.push_back(change);
}

void drawPage(const MenuTexts& texts, const MenuState& state)
{
    const PageLayout& layout = PAGES[state.page];
    drawSprite(texts.titles[state.page], MENU_CENTRE_X, TITLE_Y);
    for (int item = 0; item < layout.itemCount; ++item)
        drawSprite(texts.items[state.page][item], MENU_CENTRE_X, FIRST_ITEM_Y + ITEM_SPACING * item);
    drawMarker(layout.markers[state.selection]);
}

// While the background turns blue the picture moves; the frame after the
// last step comes when the tint settles, not a whole frame later, so that it
// settles where it always has.
int32_t nextTintFrameInMs(const MenuState& state)
{
    if (state.backgroundTint <= BLUEST_TINT)
        return STILL_PICTURE;
    return static_cast<int32_t>(std::ceil((state.backgroundTint - BLUEST_TINT) / TINT_DROP_PER_MS));
}

void runMenuFrame(MatchState& m, MatchContent& c, const Fonts& fonts, const MenuRules& rules, MenuScreen& screen,
                  MenuState& state, const MenuTexts& texts, const Sprite& background, MenuOutcome& visit)
{
    beginMenuFrame(screen);
    fadeMenuTint(state, screen.elapsedMs);
    drawMenuBackground(background, static_cast<int>(state.backgroundTint));
    const MenuState before = state;
    const SubScreen opened = applyMenuKeys(state, screen.input, visit.quit);
    const bool wentUp = state.page == TOP_PAGE && before.page != TOP_PAGE;
    playMenuCue(menuCueOf(false, screen.input.escape || wentUp, screen.input.enter, state.selection != before.selection));
    if (opened != SubScreen::NONE) {
        runSubScreen(opened, m, c, fonts, background, rules, visit);
        // The sub-screen left its own frame (or a ship's rotated copies) in
        // the back buffer; this frame goes on over the menu's background.
        clearScreen();
        drawMenuBackground(background, static_cast<int>(state.backgroundTint));
    }
    drawPage(texts, state);
    presentFrame();
    screen.nextFrameInMs = nextTintFrameInMs(state);
}

} // namespace

const char* resumeItemText(const MatchState& m) { return matchLost(m) ? "New Game" : "Resume game"; }

void fadeMenuTint(MenuState& state, int elapsedMs)
{
    if (state.backgroundTint > BLUEST_TINT)
        state.backgroundTint -= elapsedMs * TINT_DROP_PER_MS;
}

SubScreen applyMenuKeys(MenuState& state, const MenuInput& input, bool& quitRequested)
{
    if (state.page == MAIN_PAGE)
        state.submenuVisited = true;
    if (input.stop) {
        state.leaveMenu = true;
        quitRequested = true;
        return SubScreen::NONE;
    }
    state.selection = moveSelection(state.selection, input, PAGES[state.page].itemCount);
    if (input.escape)
        escapeOnPage(state, quitRequested);
    if (input.enter)
        return enterOnPage(state, quitRequested);
    return SubScreen::NONE;
}

MenuOutcome runMenu(MatchState& m, MatchContent& c, const Fonts& fonts, const MenuRules& rules)
{
    MenuTexts texts;
    renderMenuTexts(texts, fonts, resumeItemText(m));
    Sprite background = captureMenuBackground();
    MenuScreen screen;
    screen.previousTicks = ticksNow();
    MenuState state;
    MenuOutcome visit;
    while (!state.leaveMenu) {
        waitForMenuFrame(screen);
        runMenuFrame(m, c, fonts, rules, screen, state, texts, background, visit);
    }
    visit.newMatch = state.submenuVisited;
    freeMenuTexts(texts);
    clearSprite(background);
    return visit;
}
