// bench_bare.cpp: the smallest SDL 1.2 + OpenGL window, for comparison with the game's start-up:
// it opens an 800 x 600 window as the game does, then only clears and swaps every 16 ms until closed.
#include <GL/gl.h>

#include <cstdlib>

#include "SDL.h"

int main(int argc, char *argv[])
{
    // An optional pause before the first frame, to tell the window's appearance from its first frame.
    int pauseMs = argc > 1 ? std::atoi(argv[1]) : 0;
    SDL_SetVideoMode(800, 600, 0, SDL_HWSURFACE | SDL_OPENGL | SDL_ASYNCBLIT);
    SDL_WM_SetCaption("Bare", nullptr);
    SDL_Init(SDL_INIT_VIDEO);
    if (pauseMs > 0)
        SDL_Delay(pauseMs);

    glClearColor(0.2f, 0.3f, 0.4f, 1.0f);
    Uint32 due = SDL_GetTicks();
    bool running = true;
    while (running) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            if (event.type == SDL_QUIT)
                running = false;
        glClear(GL_COLOR_BUFFER_BIT);
        SDL_GL_SwapBuffers();
        due += 16;
        Uint32 now = SDL_GetTicks();
        SDL_Delay(due > now ? due - now : 0);
    }
    SDL_Quit();
    return 0;
}
