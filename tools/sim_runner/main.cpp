// zentavor-sim: runs the real match code from a script, with time advanced
// only by the script, and prints one JSON line per frame.
//
//   zentavor-sim [--record FILE] SCRIPT   (SCRIPT may be - for standard input)
//   zentavor-sim --replay FILE [--every K]
//   zentavor-sim --synctest FILE [--depth K]
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
//   menu | menu ships S1 S2 | menu weapons P w0 w1 w2 w3 w4 | menu map N
//       a visit to the menu after the frames so far: the main-menu page, and
//       each line one sub-screen left with those choices; consecutive lines
//       are one visit, which starts a new match
//   match N DT KEY...
//       as run, but stops after the first frame that leaves a player without
//       lives, then prints {"over":true,"winner":P,"frames":F,"t":T}: P the
//       player with lives left (0 when the match did not end), F the frames
//       this line ran, T the match time in ms
//   cpu P LEVEL
//       from here on the computer flies player P (LEVEL easy, normal or hard)
//       and the script's keys for that player are ignored
//   report K
//       from here on only every K-th frame line is printed (0: none)
// --record writes the match as the game's -record does (no place lines).
// --replay plays a recording and checks it against its checkpoints: the
// frame lines (of every Kth frame), then {"replay":"verified",...} and exit 0,
// or {"replay":"diverged","frame":F,"second":S} and exit 1.
// --synctest plays a recording saving the match at every frame, stepping K
// frames ahead, restoring and stepping them again (K is --depth, or 1 to 12
// in turn): {"synctest":"passed","frames":F} and exit 0 when both passes agree
// in checksums and events, or {"synctest":"failed","frame":F} and exit 1.
// Runs in the game folder (it loads img/) and needs a display, as the ship
// masks are drawn through OpenGL exactly as the game draws them.
#include <sys/stat.h>
#include <unistd.h>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "files/whole_file.h"
#include "frame_report.h"
#include "gfx/utf8.h"
#include "headless_match.h"
#include "replay_run.h"
#include "runner_options.h"
#include "pilot/pilot.h"
#include "script.h"
#include "sim/frame_step.h"
#include "sim/match_rules.h"

namespace {

constexpr int EXIT_BAD_SCRIPT = 2;
constexpr int EXIT_NO_DISPLAY = 3;

// Far beyond any real script; what is larger (or a device with no end) is refused
// before it can take the memory.
constexpr size_t SCRIPT_MAX_BYTES = 16 * 1024 * 1024;

// The script whole; on failure false, after one line on stderr saying why.
bool readScript(const std::string& path, std::string& text)
{
    const bool standardInput = path == "-";
    const WholeFile file = standardInput ? readWholeStream(STDIN_FILENO, SCRIPT_MAX_BYTES)
                                         : readWholeFile(path, SCRIPT_MAX_BYTES);
    if (file.result != ReadResult::Read) {
        std::fprintf(stderr, "zentavor-sim: cannot read %s: %s\n",
                     standardInput ? "standard input" : printableOnTerminal(path).c_str(), file.reason.c_str());
        return false;
    }
    text = file.text;
    return true;
}

// Plays the commands in order; the match is built at the first run or menu line.
class ScriptPlayer {
public:
    // writer: the recording's file, opened already, or none.
    ScriptPlayer(const std::string& scriptName, ReplayWriter& writer) : scriptName_(scriptName), writer_(writer) {}

    bool play(const std::vector<Command>& commands)
    {
        for (const Command& c : commands) {
            if (c.kind != CommandKind::Menu && menu_.open)
                closeMenu();
            if (c.kind == CommandKind::Place)
                place(c);
            else if (c.kind == CommandKind::Run || c.kind == CommandKind::Match) {
                if (!run(c))
                    return false;
            } else if (c.kind == CommandKind::Menu) {
                if (!match_ && !build())
                    return false;
                addMenuLine(menu_, *match_, c);
            } else if (c.kind == CommandKind::Cpu)
                seat(c);
            else if (c.kind == CommandKind::Report)
                reportEvery_ = c.value;
            else
                applySetUp(setUp_, c);
        }
        if (menu_.open)
            closeMenu();
        // A script without frames still gives a recording: of start-up alone.
        if (writer_.file && !match_ && !build())
            return false;
        return finishRecording();
    }

private:
    bool build()
    {
        match_ = std::make_unique<MatchState>();
        buildHeadlessMatch(*match_, *content_, setUp_);
        for (const Command& c : placesBeforeStart_)
            placePlayer(*match_, c.player, c.place);
        // The seed is known only now that the set-up is complete.
        for (int p = 0; p < PLAYER_COUNT; ++p)
            if (pilots_->flown[p])
                seatPilot(*pilots_, p, pilots_->pilots[p].level, setUp_.seed);
        std::string error;
        recording_ = writer_.file != nullptr;
        if (recording_ && !startRunnerRecording(writer_, setUp_, *content_, error)) {
            recording_ = false;
            std::fprintf(stderr, "zentavor-sim: %s\n", error.c_str());
            return false;
        }
        return true;
    }

    void seat(const Command& c)
    {
        seatPilot(*pilots_, c.player, static_cast<PilotLevel>(c.value), setUp_.seed);
    }

    void place(const Command& c)
    {
        if (match_)
            placePlayer(*match_, c.player, c.place);
        else
            placesBeforeStart_.push_back(c);
    }

    void closeMenu()
    {
        const MenuOutcome visit = makeScriptedOutcome(menu_, *match_, *content_);
        if (recording_)
            writeMenuOutcome(writer_, visit);
    }

    // A recording that cannot be written ends the run, said in one line.
    bool written()
    {
        if (!recording_ || writer_.writeError == 0)
            return true;
        std::fprintf(stderr, "zentavor-sim: %s\n", replayWriteFailure(writer_).c_str());
        return false;
    }

    // Held to the recordings' rule: no more frames in one second of play
    // than any real run could show, so that no line keeps the runner busy for hours.
    bool withinFramesPerSecond(const Command& c)
    {
        const int64_t second = timeMs_ / MS_PER_CHECKPOINT;
        framesThisSecond_ = second == second_ ? framesThisSecond_ + 1 : 1;
        second_ = second;
        if (framesThisSecond_ <= MAX_FRAMES_PER_SECOND)
            return true;
        std::fprintf(stderr, "zentavor-sim: %s:%d: more than %lld frames in one second of play\n",
                     scriptName_.c_str(), c.line, static_cast<long long>(MAX_FRAMES_PER_SECOND));
        return false;
    }

    bool run(const Command& c)
    {
        if (!match_ && !build())
            return false;
        const bool untilLost = c.kind == CommandKind::Match;
        int i = 0;
        for (; i < c.frames && !(untilLost && matchLost(*match_)); ++i) {
            if (timeMs_ + c.frameMs > std::numeric_limits<int32_t>::max()) {
                std::fprintf(stderr, "zentavor-sim: %s:%d: the run goes past %d ms of match time\n",
                             scriptName_.c_str(), c.line, std::numeric_limits<int32_t>::max());
                return false;
            }
            if (!withinFramesPerSecond(c))
                return false;
            timeMs_ += c.frameMs;
            ControlState controls = controlsFor(c.keys, i == 0);
            flyPilots(*pilots_, *match_, *content_, controls);
            const auto nowMs = static_cast<int32_t>(timeMs_);
            if (recording_)
                writeFrame(writer_, *match_, RecordedFrame{controls, c.frameMs, nowMs});
            if (!written())
                return false;
            stepMatch(*match_, *content_, controls, c.frameMs, nowMs);
            ++frame_;
            if (reportEvery_ > 0 && frame_ % reportEvery_ == 0)
                writeFrameReport(stdout, frame_, timeMs_, *match_);
        }
        if (untilLost)
            std::printf("{\"over\":true,\"winner\":%d,\"frames\":%d,\"t\":%lld}\n", winnerOf(*match_), i,
                        static_cast<long long>(timeMs_));
        return true;
    }

    bool finishRecording()
    {
        std::string error;
        if (!recording_ || (written() && closeReplayWriter(writer_, *match_, error)))
            return true;
        if (error.empty())
            return false;
        std::fprintf(stderr, "zentavor-sim: %s\n", error.c_str());
        return false;
    }

    // 1 or 2: the player who still has lives when the other has none; 0 otherwise.
    static int winnerOf(const MatchState& m)
    {
        const bool out1 = m.players[0].lives == 0, out2 = m.players[1].lives == 0;
        return out1 == out2 ? 0 : (out1 ? 2 : 1);
    }

    std::string scriptName_;
    ReplayWriter& writer_;
    MatchChoices setUp_ = runnerDefaults();
    std::vector<Command> placesBeforeStart_;
    std::unique_ptr<MatchContent> content_ = std::make_unique<MatchContent>();
    std::unique_ptr<MatchState> match_;
    ScriptedMenu menu_;
    bool recording_ = false;
    std::unique_ptr<PilotSeats> pilots_ = std::make_unique<PilotSeats>();
    int64_t reportEvery_ = 1;
    int64_t frame_ = 0;
    int64_t timeMs_ = 0;
    int64_t second_ = -1; // of play, of the frames counted in framesThisSecond_
    int64_t framesThisSecond_ = 0;
};

// A recording holds the controls only: a ship put somewhere by hand cannot be in it.
bool recordable(const std::string& scriptName, const std::vector<Command>& commands)
{
    for (const Command& c : commands)
        if (c.kind == CommandKind::Place) {
            std::fprintf(stderr, "zentavor-sim: %s:%d: a place line cannot be recorded\n", scriptName.c_str(),
                         c.line);
            return false;
        }
    return true;
}

// The script's own file would be lost under its recording.
bool recordsOverScript(const RunnerOptions& options)
{
    struct stat script {}, record {};
    return options.script != "-" && stat(options.script.c_str(), &script) == 0 &&
           stat(options.recordFile.c_str(), &record) == 0 && script.st_dev == record.st_dev &&
           script.st_ino == record.st_ino;
}

// --record: the file is made before any window opens, and never over the script.
bool openRecording(const RunnerOptions& options, ReplayWriter& writer)
{
    if (options.recordFile.empty())
        return true;
    if (recordsOverScript(options)) {
        std::fprintf(stderr, "zentavor-sim: %s: the recording would overwrite its own script\n",
                     printableOnTerminal(options.recordFile).c_str());
        return false;
    }
    std::string error;
    if (openReplayFile(writer, options.recordFile, error))
        return true;
    std::fprintf(stderr, "zentavor-sim: %s\n", error.c_str());
    return false;
}

// --replay: the file is checked before any window opens.
int replay(const RunnerOptions& options)
{
    Replay recording;
    std::string error;
    if (!loadReplay(options.replayFile, recording, error)) {
        std::fprintf(stderr, "zentavor-sim: %s\n", error.c_str());
        return EXIT_CANNOT_REPLAY;
    }
    if (!openHeadlessDisplay("zentavor-sim"))
        return EXIT_NO_DISPLAY;
    const int status = options.synctest ? syncTestRecording(recording, options.depth)
                                        : playReplay(recording, options.every);
    std::fflush(stdout);
    closeHeadlessDisplay();
    return status;
}

} // namespace

int main(int argc, char* argv[])
{
    // A file-size limit makes the recording's write fail, which is said,
    // instead of killing the runner.
    std::signal(SIGXFSZ, SIG_IGN);
    RunnerOptions options;
    std::string problem;
    if (!parseRunnerOptions(argc, argv, options, problem)) {
        std::fprintf(stderr, "zentavor-sim: %s\n%s\n", problem.c_str(), RUNNER_USAGE);
        return EXIT_BAD_SCRIPT;
    }
    if (!options.replayFile.empty())
        return replay(options);
    std::string text;
    if (!readScript(options.script, text))
        return EXIT_BAD_SCRIPT;
    const std::string scriptName = printableOnTerminal(options.script);
    std::vector<Command> commands;
    ScriptError error;
    if (!parseScript(text, commands, error)) {
        // The message quotes the script, which may hold any bytes.
        std::fprintf(stderr, "zentavor-sim: %s:%d: %s\n", scriptName.c_str(), error.line,
                     printableOnTerminal(error.message).c_str());
        return EXIT_BAD_SCRIPT;
    }
    if (!options.recordFile.empty() && !recordable(scriptName, commands))
        return EXIT_BAD_SCRIPT;
    ReplayWriter writer;
    if (!openRecording(options, writer))
        return EXIT_BAD_SCRIPT;
    if (!openHeadlessDisplay("zentavor-sim")) {
        abandonReplayWriter(writer);
        return EXIT_NO_DISPLAY;
    }
    ScriptPlayer player(scriptName, writer);
    const bool finished = player.play(commands);
    abandonReplayWriter(writer);
    std::fflush(stdout);
    closeHeadlessDisplay();
    return finished ? 0 : EXIT_BAD_SCRIPT;
}
