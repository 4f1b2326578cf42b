// main.cpp: the entry point of the game.
#include "SDL.h"
#include "app/loop.h"

int main(int argc, char *argv[])
{
    startUp(argc > 0 ? argv[0] : "");
    mainLoop();
    SDL_Quit();
    return 0;
}
