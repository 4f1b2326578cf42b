// intro.cpp: the intro screen. For now it shows the title picture and can be left.
#include <GL/gl.h>

#include "SDL.h"
#include "app/screens.h"
#include "app/state.h"
#include "gfx/sprite.h"

void introScreen()
{
    SDL_Event event;
    if (SDL_PollEvent(&event) && event.type == SDL_QUIT)
        game.running = false;
    game.keyState = SDL_GetKeyState(nullptr);
    if (game.keyState[SDLK_ESCAPE])
        game.running = false;
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    drawSprite(game.introSprite);
}
