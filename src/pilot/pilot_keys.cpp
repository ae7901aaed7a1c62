#include "pilot/pilot_keys.h"

#include <cmath>

#include "pilot/plane.h"

namespace {

constexpr int ASSUMED_FRAME_MS = 10; // before the first measured frame
constexpr double FINE_TURN_SHARE = 0.25;

enum class Turn { None, FineLeft, FineRight, Left, Right };

// Full turn while it cannot overshoot by more than half a step, then fine
// turn, then nothing: the heading settles within an eighth of a full step.
Turn turnTowards(const ShipBody& body, double heading, int frameMs)
{
    const double step = body.turnRate * (frameMs > 0 ? frameMs : ASSUMED_FRAME_MS) / 1000.0;
    const double error = turnBetween(body.heading.angle, heading);
    if (std::fabs(error) > 0.5 * step)
        return error < 0.0 ? Turn::Left : Turn::Right;
    if (std::fabs(error) > 0.5 * FINE_TURN_SHARE * step)
        return error < 0.0 ? Turn::FineLeft : Turn::FineRight;
    return Turn::None;
}

} // namespace

void pressKeys(const PilotIntent& intent, const Player& self, int frameMs, HeldKeys& held, PlayerControls& controls,
               WeaponCycling& cycling)
{
    controls = PlayerControls{};
    cycling = WeaponCycling{};
    bool upKey = false;
    // The weapon modifier: flight keys do nothing, fire becomes reload.
    if (intent.cycle != 0 || intent.reload) {
        controls.weaponModifier = true;
        cycling.previousWeapon = intent.cycle < 0;
        cycling.nextWeapon = intent.cycle > 0;
        controls.reload = intent.reload;
        held.up = false;
        return;
    }
    const Turn turn = intent.steer ? turnTowards(self.body, intent.heading, frameMs) : Turn::None;
    const bool fine = turn == Turn::FineLeft || turn == Turn::FineRight;
    if (intent.boost > 0 || (fine && intent.boost == 0)) {
        // The manoeuvre modifier: fine turns and boosts. Its up key is a
        // boost, and plain thrust only while the bar is not full.
        controls.fineLeft = turn == Turn::FineLeft || turn == Turn::Left;
        controls.fineRight = turn == Turn::FineRight || turn == Turn::Right;
        const bool thrustAsBoostKey = intent.thrust && !self.boosting && self.energy < self.maxEnergy;
        controls.boostForward = intent.boost > 0 || thrustAsBoostKey;
        controls.boostBackward = intent.boost < 0;
        upKey = controls.boostForward;
    } else {
        controls.turnLeft = turn == Turn::Left;
        controls.turnRight = turn == Turn::Right;
        controls.thrust = intent.thrust;
        controls.thrustPressed = intent.thrust && !held.up;
        controls.boostBackward = intent.boost < 0;
        upKey = intent.thrust;
    }
    controls.fire = intent.fire;
    held.up = upKey;
}
