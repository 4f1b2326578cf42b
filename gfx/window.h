// window.h: the OpenGL window, SDL video, and the fullscreen focus watcher.
#pragma once

#include <cstdint>
#include <string>

// Opens the window, brings up SDL video and sets the GL state. A fullscreen window that cannot be
// made is made windowed instead (game.windowFullscreen says which was made). False when no
// OpenGL window could be made at all (game.windowOpen); the log says why.
bool initVideo(const std::string &caption, int32_t width, int32_t height, int32_t fullscreen);

// Re-creates the window at the size given to initVideo, windowed where fullscreen fails; every
// texture must be loaded again. False when no window could be made.
bool setVideoMode(const std::string &caption, int32_t fullscreen);

// Tells the player on stderr, in one sentence, that the game cannot start for want of an OpenGL
// window, and where its log is; the log gets a last line.
void reportNoWindow();

// Once per frame: 1 when a fullscreen window got the whole focus back and must be rebuilt.
int32_t pollAppRestore();

// Shows or hides the pointer over the window.
void showPointer(bool shown);

// The fixed OpenGL state all drawing relies on.
void applyGlState();
