// image.h: a picture file decoded into a new SDL surface, by the system's own decoder where it has one, and its pixels read.
#pragma once

#include <string>

#include "SDL.h"

// The picture at `path` (UTF-8) as a new surface whose bytes lie in memory as R, G, B (and A):
// 32 bits a pixel where the picture has an alpha channel, 24 otherwise, as SDL_image decodes
// them (in the browser always 32); null, with SDL's error set, when it cannot be read.
SDL_Surface *loadImage(const std::string &path);

// Lets the surface's pixels be read, and lets them go again: SDL_LockSurface and
// SDL_UnlockSurface where SDL asks for them (gfx/image_desktop.cpp). In the browser a picture's
// pixels lie in memory as they were decoded, and Emscripten's SDL may not lock a surface once
// OpenGL draws (gfx/image_web.cpp).
void lockImage(SDL_Surface *surface);
void unlockImage(SDL_Surface *surface);

// How a picture's texture is read at its edges (GL_TEXTURE_WRAP_S and _T): GL_CLAMP on the
// desktop, with which the reference pictures of the tests were drawn; GL_CLAMP_TO_EDGE in the
// browser, as WebGL has no GL_CLAMP.
extern const int TextureEdges;
