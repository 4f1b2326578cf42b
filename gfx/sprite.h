// sprite.h: pictures loaded into textures and drawn as quads at window pixels.
#pragma once

#include <cstdint>
#include <string>

#include "base/state.h"

// Starts decoding every picture of media/ (PictureFiles) on a worker thread; the loads take them from there.
void startDecodingPictures();

// Loads programDir + folder + file into a new texture and resets the sprite to the whole image.
void loadTexture(Sprite &sprite, const std::string &folder, const std::string &file);

// Texture coordinates from the source rectangle, the texture size and the flips.
void updateTexCoords(Sprite &sprite);

// One textured quad with the sprite's current fields, in the current colour and blend function.
void drawSprite(const Sprite &sprite);

// Moves the source rectangle to frame `frame` of the sheet, then draws.
void drawSpriteFrame(Sprite &sprite, int32_t frame);

// Blending and culling on, the window cleared, drawing in white: the state every draw starts from.
void setDrawingState();

// Frees the pictures decoded ahead that no load took.
void dropStartPictures();
