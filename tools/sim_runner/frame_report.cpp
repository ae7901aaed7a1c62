#include "frame_report.h"

#include <cmath>

// Shortest text that reads back as the same double; JSON has no NaN or infinity.
static void writeNumber(std::FILE* out, const char* key, double value)
{
    if (std::isfinite(value))
        std::fprintf(out, "\"%s\":%.17g", key, value);
    else
        std::fprintf(out, "\"%s\":null", key);
}

static void writePlayer(std::FILE* out, const Player& p)
{
    std::fputc('{', out);
    writeNumber(out, "x", p.body.position.x);
    std::fputc(',', out);
    writeNumber(out, "y", p.body.position.y);
    std::fputc(',', out);
    writeNumber(out, "speed", p.body.velocity.length);
    std::fputc(',', out);
    writeNumber(out, "angle", p.body.velocity.angle);
    std::fputc(',', out);
    writeNumber(out, "heading", p.body.heading.angle);
    std::fputc(',', out);
    writeNumber(out, "hull", p.hull);
    std::fputc(',', out);
    writeNumber(out, "shield", p.shield);
    std::fputc(',', out);
    writeNumber(out, "energy", p.energy);
    std::fprintf(out, ",\"lives\":%d,\"kills\":%d,\"lifeState\":%d,\"slot\":%d,\"ammo\":%d}", p.lives, p.kills,
                 p.lifeState, p.currentSlot, p.fireStates[p.currentSlot].ammoLeft);
}

static int activeShots(const MatchState& m)
{
    int n = 0;
    for (const Projectile& shot : m.projectiles)
        n += shot.active ? 1 : 0;
    return n;
}

void writeFrameReport(std::FILE* out, int64_t frame, int64_t timeMs, const MatchState& m)
{
    std::fprintf(out, "{\"frame\":%lld,\"t\":%lld,\"shots\":%d,\"players\":[", static_cast<long long>(frame),
                 static_cast<long long>(timeMs), activeShots(m));
    writePlayer(out, m.players[0]);
    std::fputc(',', out);
    writePlayer(out, m.players[1]);
    std::fputs("]}\n", out);
}
