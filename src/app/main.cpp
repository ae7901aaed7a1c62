#include "app/game.h"

#include <SDL/SDL.h>

int main(int argc, char** argv)
{
    Game game;
    if (!startUp(game, argc, argv)) {
        SDL_Quit();
        return game.exitStatus;
    }
    runFrameLoop(game);
    shutDown(game);
    return 0;
}
