#include "app/game.h"

#include <cstdio>

int main(int argc, char** argv)
{
    // Help and version are answered without opening a window.
    if (answerInfoRequest(parseCommandLine(argc, argv), stdout))
        return 0;
    Game game;
    if (!startUp(game, argc, argv)) {
        releaseGame(game);
        return game.exitStatus;
    }
    runFrameLoop(game);
    shutDown(game);
    return game.exitStatus;
}
