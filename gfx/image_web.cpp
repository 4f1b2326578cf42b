// image_web.cpp: pictures decoded by the browser while the page loads, as 32-bit RGBA surfaces.
#include "gfx/image.h"

#include <GL/gl.h>

#include "SDL_image.h"

const int TextureEdges = GL_CLAMP_TO_EDGE;

// The page's data holds every picture of media/, which the browser decoded as it arrived
// (Emscripten's preload plugins); Emscripten's IMG_Load hands it out with its pixels in memory.
SDL_Surface *loadImage(const std::string &path)
{
    return IMG_Load(path.c_str());
}

// The pixels are in memory already, and locking a surface once OpenGL draws stops Emscripten's SDL.
void lockImage(SDL_Surface *)
{
}

void unlockImage(SDL_Surface *)
{
}
