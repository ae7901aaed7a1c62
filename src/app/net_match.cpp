#include "app/net_match.h"

#include <SDL/SDL.h>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <thread>
#include "app/net_choices.h"
#include "app/net_match_internal.h"
#include "draw/catalogue_pictures.h"
#include "gfx/utf8.h"
#include "gfx/video.h"
#include "net/endpoint.h"
#include "replay/mask_bytes.h"
#include "replay/match_checksum.h"
#include "replay/menu_visit_bytes.h"
#include "ui/controls.h"
#include "ui/menu_screen.h"
#include "ui/stop_signals.h"

namespace {

constexpr int64_t CONNECT_PASS_MS = 10; // between passes of the connecting screens
// While a frame is a while off, the link is served at this interval, so that
// packets wait in the socket no longer than this.
constexpr double SERVICE_SLICE_MS = 2.0;

void say(const std::string& line) { std::fprintf(stderr, "zentavor: %s\n", printableOnTerminal(line).c_str()); }

NetSettings settingsOf(const Game& game)
{
    NetSettings s;
    s.role = game.settings.net.mode == NetMode::HOST ? NetRole::Host : NetRole::Joiner;
    s.gameVersion = gameVersion();
    s.inputDelay = game.settings.net.inputDelay;
    s.seedHalf = drawSeedHalf();
    s.maskChecksum = maskChecksum(*game.content);
    s.name = game.config.names[0];
    s.choices = choicesBytes(sideChoicesOf(game.config));
    s.heldMask = heldInputMask();
    s.maxStateBytes = sizeof(MatchState);
    return s;
}

int exitStatusOf(NetEndReason reason)
{
    return reason == NetEndReason::LocalLeft || reason == NetEndReason::PeerLeft ? 0 : EXIT_NET_FAILED;
}

// The first reason the match ended is the one said, on stderr at once.
void noteEnd(NetMatch& n, NetEndReason reason, const std::string& why)
{
    n.over = true;
    if (n.endReason != NetEndReason::None)
        return;
    n.endReason = reason;
    n.endText = why;
    n.exitStatus = exitStatusOf(reason);
    if (reason != NetEndReason::LocalLeft)
        say(why);
}

bool openTransport(NetMatch& n, const Game& game, int64_t nowMs)
{
    std::string why;
    const NetOptions& net = game.settings.net;
    const bool open = net.mode == NetMode::HOST ? hostOn(n.transport, net.port, "", nowMs, why)
                                                : joinAt(n.transport, net.address, nowMs, why);
    if (!open)
        noteEnd(n, NetEndReason::ConnectFailed, net.mode == NetMode::HOST ? "cannot host: " + why : "cannot join: " + why);
    return open;
}

// Until both sides agree, the other side ends it, or Escape cancels.
bool connectToPeer(NetMatch& n, Game& game)
{
    const std::vector<std::string> addresses = localAddresses();
    NetSession& s = *n.session;
    while (!n.over) {
        const int64_t now = clockMs();
        serviceEnetTransport(n.transport, s, now);
        pumpSession(s, now);
        NetEvent e;
        while (pollEvent(s, e)) {
            if (e.type == NetEventType::Started)
                return true;
            if (e.type == NetEventType::Ended)
                handleNetEvent(n, e);
        }
        MenuInput keys;
        readMenuInput(keys);
        if ((keys.escape || keys.stop) && !n.over)
            stopNetMatch(n);
        drawConnectScreen(n, game, addresses);
        presentFrame();
        SDL_Delay(CONNECT_PASS_MS);
    }
    return false;
}

// Both sides set up the same match from both sides' choices and the agreed seed.
bool setUpNetMatch(NetMatch& n, Game& game)
{
    const NetAgreement& a = sessionAgreement(*n.session);
    n.localPlayer = a.localPlayer;
    if (!a.peerName.empty())
        n.peerName = matchName(a.peerName);
    SideChoices sides[PLAYER_COUNT];
    sides[n.localPlayer] = sideChoicesOf(game.config);
    std::string error;
    if (!readChoices(a.peerChoices, sides[1 - n.localPlayer]))
        error = "the other side's ship, weapons or map cannot be read";
    else if (!a.maskTable.empty() && !readMaskTable(a.maskTable, *game.content, error))
        error = "the host's collision masks cannot be taken: " + error;
    std::string names[PLAYER_COUNT];
    names[n.localPlayer] = game.config.names[0];
    names[1 - n.localPlayer] = a.peerName;
    const auto seed = static_cast<uint32_t>(a.seed);
    const MatchChoices choices = netMatchChoices(sides, names, seed);
    // The recording opened at start-up begins again with the agreed set-up.
    if (error.empty() && game.replay.recording &&
        !restartReplayWriter(game.replay.writer, replayHeaderOf(choices, seed, maskChecksum(*game.content)), error))
        game.replay.recording = false;
    if (!error.empty()) {
        noteEnd(n, NetEndReason::ProtocolError, error);
        leaveSession(*n.session);
        return false;
    }
    setUpMatch(*game.match, *game.content, choices);
    n.game.frameMs = a.frameMs;
    beginConfirmedCopy(n.game);
    const CpuSeat& cpu = game.settings.cpu[n.localPlayer];
    n.piloted = cpu.on;
    if (cpu.on)
        startPilot(n.pilot, n.localPlayer, cpu.level, seed);
    n.started = true;
    return true;
}

// The local player flies with player 1's keys and pad, whichever ship is theirs.
uint32_t localInput(NetMatch& n, const Game& game)
{
    ControlState keys;
    readGameControls(keys);
    if (pressedInLastRead(NET_STATS_KEY))
        n.statsShown = !n.statsShown;
    PlayerControls controls = keys.players[0];
    WeaponCycling cycling = keys.cycling[0];
    if (n.piloted)
        pilotFrame(n.pilot, *game.match, *game.content, controls, cycling);
    return packPlayerInput(controls, cycling, keys.escape);
}

void noteSpacing(FrameSpacing& f, double nowMs)
{
    if (f.lastFrameMs >= 0.0) {
        const double gap = nowMs - f.lastFrameMs;
        ++f.count;
        const double delta = gap - f.mean;
        f.mean += delta / static_cast<double>(f.count);
        f.sumOfSquares += delta * (gap - f.mean);
    }
    f.lastFrameMs = nowMs;
}

std::chrono::steady_clock::time_point timePointOf(double ms)
{
    const std::chrono::duration<double, std::milli> sinceEpoch(ms);
    return std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(sinceEpoch));
}

// Holds the drawn frame until it is due, serving the link meanwhile.
void waitUntilDue(NetMatch& n)
{
    double now = preciseClockMs();
    while (n.nextFrameMs - now > SERVICE_SLICE_MS) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        serviceEnetTransport(n.transport, *n.session, clockMs());
        now = preciseClockMs();
    }
    std::this_thread::sleep_until(timePointOf(n.nextFrameMs));
}

// The figures of the last second while frames are played: the bytes each way
// of a normal match, without the menus' keep-alive packets nor a mend's state.
void sampleRates(NetMatch& n, int64_t nowMs)
{
    if (nowMs < n.noticeUntilMs) {
        n.rateSampleMs = -1;
        return;
    }
    if (n.rateSampleMs >= 0 && nowMs - n.rateSampleMs < NET_STATS_WINDOW_MS)
        return;
    if (n.rateSampleMs >= 0) {
        const NetStats t = sessionStats(*n.session);
        n.sentSum += t.wireSentPerSecond >= 0 ? t.wireSentPerSecond : t.sentPerSecond;
        n.receivedSum += t.wireReceivedPerSecond >= 0 ? t.wireReceivedPerSecond : t.receivedPerSecond;
        ++n.rateSamples;
    }
    n.rateSampleMs = nowMs;
}

// One frame: the step, its picture finished and held until it is due, so
// that however long the software renderer takes the frames come evenly.
void playFrame(NetMatch& n, Game& game)
{
    NetSession& s = *n.session;
    // A stop asked by the system leaves the match as Exit does: the other side is told.
    if (stopRequested()) {
        stopNetMatch(n);
        return;
    }
    const int64_t now = clockMs();
    serviceEnetTransport(n.transport, s, now);
    advanceSession(s, localInput(n, game), now);
    sampleRates(n, now);
    drawGameFrame(game, tickOfFrame(s.frame - 1, n.game.frameMs));
    drawMatchOverlays(n, game, now);
    finishDrawing();
    waitUntilDue(n);
    // The spacing is taken as the frame goes to the display, as the
    // benchmarks take it for the local game: the swap's own time is the
    // display's.
    const double shownMs = preciseClockMs();
    presentFrame();
    noteSpacing(n.spacing, shownMs);
    // A side that fell more than a frame behind goes on from now, with no burst.
    const double period = framePeriodMs(s);
    n.nextFrameMs = std::max(n.nextFrameMs + period, shownMs - period);
    NetEvent e;
    while (!n.over && pollEvent(s, e)) {
        if (e.type == NetEventType::Paused)
            runNetPause(n, game, e);
        else
            handleNetEvent(n, e);
    }
}

// Why it ended, over the match as it stopped, until a key or NET_END_NOTICE_MS.
void showEndNotice(NetMatch& n, Game& game)
{
    const int64_t until = clockMs() + NET_END_NOTICE_MS;
    while (clockMs() < until) {
        MenuInput keys;
        readMenuInput(keys);
        if (keys.enter || keys.escape || keys.stop)
            return;
        clearScreen();
        drawGameFrame(game, tickOfFrame(n.session->frame - 1, n.game.frameMs));
        drawCentredNotice(n, game, n.endText.c_str(), "Press Enter or Escape to quit");
        presentFrame();
        SDL_Delay(CONNECT_PASS_MS);
    }
}

// What the statistics line at the end adds: the bytes each way while frames
// were played, and how evenly the frames came.
std::string playText(const NetMatch& n)
{
    const FrameSpacing& f = n.spacing;
    const double deviation = f.count > 1 ? std::sqrt(f.sumOfSquares / static_cast<double>(f.count - 1)) : 0.0;
    const int64_t samples = std::max<int64_t>(n.rateSamples, 1);
    char text[160];
    std::snprintf(text, sizeof text,
                  "; while playing %lld B/s out and %lld B/s in on average, frames %.2f ms apart (standard "
                  "deviation %.2f ms)",
                  static_cast<long long>(n.sentSum / samples), static_cast<long long>(n.receivedSum / samples), f.mean,
                  deviation);
    return text;
}

} // namespace

int64_t clockMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double preciseClockMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void handleNetEvent(NetMatch& n, const NetEvent& e)
{
    char line[MAX_LINE_BYTES];
    switch (e.type) {
    case NetEventType::Message: {
        ByteReader in{e.bytes, e.size, 0};
        std::string what;
        MenuOutcome& visit = n.visits[1 - n.localPlayer];
        n.peerVisitIn = getMenuVisit(in, visit, what) == MenuVisitRead::WHOLE && in.at == in.size;
        if (!n.peerVisitIn) {
            noteEnd(n, NetEndReason::ProtocolError, "the other side's menu changes cannot be read");
            leaveSession(*n.session);
        }
        break;
    }
    case NetEventType::DesyncFound:
        std::snprintf(line, sizeof line, "Out of sync at frame %d: the host's match is on its way", e.frame);
        say(line);
        std::fprintf(stderr, "zentavor: checksum %016" PRIx64 " here, %016" PRIx64 " there\n", e.localChecksum,
                     e.peerChecksum);
        n.notice = line;
        n.noticeUntilMs = clockMs() + NET_NOTICE_MS;
        break;
    case NetEventType::Mended:
        takeMendedMatch(n.game);
        std::snprintf(line, sizeof line, "In sync again from frame %d", e.frame);
        say(line);
        n.notice = line;
        n.noticeUntilMs = clockMs() + NET_NOTICE_MS;
        break;
    case NetEventType::Ended: noteEnd(n, e.reason, eventText(e)); break;
    default: break;
    }
}

int runNetMatch(Game& game)
{
    const auto n = std::make_unique<NetMatch>();
    makeAllShipMasks(*game.content, rotatedCataloguePictures());
    prepareNetMatchGame(n->game, *game.match, *game.content);
    n->game.recording = &game.replay;
    n->game.desyncTestFrame = game.settings.net.desyncTestFrame;
    n->game.context = &game;
    n->game.firstStepShown = [](void* g, const StepEvents& events) { showFrameEvents(*static_cast<Game*>(g), events); };
    startSession(*n->session, settingsOf(game), netGameOf(n->game), enetLink(n->transport), clockMs());
    if (openTransport(*n, game, clockMs()) && connectToPeer(*n, game) && setUpNetMatch(*n, game)) {
        n->nextFrameMs = preciseClockMs();
        while (!n->over)
            playFrame(*n, game);
        if (n->endReason != NetEndReason::LocalLeft && !n->endSeen)
            showEndNotice(*n, game);
    }
    endNetMatch(*n, game);
    return n->exitStatus;
}

void stopNetMatch(NetMatch& n)
{
    noteEnd(n, NetEndReason::LocalLeft, "you left the match");
    leaveSession(*n.session);
}

void endNetMatch(NetMatch& n, Game& game)
{
    if (n.endedInOrder)
        return;
    n.endedInOrder = true;
    setMenuHook(MenuHook{});
    leaveSession(*n.session);
    closeEnetTransport(n.transport);
    if (n.started) {
        say(statsLine(sessionStats(*n.session)) + playText(n));
        finishGameReplay(game.replay, *n.game.confirmed);
        if (game.saveConfigAtQuit)
            writeConfig(CONFIG_FILE, configAfterNetMatch(game.config, *game.match, n.localPlayer));
    }
    // Whatever was saved here, config.cfg keeps the rest as it was.
    game.saveConfigAtQuit = false;
    clearTextLines(n.screenLines);
    clearTextLines(n.overlayLines);
    clearTextLines(n.noticeLine);
}
