#include "sim/step_events.h"

// Shot effects can be many in one frame; the events the match's bookkeeping
// rests on (lives, kills, deaths, weapons, the banner) are few and always kept.
static bool isShotEffect(MatchEventKind kind)
{
    return kind == MatchEventKind::SHOT_FIRED || kind == MatchEventKind::SHIELD_HIT ||
           kind == MatchEventKind::HULL_HIT || kind == MatchEventKind::SHOT_WENT_OFF;
}

void report(StepEvents& events, const MatchEvent& event)
{
    const int room = isShotEffect(event.kind) ? STEP_EVENT_CAPACITY - STEP_EVENT_RESERVE : STEP_EVENT_CAPACITY;
    if (events.count >= room) {
        events.dropped += 1;
        return;
    }
    events.events[events.count++] = event;
}

void report(StepEvents& events, MatchEventKind kind, int player, const Vec2& position, int detail, int other)
{
    MatchEvent event{};
    event.kind = kind;
    event.player = static_cast<int8_t>(player);
    event.other = static_cast<int8_t>(other);
    event.detail = static_cast<uint8_t>(detail);
    event.position = position;
    report(events, event);
}
