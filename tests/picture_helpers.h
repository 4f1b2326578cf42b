// picture_helpers.h: a real game window for the drawing tests, test images and pixel read-back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

struct Rgb {
    int r, g, b;
};

using PixelRule = std::function<Rgb(int x, int y)>;

// A fresh program folder with an empty media/ folder; programDir, mediaDir and the log point at it.
std::string makeProgramDir();

// makeProgramDir, then the 800 x 600 game window with its OpenGL state.
std::string openGameWindow();

// An opaque image without an alpha channel, written as BMP (any name: the loader reads the content).
void saveOpaqueImage(const std::string &path, int width, int height, const PixelRule &rule);

// An RGBA PNG image; `alpha` gives each pixel's alpha. Without `alpha`, an RGB PNG.
void savePng(const std::string &path, int width, int height, const PixelRule &rule,
             const std::function<int(int x, int y)> &alpha = nullptr);

// A solid colour everywhere.
PixelRule solid(Rgb colour);

// Everything logged so far.
std::string logText();

// Clears the back buffer to the colour.
void clearTo(Rgb colour);

// The back buffer's pixel at window position (x, y), origin top-left.
Rgb pixelAt(int x, int y);

// Whether the window pixel has the colour, within a few steps per channel.
::testing::AssertionResult pixelIs(int x, int y, Rgb want);
