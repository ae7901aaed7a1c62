// zentavor-sim: runs the real match code from a script, with time advanced
// only by the script, and prints one JSON line per frame.
//
//   zentavor-sim SCRIPT      (SCRIPT may be - for standard input)
//
// Script lines ('#' starts a comment):
//   seed N | map N | lives N | ship P N | weapons P w0 w1 w2 w3 w4
//       set-up, before the first run; the players are then placed as at start-up
//   place P x y speed angle heading
//       player P (1 or 2) at pixel (x, y), velocity in world units per second and
//       radians, heading in radians
//   run N DT KEY...
//       N frames of DT ms with the keys held; +KEY is also pressed in the first frame.
//       Keys: d g r f 1 2 3 (player 1), left right up down i o p (player 2)
// Runs in the game folder (it loads img/) and needs a display, as the ship
// masks are drawn through OpenGL exactly as the game draws them.
#include <SDL/SDL.h>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "frame_report.h"
#include "gfx/texture.h"
#include "gfx/video.h"
#include "headless_match.h"
#include "script.h"

namespace {

constexpr int EXIT_BAD_SCRIPT = 2;
constexpr int EXIT_NO_DISPLAY = 3;

bool readScript(const std::string& path, std::string& text)
{
    std::ostringstream buffer;
    if (path == "-") {
        buffer << std::cin.rdbuf();
    } else {
        std::ifstream in(path, std::ios::binary);
        if (!in)
            return false;
        buffer << in.rdbuf();
    }
    text = buffer.str();
    return true;
}

bool startDisplay()
{
    // Checked here first: without a display the window cannot even be asked for.
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !initVideo(PLAYFIELD_WIDTH, PLAYFIELD_HEIGHT, false)) {
        std::fprintf(stderr, "zentavor-sim: cannot open a window: %s\n", SDL_GetError());
        return false;
    }
    const char* missing = nullptr;
    if (!loadTextureCatalogue(&missing)) {
        std::fprintf(stderr, "zentavor-sim: cannot load image %s (run in the game folder)\n",
                     missing ? missing : "");
        return false;
    }
    return true;
}

// Plays the commands in order; the match is built when the first run starts.
class ScriptPlayer {
public:
    explicit ScriptPlayer(const std::string& scriptName) : scriptName_(scriptName) {}

    bool play(const std::vector<Command>& commands)
    {
        for (const Command& c : commands) {
            if (c.kind == CommandKind::Place)
                place(c);
            else if (c.kind == CommandKind::Run) {
                if (!run(c))
                    return false;
            } else
                applySetUp(setUp_, c);
        }
        return true;
    }

private:
    void build()
    {
        match_ = std::make_unique<MatchState>();
        buildHeadlessMatch(*match_, setUp_);
        for (const Command& c : placesBeforeStart_)
            placePlayer(*match_, c.player, c.place);
    }

    void place(const Command& c)
    {
        if (match_)
            placePlayer(*match_, c.player, c.place);
        else
            placesBeforeStart_.push_back(c);
    }

    bool run(const Command& c)
    {
        if (!match_)
            build();
        for (int i = 0; i < c.frames; ++i) {
            if (timeMs_ + c.frameMs > std::numeric_limits<int32_t>::max()) {
                std::fprintf(stderr, "zentavor-sim: %s:%d: the run goes past %d ms of match time\n",
                             scriptName_.c_str(), c.line, std::numeric_limits<int32_t>::max());
                return false;
            }
            timeMs_ += c.frameMs;
            runHeadlessFrame(*match_, controlsFor(c.keys, i == 0), c.frameMs, static_cast<int32_t>(timeMs_));
            writeFrameReport(stdout, ++frame_, timeMs_, *match_);
        }
        return true;
    }

    std::string scriptName_;
    RunnerSetUp setUp_;
    std::vector<Command> placesBeforeStart_;
    std::unique_ptr<MatchState> match_;
    int64_t frame_ = 0;
    int64_t timeMs_ = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: zentavor-sim SCRIPT   (- reads the script from standard input)\n");
        return EXIT_BAD_SCRIPT;
    }
    const std::string scriptName = argv[1];
    std::string text;
    if (!readScript(scriptName, text)) {
        std::fprintf(stderr, "zentavor-sim: cannot read %s\n", scriptName.c_str());
        return EXIT_BAD_SCRIPT;
    }
    std::vector<Command> commands;
    ScriptError error;
    if (!parseScript(text, commands, error)) {
        std::fprintf(stderr, "zentavor-sim: %s:%d: %s\n", scriptName.c_str(), error.line, error.message.c_str());
        return EXIT_BAD_SCRIPT;
    }
    if (!startDisplay())
        return EXIT_NO_DISPLAY;
    ScriptPlayer player(scriptName);
    const bool finished = player.play(commands);
    std::fflush(stdout);
    freeTextureCatalogue();
    SDL_Quit();
    return finished ? 0 : EXIT_BAD_SCRIPT;
}
