// image_desktop.cpp: a surface's pixels read on Linux and Windows, locked where SDL asks for it, and the textures' edges.
#include "gfx/image.h"

#include <GL/gl.h>

const int TextureEdges = GL_CLAMP;

void lockImage(SDL_Surface *surface)
{
    if (SDL_MUSTLOCK(surface))
        SDL_LockSurface(surface);
}

void unlockImage(SDL_Surface *surface)
{
    if (SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);
}
