// image_posix.cpp: pictures decoded by SDL_image.
#include "gfx/image.h"

#include "SDL_image.h"

SDL_Surface *loadImage(const std::string &path)
{
    return IMG_Load(path.c_str());
}
