#include "pilot/escape.h"

#include <algorithm>
#include <cmath>

#include "pilot/dodge.h"
#include "pilot/plane.h"

namespace {

constexpr int ESCAPE_DIRECTIONS = 12;
constexpr double ESCAPE_BURN_S = 0.9;     // an escape thrusts at most this long, then coasts
constexpr double ESCAPE_SPEED_PX = 200.0; // or until it has gained this speed
constexpr double EXIT_HORIZON_S = 1.3;
constexpr double ESCAPE_ROOM_PX = 200.0;  // room on the way beyond which an escape is as good as another
constexpr double END_ROOM_PX = 600.0;     // the same for room at the end
constexpr double END_ROOM_SHARE = 0.5;    // of the score for room at the end, beside room on the way
constexpr double TURN_COST = 0.15;        // of the score, for a half turn before thrusting
constexpr double BOOST_COST = 0.5;        // a boost spends the bar dodging needs: only for a clearly better way out

// Better: no contact, then a later one; then staying inside (outside, the
// ship is flown back blind, maybe across a planet's way), then a later exit;
// then more room on the way, and at the end.
double pathScore(const PathOutcome& path)
{
    constexpr double CONTACT_COST = 100.0;
    constexpr double EXIT_COST = 10.0;
    const double room = pixels(ESCAPE_ROOM_PX);
    const double endRoom = pixels(END_ROOM_PX);
    double score = std::min(path.clearance, room) / room + END_ROOM_SHARE * std::min(path.endClearance, endRoom) / endRoom;
    if (path.contactS < NEVER_S)
        score -= CONTACT_COST - path.contactS;
    // A later exit can still be braked for.
    if (path.exitS < EXIT_HORIZON_S)
        score -= EXIT_COST - path.exitS;
    return score;
}

} // namespace

Escape findEscape(const PlanetForecast& f, const Player& self, const WorldRect& arena, const PilotSkill& skill)
{
    const ShipBody& body = self.body;
    const Vec2 position = body.position;
    const Vec2 velocity = velocityOf(body);
    const double margin = pixels(skill.planetMarginPx);
    // Thrust long enough to get going, not so long that the arena's edge comes next.
    const double burnS = std::min(ESCAPE_BURN_S, pixels(ESCAPE_SPEED_PX) / engineAccOf(body));
    Escape best{body.heading.angle, 0};
    double bestScore = -1e18;
    for (int i = 0; i < ESCAPE_DIRECTIONS; ++i) {
        const double course = i * TWO_PI / ESCAPE_DIRECTIONS;
        const double turnS = std::fabs(turnBetween(body.heading.angle, course)) / body.turnRate;
        const EngineBurn burn{times(unitAt(course), engineAccOf(body)), turnS, turnS + burnS};
        // Of ways about as good, the one needing the least turn: escapes stop dithering between courses.
        const double score = pathScore(followShipPath(f, position, velocity, &burn, 1, skill.lookAheadS, margin, arena)) -
                             TURN_COST * turnS * body.turnRate / PI;
        if (score > bestScore) {
            bestScore = score;
            best = Escape{course, 0};
        }
    }
    if (!mayBoost(self, skill))
        return best;
    for (int direction : {1, -1}) {
        const Vec2 push = times(unitAt(body.heading.angle), direction * boostAccOf(body));
        const EngineBurn burn{push, 0.0, self.maxEnergy / MS_PER_S};
        const double score =
            pathScore(followShipPath(f, position, velocity, &burn, 1, skill.lookAheadS, margin, arena)) - BOOST_COST;
        if (score > bestScore) {
            bestScore = score;
            best = Escape{body.heading.angle, direction};
        }
    }
    return best;
}
