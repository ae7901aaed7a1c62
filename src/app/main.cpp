#include "app/game.h"

#include <csignal>
#include <cstdio>

int main(int argc, char** argv)
{
    // A file-size limit makes a write fail, which the game reports and
    // survives, instead of killing it mid-match.
    std::signal(SIGXFSZ, SIG_IGN);
    // Help and version are answered without opening a window.
    if (answerInfoRequest(parseCommandLine(argc, argv), stdout))
        return answerWritten(stdout) ? 0 : EXIT_START_FAILED;
    Game game;
    if (!startUp(game, argc, argv)) {
        releaseGame(game);
        return game.exitStatus;
    }
    runFrameLoop(game);
    shutDown(game);
    return game.exitStatus;
}
