#include "replay_run.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include "frame_report.h"
#include "draw/catalogue_pictures.h"
#include "replay/match_checksum.h"
#include "replay/sync_test.h"
#include "sim/frame_step.h"

static MatchChoices setUpOfHeader(const ReplayHeader& h)
{
    MatchChoices setUp;
    copyMatchChoices(h, setUp);
    setUp.seed = h.seed;
    return setUp;
}

bool startRunnerRecording(ReplayWriter& w, const MatchChoices& setUp, MatchContent& c, std::string& error)
{
    makeAllShipMasks(c, rotatedCataloguePictures());
    return writeReplayHeader(w, replayHeaderOf(setUp, setUp.seed, maskChecksum(c)), error);
}

void addMenuLine(ScriptedMenu& menu, const MatchState& m, const Command& c)
{
    if (!menu.open) {
        menu = ScriptedMenu{};
        menu.open = true;
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            menu.ships[p] = m.players[p].shipIndex;
            for (int slot = 0; slot < WEAPON_SLOTS; ++slot)
                menu.weapons[p][slot] = m.players[p].weaponRows[slot];
        }
    }
    MenuChange change;
    switch (c.menu) {
    case MenuLine::VISIT: return;
    case MenuLine::SHIPS:
        change.kind = MenuChangeKind::SHIPS;
        std::copy(c.ships, c.ships + PLAYER_COUNT, menu.ships);
        std::copy(menu.ships, menu.ships + PLAYER_COUNT, change.ships);
        break;
    case MenuLine::WEAPONS:
        change.kind = MenuChangeKind::WEAPONS;
        std::copy(c.weapons, c.weapons + WEAPON_SLOTS, menu.weapons[c.player]);
        std::memcpy(change.weapons, menu.weapons, sizeof change.weapons);
        break;
    case MenuLine::MAP:
        change.kind = MenuChangeKind::MAP;
        change.map = static_cast<int32_t>(c.value);
        break;
    }
    menu.visit.changes.push_back(change);
}

MenuOutcome makeScriptedOutcome(ScriptedMenu& menu, MatchState& m, MatchContent& c)
{
    // Every sub-screen is reached through the main-menu page.
    menu.visit.newMatch = true;
    for (const MenuChange& change : menu.visit.changes)
        makeMasksOfChange(c, change);
    replayMenuVisit(m, c, menu.visit);
    menu.open = false;
    return menu.visit;
}

// The match the recording starts from, with every ship's masks; false, after
// one line, when the masks made here are not the recording's.
static bool setUpFromRecording(const Replay& replay, MatchState& m, MatchContent& c)
{
    buildHeadlessMatch(m, c, setUpOfHeader(replay.header));
    makeAllShipMasks(c, rotatedCataloguePictures());
    if (maskChecksum(c) == replay.header.maskChecksum)
        return true;
    std::fprintf(stderr,
                 "zentavor-sim: %s: the collision masks made here differ from the recording's (another OpenGL "
                 "driver or display depth); it cannot be checked on this display\n",
                 replay.path.c_str());
    return false;
}

int syncTestRecording(const Replay& replay, int depth)
{
    auto match = std::make_unique<MatchState>();
    auto content = std::make_unique<MatchContent>();
    if (!setUpFromRecording(replay, *match, *content))
        return EXIT_CANNOT_REPLAY;
    const SyncTestOutcome outcome = syncTest(replay, *match, *content, depth);
    if (outcome.passed) {
        std::printf("{\"synctest\":\"passed\",\"frames\":%lld}\n", static_cast<long long>(outcome.frames));
        return 0;
    }
    std::printf("{\"synctest\":\"failed\",\"frame\":%lld}\n", static_cast<long long>(outcome.failedFrame));
    return EXIT_DIVERGED;
}

int playReplay(const Replay& replay, int every)
{
    auto match = std::make_unique<MatchState>();
    auto content = std::make_unique<MatchContent>();
    MatchState& m = *match;
    MatchContent& c = *content;
    if (!setUpFromRecording(replay, m, c))
        return EXIT_CANNOT_REPLAY;
    ReplayCursor cursor = startReplay(replay);
    ReplayEvent e;
    int64_t frame = 0, timeMs = 0;
    while (nextReplayEvent(cursor, e)) {
        switch (e.kind) {
        case ReplayEventKind::FRAME:
            timeMs += e.frame.frameTime;
            stepMatch(m, c, e.frame.controls, e.frame.frameTime, e.frame.nowMs);
            if (++frame % every == 0)
                writeFrameReport(stdout, frame, timeMs, m);
            break;
        case ReplayEventKind::MENU: replayMenuVisit(m, c, e.visit); break;
        case ReplayEventKind::CHECKPOINT:
            if (matchChecksum(m) != e.checksum) {
                std::printf("{\"replay\":\"diverged\",\"frame\":%lld,\"second\":%lld}\n",
                            static_cast<long long>(e.frames), static_cast<long long>(e.second));
                return EXIT_DIVERGED;
            }
            break;
        case ReplayEventKind::END: break;
        }
    }
    std::printf("{\"replay\":\"verified\",\"frames\":%lld%s}\n", static_cast<long long>(frame),
                replay.cut ? ",\"cut\":true" : "");
    return 0;
}
