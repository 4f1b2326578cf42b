// main.cpp: the entry point of the game.
#include "SDL.h"
#include "app/loop.h"
#include "base/state.h"
#include "gfx/window.h"

int main(int argc, char *argv[])
{
    startUp(argc > 0 ? argv[0] : "");
    if (!game.windowOpen) {
        SDL_Quit();  // first, so that a text-mode video driver gives the terminal back
        reportNoWindow();
        return 1;
    }
    mainLoop();
    SDL_Quit();
    return 0;
}
