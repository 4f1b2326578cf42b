// image.h: a picture file decoded into a new SDL surface, by the system's own decoder where it has one.
#pragma once

#include <string>

#include "SDL.h"

// The picture at `path` (UTF-8) as a new surface whose bytes lie in memory as R, G, B (and A):
// 32 bits a pixel where the picture has an alpha channel, 24 otherwise, as SDL_image decodes
// them; null, with SDL's error set, when it cannot be read.
SDL_Surface *loadImage(const std::string &path);
