#include "sim/geometry.h"

#include <cmath>

// The pull's only gravitational constant; masses are tuned to it.
constexpr double GRAVITY_CONSTANT = 0.00003;

// Past this many turns the loops below would take long to wrap an angle (and
// near 1e17 never finish, as subtracting a turn no longer changes it), so the
// angle is first brought within a turn by fmod, which is exact. Closer in the
// loops keep the very results, bit for bit, that recorded matches hold.
constexpr double LOOP_WRAP_LIMIT = 64 * TWO_PI;

static double withinLoopReach(double angle)
{
    return std::fabs(angle) > LOOP_WRAP_LIMIT ? std::fmod(angle, TWO_PI) : angle;
}

double normaliseAngle(double angle)
{
    angle = withinLoopReach(angle);
    while (angle < 0.0)
        angle += TWO_PI;
    while (angle >= TWO_PI)
        angle -= TWO_PI;
    return angle;
}

static double wrapKeepingFullTurn(double angle)
{
    angle = withinLoopReach(angle);
    while (angle < 0.0)
        angle += TWO_PI;
    while (angle > TWO_PI)
        angle -= TWO_PI;
    return angle;
}

void setAngle(PolarVec& v, double angle) { v.angle = wrapKeepingFullTurn(angle); }

void rotate(PolarVec& v, double delta) { setAngle(v, v.angle + delta); }

double xOf(const PolarVec& v) { return v.length * std::cos(v.angle); }

double yOf(const PolarVec& v) { return v.length * std::sin(v.angle); }

static PolarVec polarFromComponents(double x, double y)
{
    const double length = std::sqrt(x * x + y * y);
    if (length == 0.0)
        return PolarVec{0.0, 0.0};
    double angle = std::acos(x / length);
    if (y < 0.0)
        angle = -angle;
    return PolarVec{length, angle};
}

PolarVec add(const PolarVec& a, const PolarVec& b) { return polarFromComponents(xOf(a) + xOf(b), yOf(a) + yOf(b)); }

PolarVec subtract(const PolarVec& a, const PolarVec& b) { return polarFromComponents(xOf(a) - xOf(b), yOf(a) - yOf(b)); }

PolarVec scale(const PolarVec& v, double k) { return PolarVec{v.length * k, v.angle}; }

PolarVec divide(const PolarVec& v, double k) { return PolarVec{v.length / k, v.angle}; }

PolarVec polarFromPoints(const Vec2& from, const Vec2& to) { return polarFromComponents(to.x - from.x, to.y - from.y); }

double distance(const Vec2& a, const Vec2& b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

int worldToPixel(double worldUnits)
{
    // Far off every map (where a frame of days flings a ship) is drawn at a
    // far pixel rather than cast out of an int's range; NaN too.
    constexpr double FAR_PIXELS = 1 << 24;
    const double px = worldUnits / WORLD_UNITS_PER_PIXEL;
    if (!(std::fabs(px) < FAR_PIXELS))
        return px < 0.0 ? -static_cast<int>(FAR_PIXELS) : static_cast<int>(FAR_PIXELS);
    return static_cast<int>(px);
}

Vec2 worldToPixelVec(const Vec2& world) { return Vec2{world.x / WORLD_UNITS_PER_PIXEL, world.y / WORLD_UNITS_PER_PIXEL}; }

bool insideRect(const WorldRect& r, const Vec2& p)
{
    return r.x <= p.x && p.x < r.x + r.w && r.y <= p.y && p.y < r.y + r.h;
}

bool strictlyInsideRect(const WorldRect& r, const Vec2& p)
{
    return r.x < p.x && p.x < r.x + r.w && r.y < p.y && p.y < r.y + r.h;
}

namespace {

// The law of the pull, written once for both of its forms: from the target to
// the source, its strength falls with the square of the distance between the
// bodies' surfaces, and it is nothing beyond the source's range.
enum class Reach { COINCIDE, OUT_OF_RANGE, PULLS };

struct Pull {
    double dx, dy; // target to source
    double centreDistance;
    double squaredSurfaceDistance;
};

// Inlined into both forms: a thousand shots ask for five pulls each a frame.
[[gnu::always_inline]] inline Reach pullBetween(const Body& source, const Body& target, Pull& p)
{
    p.dx = source.position.x - target.position.x;
    p.dy = source.position.y - target.position.y;
    if (p.dx == 0.0 && p.dy == 0.0)
        return Reach::COINCIDE;
    const double squaredDistance = p.dx * p.dx + p.dy * p.dy;
    // Clearly out of range (the margin covers rounding): no square root needed.
    constexpr double FAR_MARGIN = 1.000001;
    const double range = source.gravityRange;
    if (range != 0.0 && source.radius >= 0.0 && target.radius >= 0.0 && squaredDistance > range * range * FAR_MARGIN)
        return Reach::OUT_OF_RANGE;
    p.centreDistance = std::sqrt(squaredDistance);
    const double d = p.centreDistance + source.radius + target.radius;
    if (range != 0.0 && range < d)
        return Reach::OUT_OF_RANGE;
    p.squaredSurfaceDistance = d * d;
    return Reach::PULLS;
}

double gravityTimesMasses(const Body& source, const Body& target)
{
    return GRAVITY_CONSTANT * source.mass * target.mass;
}

} // namespace

// Ships keep their forces as length and angle; shots sum a thousand pulls a
// frame as x and y. The two forms round differently in their last bits, and
// recorded matches depend on each, so each keeps its own last step.
PolarVec pullOf(const Body& source, const Body& target)
{
    Pull p;
    const Reach reach = pullBetween(source, target, p);
    if (reach == Reach::COINCIDE)
        return PolarVec{1.0, 0.0};
    if (reach == Reach::OUT_OF_RANGE)
        return PolarVec{0.0, 0.0};
    PolarVec pull{gravityTimesMasses(source, target) / p.squaredSurfaceDistance, std::acos(p.dx / p.centreDistance)};
    if (p.dy < 0.0)
        pull.angle = -pull.angle;
    setAngle(pull, pull.angle);
    return pull;
}

Vec2 pullComponentsOf(const Body& source, const Body& target)
{
    Pull p;
    const Reach reach = pullBetween(source, target, p);
    if (reach == Reach::COINCIDE)
        return Vec2{1.0, 0.0};
    if (reach == Reach::OUT_OF_RANGE)
        return Vec2{0.0, 0.0};
    const double perUnitDistance = gravityTimesMasses(source, target) / (p.squaredSurfaceDistance * p.centreDistance);
    return Vec2{perUnitDistance * p.dx, perUnitDistance * p.dy};
}
