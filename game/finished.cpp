// finished.cpp: the screen after the last level. For now it only lets the window be closed.
#include "SDL.h"
#include "app/screens.h"
#include "app/state.h"

void finishedScreen()
{
    SDL_Event event;
    if (SDL_PollEvent(&event) && event.type == SDL_QUIT)
        game.running = false;
}
