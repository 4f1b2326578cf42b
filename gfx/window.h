// window.h: the OpenGL window, SDL video, and the fullscreen focus watcher.
#pragma once

#include <cstdint>
#include <string>

// Opens the window, brings up SDL video and sets the GL state.
void initVideo(const std::string &caption, int32_t width, int32_t height, int32_t fullscreen);

// Re-creates the window at the size given to initVideo; every texture must be loaded again.
void setVideoMode(const std::string &caption, int32_t fullscreen);

// Once per frame: 1 when a fullscreen window got the whole focus back and must be rebuilt.
int32_t pollAppRestore();

// Shows or hides the pointer over the window.
void showPointer(bool shown);

// The fixed OpenGL state all drawing relies on.
void applyGlState();
