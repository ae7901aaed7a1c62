// A match against another machine (-host, -join): connecting, the frames on
// the rollback session, pauses with both sides' menus, what is shown of the
// connection, and an ending in order.
#pragma once
#include <SDL/SDL_keysym.h>
#include <cstdint>
#include <memory>
#include <string>
#include "app/game.h"
#include "app/net_match_game.h"
#include "draw/text_lines.h"
#include "net/enet_transport.h"
#include "net/session.h"

constexpr int EXIT_NET_FAILED = 3;      // nobody answered, or the connection was lost
constexpr SDLKey NET_STATS_KEY = SDLK_F3; // shows and hides the connection's figures
constexpr int64_t NET_NOTICE_MS = 3000; // a desync or a mend said on screen this long
constexpr int64_t NET_END_NOTICE_MS = 10000; // the end's notice waits at most this long for a key

// Mean and spread of the time between frames shown, ms (Welford's running sums).
struct FrameSpacing {
    int64_t count = 0;
    double mean = 0.0;
    double sumOfSquares = 0.0; // of the differences from the mean
    double lastFrameMs = -1.0; // -1: the next frame starts a run (after a menu or a wait)
};

struct NetMatch {
    EnetTransport transport;
    std::unique_ptr<NetSession> session = std::make_unique<NetSession>();
    NetMatchGame game;
    std::unique_ptr<MatchState> menuMatch = std::make_unique<MatchState>(); // what a menu changes
    int localPlayer = 0;
    std::string peerName = "the other player";
    bool piloted = false; // the computer flies the local ship
    Pilot pilot;
    // This pause's visits by player; the peer's came when peerVisitIn.
    MenuOutcome visits[PLAYER_COUNT];
    bool peerVisitIn = false;
    double nextFrameMs = 0.0; // on the frame clock
    FrameSpacing spacing;
    int64_t rateSampleMs = -1; // when the last rates were added; -1: the next frame starts a run
    int64_t sentSum = 0;       // B/s of each sample added up
    int64_t receivedSum = 0;
    int64_t rateSamples = 0;
    bool started = false;     // the handshake was done and the match set up
    bool statsShown = false;
    int64_t statsRefreshMs = -1; // when the overlay's figures were last rendered
    std::string notice;       // a desync or a mend, until noticeUntilMs
    int64_t noticeUntilMs = 0;
    std::string endText;      // why the session ended, for the player
    NetEndReason endReason = NetEndReason::None;
    bool over = false;        // the match is done: end it in order
    bool endSeen = false;     // the end was said under an open menu
    bool endedInOrder = false;
    int exitStatus = 0;
    TextLines screenLines;    // connecting, waiting, the end
    TextLines overlayLines;   // the statistics
    TextLines noticeLine;     // under the menus and over the match
};

// Plays a network match from connecting to its end, which it makes in order;
// returns the game's exit status.
int runNetMatch(Game& game);
// Asks the match to end: tells the other side this one leaves; every loop of
// the match then ends and endNetMatch follows.
void stopNetMatch(NetMatch& n);
// Ends it in order, whatever it reached: leaves the session, parts from the
// peer, finishes the recording from the confirmed match and saves this
// side's player's ship and weapons as config.cfg's player 1 entries. Once.
void endNetMatch(NetMatch& n, Game& game);
