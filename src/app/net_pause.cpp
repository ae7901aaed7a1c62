// A pause of a network match: both menus open at the same frame, each side
// changes only its own player (the host also the map), and the match goes on,
// with both sides' changes, once both players have chosen to go on.
#include <SDL/SDL.h>
#include <cstdio>
#include "app/net_choices.h"
#include "app/net_match_internal.h"
#include "gfx/video.h"
#include "replay/menu_visit_bytes.h"
#include "sim/match_rules.h"
#include "ui/controls.h"
#include "ui/menu.h"
#include "ui/menu_screen.h"

namespace {

constexpr int MENU_NOTICE_LINE = 0; // of noticeLine
constexpr int32_t WAIT_PASS_MS = 10;

struct HookContext {
    NetMatch* n = nullptr;
    Game* game = nullptr;
};

// Who stopped the match, said under both menus.
std::string pauseText(const MatchState& m, const NetEvent& paused)
{
    if (matchLost(m))
        return "The match is over";
    const bool first = inputEscapes(paused.inputs[0]);
    const bool second = inputEscapes(paused.inputs[1]);
    if (first && second)
        return std::string(m.nameBuffers[0]) + " and " + m.nameBuffers[1] + " paused the match";
    return std::string(m.nameBuffers[first ? 0 : 1]) + " paused the match";
}

// The connection served from inside the menus; true when the line under them
// changed (the match ended meanwhile).
bool menuPass(void* context)
{
    const HookContext& hook = *static_cast<HookContext*>(context);
    NetMatch& n = *hook.n;
    const bool wasOver = n.over;
    const int64_t now = clockMs();
    serviceEnetTransport(n.transport, *n.session, now);
    pumpSession(*n.session, now);
    NetEvent e;
    while (pollEvent(*n.session, e))
        handleNetEvent(n, e);
    if (!n.over || wasOver)
        return false;
    setTextLine(n.noticeLine, MENU_NOTICE_LINE, (n.endText + ". Exit quits.").c_str(), hook.game->fonts.messageFont);
    return true;
}

// Only what a visit leaves of this side's player counts, whatever the menu
// went through: at most three changes, whose message always fits.
MenuOutcome ownPart(const NetMatch& n, const MatchState& m, const MenuOutcome& visit)
{
    MenuOutcome visits[PLAYER_COUNT];
    visits[n.localPlayer] = visit;
    return mergeMenuVisits(m, visits);
}

// Both sides' visits made on the match, which goes on from its frame.
void goOn(NetMatch& n, Game& game)
{
    showFrameEvents(game, makeNetMenuVisit(n.game, mergeMenuVisits(*game.match, n.visits)));
    for (MenuOutcome& visit : n.visits)
        visit = MenuOutcome{};
    n.peerVisitIn = false;
    n.spacing.lastFrameMs = -1.0;
    n.rateSampleMs = -1;
    n.nextFrameMs = preciseClockMs();
}

// The match stands as it stopped until the other side goes on too; Escape leaves.
void waitForOtherSide(NetMatch& n, Game& game)
{
    const std::string waiting = "Waiting for " + n.peerName + " to go on...";
    while (!n.over) {
        const int64_t now = clockMs();
        serviceEnetTransport(n.transport, *n.session, now);
        pumpSession(*n.session, now);
        NetEvent e;
        while (!n.over && pollEvent(*n.session, e)) {
            if (e.type == NetEventType::Resumed) {
                goOn(n, game);
                return;
            }
            handleNetEvent(n, e);
        }
        MenuInput keys;
        readMenuInput(keys);
        if (keys.escape || keys.stop)
            stopNetMatch(n);
        clearScreen();
        drawGameFrame(game, tickOfFrame(n.session->frame - 1, n.game.frameMs));
        drawCentredNotice(n, game, waiting.c_str(), "Escape leaves the match");
        presentFrame();
        SDL_Delay(WAIT_PASS_MS);
    }
}

} // namespace

void runNetPause(NetMatch& n, Game& game, const NetEvent& paused)
{
    // The menus take the match as it stopped from the back buffer.
    clearScreen();
    drawGameFrame(game, tickOfFrame(paused.frame - 1, n.game.frameMs));
    setTextLine(n.noticeLine, MENU_NOTICE_LINE, pauseText(*game.match, paused).c_str(), game.fonts.messageFont);
    // The menu changes a copy; the changes reach the match when both go on.
    *n.menuMatch = *game.match;
    MenuRules rules;
    rules.playerMayChange[1 - n.localPlayer] = false;
    rules.mapMayChange = n.localPlayer == 0;
    HookContext hook{&n, &game};
    setMenuHook(MenuHook{&hook, menuPass, &n.noticeLine.sprites[MENU_NOTICE_LINE]});
    const MenuOutcome visit = runMenu(*n.menuMatch, *game.content, game.fonts, rules);
    setMenuHook(MenuHook{});
    n.endSeen = n.over;
    if (n.over || visit.quit) {
        stopNetMatch(n);
        return;
    }
    n.visits[n.localPlayer] = ownPart(n, *game.match, visit);
    std::vector<uint8_t> bytes;
    putMenuVisit(bytes, n.visits[n.localPlayer]);
    sendMessage(*n.session, bytes.data(), bytes.size());
    readyToResume(*n.session);
    waitForOtherSide(n, game);
}
