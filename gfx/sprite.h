// sprite.h: pictures loaded into textures and drawn as quads at pixels of the 800 x 600 screen.
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

// A colour to draw in; the picture's own colours are multiplied by it, its alpha by `a`.
struct Colour {
    float r, g, b, a;
};
// The picture as it is; at 70 %; in the game's yellow.
const Colour Plain = {1.0f, 1.0f, 1.0f, 1.0f};
const Colour Dimmed = {1.0f, 1.0f, 1.0f, 0.7f};
const Colour Yellow = {1.0f, 1.0f, 0.0f, 1.0f};

// How a picture meets what is drawn already: over it by its alpha, added to it as light, or in
// its place (for a picture without transparency in an opaque colour, which looks the same as
// Over and costs the least).
enum Blend { Over, Light, Replace };

// One textured quad with the sprite's current fields, in `colour`, blended as `blend`.
void drawSprite(const Sprite &sprite, Colour colour = Plain, Blend blend = Over);

// Moves the source rectangle to frame `frame` of the sheet, then draws.
void drawSpriteFrame(Sprite &sprite, int32_t frame, Colour colour = Plain, Blend blend = Over);

// Blending and culling on, the window cleared, drawing in white: the state every draw starts from.
void setDrawingState();

// Frees the pictures decoded ahead that no load took.
void dropStartPictures();
