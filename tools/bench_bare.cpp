// bench_bare.cpp: the smallest SDL 1.2 + OpenGL window, for comparison with the game's start-up:
// it opens an 800 x 600 window as the game does, then only clears and swaps every 16 ms until closed.
// With a second argument "textured" it also draws one blended quad with a 1 x 1 texture, which is
// what the first textured picture costs the OpenGL driver (software OpenGL compiles code for it).
#include <GL/gl.h>

#include <cstdlib>
#include <cstring>

#include "SDL.h"

int main(int argc, char *argv[])
{
    // An optional pause before the first frame, to tell the window's appearance from its first frame.
    int pauseMs = argc > 1 ? std::atoi(argv[1]) : 0;
    bool textured = argc > 2 && std::strcmp(argv[2], "textured") == 0;
    SDL_SetVideoMode(800, 600, 0, SDL_HWSURFACE | SDL_OPENGL | SDL_ASYNCBLIT);
    SDL_WM_SetCaption("Bare", nullptr);
    SDL_Init(SDL_INIT_VIDEO);
    if (pauseMs > 0)
        SDL_Delay(pauseMs);

    glClearColor(0.2f, 0.3f, 0.4f, 1.0f);
    if (textured) {
        static const unsigned char red[4] = {255, 0, 0, 255};
        GLuint texture;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, red);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    Uint32 due = SDL_GetTicks();
    bool running = true;
    while (running) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            if (event.type == SDL_QUIT)
                running = false;
        glClear(GL_COLOR_BUFFER_BIT);
        if (textured) {
            glBegin(GL_QUADS);
            glTexCoord2f(0, 0);
            glVertex2f(-0.5f, -0.5f);
            glTexCoord2f(1, 0);
            glVertex2f(0.5f, -0.5f);
            glTexCoord2f(1, 1);
            glVertex2f(0.5f, 0.5f);
            glTexCoord2f(0, 1);
            glVertex2f(-0.5f, 0.5f);
            glEnd();
        }
        SDL_GL_SwapBuffers();
        due += 16;
        Uint32 now = SDL_GetTicks();
        SDL_Delay(due > now ? due - now : 0);
    }
    SDL_Quit();
    return 0;
}
