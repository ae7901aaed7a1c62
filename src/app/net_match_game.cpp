#include "app/net_match_game.h"

#include <cstring>
#include "replay/control_bits.h"
#include "replay/mask_bytes.h"
#include "replay/match_checksum.h"
#include "sim/frame_step.h"
#include "sim/match_rules.h"
#include "sim/match_setup.h"
#include "sim/match_validation.h"

namespace {

// Player 1's place in the recorded control bits carries either player's input.
ControlState alone(const PlayerControls& controls, const WeaponCycling& cycling, bool escape)
{
    ControlState c;
    c.players[0] = controls;
    c.cycling[0] = cycling;
    c.escape = escape;
    return c;
}

NetMatchGame& gameOf(void* context) { return *static_cast<NetMatchGame*>(context); }

// The test switch's nudge: a pixel to the right, enough for every checksum to differ.
void nudge(MatchState& m) { m.players[0].body.position.x += pixels(1.0); }

bool stepFrame(void* context, const uint32_t inputs[2], int32_t frame, bool again)
{
    NetMatchGame& g = gameOf(context);
    const ControlState controls = controlsOfInputs(inputs);
    const StepEvents events = stepMatch(*g.live, *g.content, controls, g.frameMs, tickOfFrame(frame, g.frameMs));
    if (frame == g.desyncTestFrame)
        nudge(*g.live);
    if (!again && g.firstStepShown)
        g.firstStepShown(g.context, events);
    return controls.escape || matchLost(*g.live);
}

void confirmFrame(void* context, const NetConfirmedFrame& f)
{
    NetMatchGame& g = gameOf(context);
    const ControlState controls = controlsOfInputs(f.inputs);
    const RecordedFrame recorded{controls, g.frameMs, tickOfFrame(f.frame, g.frameMs)};
    if (g.recording)
        recordFrame(*g.recording, *g.confirmed, recorded);
    stepMatch(*g.confirmed, *g.content, controls, recorded.frameTime, recorded.nowMs);
    ++g.framesConfirmed;
    if (matchChecksum(*g.confirmed) != f.checksum)
        ++g.confirmedDiffering;
}

size_t writeState(void* context, uint8_t* bytes, size_t capacity)
{
    const MatchState& m = *gameOf(context).live;
    if (capacity < sizeof m)
        return 0;
    std::memcpy(bytes, &m, sizeof m);
    return sizeof m;
}

bool readState(void* context, const uint8_t* bytes, size_t size)
{
    NetMatchGame& g = gameOf(context);
    const char* why = nullptr;
    if (size != sizeof(MatchState))
        return false;
    std::memcpy(g.incoming.get(), bytes, size);
    if (!validMatchState(*g.incoming, *g.content, why))
        return false;
    *g.live = *g.incoming;
    return true;
}

} // namespace

uint32_t packPlayerInput(const PlayerControls& controls, const WeaponCycling& cycling, bool escape)
{
    return packControls(alone(controls, cycling, escape));
}

uint32_t heldInputMask()
{
    const PlayerControls held{true, true, true, true, true, true, true, false, true, true, true};
    return packPlayerInput(held, WeaponCycling{}, false);
}

ControlState controlsOfInputs(const uint32_t inputs[PLAYER_COUNT])
{
    ControlState c;
    for (int p = 0; p < PLAYER_COUNT; ++p) {
        const ControlState one = unpackControls(inputs[p]);
        c.players[p] = one.players[0];
        c.cycling[p] = one.cycling[0];
        c.escape = c.escape || one.escape;
    }
    return c;
}

bool inputEscapes(uint32_t input) { return unpackControls(input).escape; }

int32_t tickOfFrame(int32_t frame, int32_t frameMs) { return NET_FIRST_TICK_MS + frame * frameMs; }

void prepareNetMatchGame(NetMatchGame& g, MatchState& live, const MatchContent& content)
{
    g.live = &live;
    g.content = &content;
    g.slots = std::make_unique<MatchState[]>(NET_SAVE_SLOTS);
    g.confirmed = std::make_unique<MatchState>();
    g.incoming = std::make_unique<MatchState>();
}

void beginConfirmedCopy(NetMatchGame& g) { *g.confirmed = *g.live; }

NetGame netGameOf(NetMatchGame& g)
{
    NetGame n;
    n.context = &g;
    n.saveState = [](void* c, int32_t slot) { gameOf(c).slots[slot] = *gameOf(c).live; };
    n.loadState = [](void* c, int32_t slot) { *gameOf(c).live = gameOf(c).slots[slot]; };
    n.stepFrame = stepFrame;
    n.checksum = [](void* c) { return matchChecksum(*gameOf(c).live); };
    n.confirmFrame = confirmFrame;
    n.writeState = writeState;
    n.readState = readState;
    n.writeMaskTable = [](void* c, std::vector<uint8_t>& bytes) { bytes = maskTableBytes(*gameOf(c).content); };
    return n;
}

StepEvents makeNetMenuVisit(NetMatchGame& g, const MenuOutcome& merged)
{
    const StepEvents events = replayMenuVisit(*g.live, *g.content, merged);
    replayMenuVisit(*g.confirmed, *g.content, merged);
    if (g.recording)
        recordMenuOutcome(*g.recording, merged);
    return events;
}

void takeMendedMatch(NetMatchGame& g) { *g.confirmed = *g.live; }
