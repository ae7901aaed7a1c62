// What a network match shows of itself: the connecting screens, the
// statistics overlay, waiting for the other side, desyncs and the end.
#include <cstdio>
#include "app/net_match_internal.h"
#include "gfx/video.h"
#include "ui/menu_screen.h"

namespace {

constexpr int CONNECT_FIRST_Y = 300; // playfield pixels
constexpr int LINE_SPACING = 30;
constexpr int NOTICE_CENTRE_Y = 384;
constexpr int OVERLAY_X = 8;
constexpr int OVERLAY_Y = 60;        // under the HUD panel
constexpr int OVERLAY_SPACING = 14;
constexpr int OVERLAY_LINES = 4;
constexpr int WAITING_LINE = 0;      // of screenLines while the match runs
constexpr int MATCH_NOTICE_LINE = 1; // of noticeLine; line 0 is the menus'

void connectLines(NetMatch& n, const Game& game, const std::vector<std::string>& addresses)
{
    const Fonts& f = game.fonts;
    char line[MAX_LINE_BYTES];
    const NetOptions& net = game.settings.net;
    if (net.mode == NetMode::HOST) {
        const bool handshaking = n.session->phase == NetPhase::Handshaking;
        setTextLine(n.screenLines, 0, handshaking ? "A player is joining..." : "Waiting for a player to join",
                    f.titleFont);
        std::snprintf(line, sizeof line, "UDP port %u", static_cast<unsigned>(n.transport.port));
        setTextLine(n.screenLines, 1, line, f.messageFont);
        std::string list = "This machine: ";
        for (size_t i = 0; i < addresses.size(); ++i)
            list += (i ? ", " : "") + addresses[i];
        setTextLine(n.screenLines, 2, addresses.empty() ? "" : list.c_str(), f.messageFont);
    } else {
        std::snprintf(line, sizeof line, "Connecting to %s...", net.address.c_str());
        setTextLine(n.screenLines, 0, line, f.titleFont);
        setTextLine(n.screenLines, 1, "", f.messageFont);
        setTextLine(n.screenLines, 2, "", f.messageFont);
    }
    setTextLine(n.screenLines, 3, "", f.messageFont);
    setTextLine(n.screenLines, 4, "Escape cancels", f.messageFont);
}

// The figures change once a window: rendered again no more often.
void refreshOverlay(NetMatch& n, const Game& game, int64_t nowMs)
{
    if (n.statsRefreshMs >= 0 && nowMs - n.statsRefreshMs < NET_STATS_WINDOW_MS)
        return;
    n.statsRefreshMs = nowMs;
    const NetStats t = sessionStats(*n.session);
    const int32_t out = t.wireSentPerSecond >= 0 ? t.wireSentPerSecond : t.sentPerSecond;
    const int32_t in = t.wireReceivedPerSecond >= 0 ? t.wireReceivedPerSecond : t.receivedPerSecond;
    char lines[OVERLAY_LINES][MAX_LINE_BYTES];
    std::snprintf(lines[0], MAX_LINE_BYTES, "ping %d ms, input delay %d frames", t.pingMs, t.inputDelay);
    std::snprintf(lines[1], MAX_LINE_BYTES, "rollbacks in the last second: %d, deepest %d frames",
                  t.rollbacksLastSecond, t.deepestRollbackLastSecond);
    std::snprintf(lines[2], MAX_LINE_BYTES, "packet loss %.1f %%", t.lossPercent);
    std::snprintf(lines[3], MAX_LINE_BYTES, "%d B/s out, %d B/s in", out, in);
    for (int i = 0; i < OVERLAY_LINES; ++i)
        setTextLine(n.overlayLines, i, lines[i], game.fonts.hudFont, true);
}

} // namespace

void drawConnectScreen(NetMatch& n, const Game& game, const std::vector<std::string>& addresses)
{
    connectLines(n, game, addresses);
    clearScreen();
    drawLinesCentred(n.screenLines, 0, 5, MENU_CENTRE_X, CONNECT_FIRST_Y, LINE_SPACING);
}

void drawMatchOverlays(NetMatch& n, const Game& game, int64_t nowMs)
{
    if (sessionWaiting(*n.session)) {
        char line[MAX_LINE_BYTES];
        std::snprintf(line, sizeof line, "Waiting for %s...", n.peerName.c_str());
        setTextLine(n.screenLines, WAITING_LINE, line, game.fonts.titleFont, true);
        drawLinesCentred(n.screenLines, WAITING_LINE, 1, MENU_CENTRE_X, NOTICE_CENTRE_Y, LINE_SPACING);
    }
    if (nowMs < n.noticeUntilMs) {
        setTextLine(n.noticeLine, MATCH_NOTICE_LINE, n.notice.c_str(), game.fonts.messageFont, true);
        drawLinesCentred(n.noticeLine, MATCH_NOTICE_LINE, 1, MENU_CENTRE_X, NOTICE_CENTRE_Y + LINE_SPACING,
                         LINE_SPACING);
    }
    if (n.statsShown) {
        refreshOverlay(n, game, nowMs);
        drawLinesFromLeft(n.overlayLines, 0, OVERLAY_LINES, OVERLAY_X, OVERLAY_Y, OVERLAY_SPACING);
    }
}

void drawCentredNotice(NetMatch& n, const Game& game, const char* first, const char* second)
{
    setTextLine(n.screenLines, 0, first, game.fonts.titleFont, true);
    setTextLine(n.screenLines, 1, second, game.fonts.messageFont, true);
    drawLinesCentred(n.screenLines, 0, 2, MENU_CENTRE_X, NOTICE_CENTRE_Y, LINE_SPACING);
}
