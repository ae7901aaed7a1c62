#include "tally.h"


namespace {

constexpr double MS_PER_FIVE_MINUTES = 5 * 60 * 1000.0;
constexpr const char* MAP_NAMES[MAP_COUNT] = {"New earth", "Deep space", "Twin stars"};

bool seatFromName(const std::string& name, Seat& seat)
{
    if (name == "still") {
        seat = Seat{};
        return true;
    }
    seat.piloted = pilotLevelFromName(name.c_str(), seat.level);
    return seat.piloted;
}

TallyRow& rowFor(Tally& tally, const std::string& pairing, int map)
{
    for (TallyRow& row : tally.rows)
        if (row.pairing == pairing && row.map == map)
            return row;
    tally.rows.push_back(TallyRow{});
    tally.rows.back().pairing = pairing;
    tally.rows.back().map = map;
    return tally.rows.back();
}

double percent(int part, int whole) { return whole > 0 ? 100.0 * part / whole : 0.0; }

// All rows of one pairing added up.
TallyRow totalOf(const Tally& tally, const std::string& pairing)
{
    TallyRow total;
    for (const TallyRow& row : tally.rows) {
        if (row.pairing != pairing)
            continue;
        total.matches += row.matches;
        total.firstWins += row.firstWins;
        total.secondWins += row.secondWins;
        total.lengthMs += row.lengthMs;
        for (int c = 0; c < DEATH_CAUSES; ++c) {
            total.firstDeaths[c] += row.firstDeaths[c];
            total.secondDeaths[c] += row.secondDeaths[c];
        }
    }
    return total;
}

const char* verdict(bool met) { return met ? "met" : "MISSED"; }

void printFigures(std::FILE* out, const Tally& tally)
{
    std::fprintf(out, "\nFigures:\n");
    const TallyRow still = totalOf(tally, "hard-still");
    if (still.matches > 0) {
        const int lost = still.firstDeaths[PLANET] + still.firstDeaths[OWN_SHOT];
        std::fprintf(out, "- hard against a still ship: won %d of %d (target all): %s\n", still.firstWins,
                     still.matches, verdict(still.firstWins == still.matches));
        std::fprintf(out, "- hard's lives lost to planets or its own shots there: %d in %d matches (target at most 1 in 10): %s\n",
                     lost, still.matches, verdict(lost * 10 <= still.matches));
    }
    const struct {
        const char* pairing;
        double target;
    } wins[] = {{"hard-easy", 80.0}, {"normal-easy", 65.0}};
    for (const auto& w : wins) {
        const TallyRow row = totalOf(tally, w.pairing);
        if (row.matches > 0)
            std::fprintf(out, "- %s: the first won %.1f %% of %d (target %.0f %%): %s\n", w.pairing,
                         percent(row.firstWins, row.matches), row.matches, w.target,
                         verdict(percent(row.firstWins, row.matches) >= w.target));
    }
    const TallyRow hards = totalOf(tally, "hard-hard");
    if (hards.matches > 0) {
        const double ended = percent(hards.firstWins + hards.secondWins, hards.matches);
        std::fprintf(out, "- hard-hard: %.1f %% of %d ended with a winner (target 90 %%): %s\n", ended, hards.matches,
                     verdict(ended >= 90.0));
    }
    const int hard = static_cast<int>(PilotLevel::Hard);
    for (int map = 0; map < MAP_COUNT; ++map) {
        if (tally.aliveMs[hard][map] == 0)
            continue;
        const double rate = tally.planetDeaths[hard][map] * MS_PER_FIVE_MINUTES / tally.aliveMs[hard][map];
        std::fprintf(out, "- hard's planet deaths on %s: %d in %.1f minutes of flight, %.2f per 5 minutes (target under 1): %s\n",
                     MAP_NAMES[map], tally.planetDeaths[hard][map], tally.aliveMs[hard][map] / 60000.0, rate,
                     verdict(rate < 1.0));
    }
}

} // namespace

bool pairingFromName(const std::string& name, Pairing& pairing)
{
    const size_t dash = name.find('-');
    if (dash == std::string::npos)
        return false;
    pairing.name = name;
    return seatFromName(name.substr(0, dash), pairing.first) && pairing.first.piloted &&
           seatFromName(name.substr(dash + 1), pairing.second);
}

void addDuel(Tally& tally, const Pairing& pairing, int map, int sideOfFirst, const DuelResult& result)
{
    TallyRow& row = rowFor(tally, pairing.name, map);
    const int sideOfSecond = 1 - sideOfFirst;
    row.matches += 1;
    row.firstWins += result.winner == sideOfFirst ? 1 : 0;
    row.secondWins += result.winner == sideOfSecond ? 1 : 0;
    row.lengthMs += result.lengthMs;
    for (int c = 0; c < DEATH_CAUSES; ++c) {
        row.firstDeaths[c] += result.deaths[sideOfFirst][c];
        row.secondDeaths[c] += result.deaths[sideOfSecond][c];
    }
    const Seat seats[2] = {pairing.first, pairing.second};
    const int sides[2] = {sideOfFirst, sideOfSecond};
    for (int i = 0; i < 2; ++i) {
        if (!seats[i].piloted)
            continue;
        const int level = static_cast<int>(seats[i].level);
        tally.planetDeaths[level][map] += result.deaths[sides[i]][PLANET];
        tally.aliveMs[level][map] += result.aliveMs[sides[i]];
    }
}

void printDuel(std::FILE* out, const Pairing& pairing, const DuelSetUp& setUp, int sideOfFirst,
               const DuelResult& result)
{
    std::fprintf(out, "%s map %d seed %u: first is player %d, winner %d after %.1f s; deaths", pairing.name.c_str(),
                 setUp.mapIndex, setUp.seed, sideOfFirst + 1, result.winner + 1, result.lengthMs / 1000.0);
    for (int p = 0; p < PLAYER_COUNT; ++p)
        std::fprintf(out, " p%d killed/planet/own/rammed %d/%d/%d/%d", p + 1, result.deaths[p][KILLED],
                     result.deaths[p][PLANET], result.deaths[p][OWN_SHOT], result.deaths[p][RAMMED]);
    std::fputc('\n', out);
}

void printTally(std::FILE* out, const Tally& tally, int minutes)
{
    std::fprintf(out, "| pairing | map | matches | first wins | second wins | no winner in %d min | mean length (s) "
                      "| first's deaths: planet / own shot / rammed | second's deaths: planet / own shot / rammed |\n",
                 minutes);
    std::fprintf(out, "|---|---|---|---|---|---|---|---|---|\n");
    for (const TallyRow& row : tally.rows) {
        const int undecided = row.matches - row.firstWins - row.secondWins;
        std::fprintf(out, "| %s | %s | %d | %d | %d | %d | %.0f | %d / %d / %d | %d / %d / %d |\n", row.pairing.c_str(),
                     MAP_NAMES[row.map], row.matches, row.firstWins, row.secondWins, undecided,
                     row.matches > 0 ? row.lengthMs / 1000.0 / row.matches : 0.0, row.firstDeaths[PLANET],
                     row.firstDeaths[OWN_SHOT], row.firstDeaths[RAMMED], row.secondDeaths[PLANET],
                     row.secondDeaths[OWN_SHOT], row.secondDeaths[RAMMED]);
    }
    printFigures(out, tally);
}
