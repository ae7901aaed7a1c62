#include "replay_run.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include "frame_report.h"
#include "gfx/catalogue_pictures.h"
#include "replay/match_checksum.h"
#include "ui/menu.h"

static RunnerSetUp setUpOfHeader(const ReplayHeader& h)
{
    RunnerSetUp setUp;
    copyMatchChoices(h, setUp);
    setUp.seed = h.seed;
    return setUp;
}

bool startRunnerRecording(ReplayWriter& w, const RunnerSetUp& setUp, const MatchState& m, std::string& error)
{
    const uint64_t masks = maskChecksum(m, rotatedCataloguePictures());
    return writeReplayHeader(w, replayHeaderOf(setUp, setUp.seed, masks), error);
}

void addMenuLine(ScriptedMenu& menu, const MatchState& m, const Command& c)
{
    if (!menu.open) {
        menu = ScriptedMenu{};
        menu.open = true;
        for (int p = 0; p < PLAYER_COUNT; ++p) {
            menu.ships[p] = m.players[p].shipIndex;
            for (int slot = 0; slot < WEAPON_SLOTS; ++slot)
                menu.weapons[p][slot] = m.players[p].weapons[slot].weaponIndex;
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

MenuOutcome makeScriptedOutcome(ScriptedMenu& menu, MatchState& m)
{
    // Every sub-screen is reached through the main-menu page.
    menu.visit.newMatch = true;
    replayMenuOutcome(m, menu.visit);
    menu.open = false;
    return menu.visit;
}

int playReplay(const Replay& replay, int every)
{
    auto match = std::make_unique<MatchState>();
    MatchState& m = *match;
    buildHeadlessMatch(m, setUpOfHeader(replay.header));
    if (maskChecksum(m, rotatedCataloguePictures()) != replay.header.maskChecksum) {
        std::fprintf(stderr,
                     "zentavor-sim: %s: the collision masks made here differ from the recording's (another OpenGL "
                     "driver or display depth); it cannot be checked on this display\n",
                     replay.path.c_str());
        return EXIT_CANNOT_REPLAY;
    }
    ReplayCursor cursor = startReplay(replay);
    ReplayEvent e;
    int64_t frame = 0, timeMs = 0;
    while (nextReplayEvent(cursor, e)) {
        switch (e.kind) {
        case ReplayEventKind::FRAME:
            timeMs += e.frame.frameTime;
            runHeadlessFrame(m, e.frame.controls, e.frame.frameTime, e.frame.nowMs);
            if (++frame % every == 0)
                writeFrameReport(stdout, frame, timeMs, m);
            break;
        case ReplayEventKind::MENU:
            replayMenuOutcome(m, e.visit);
            break;
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
