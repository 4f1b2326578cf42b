// window.h: the OpenGL window, SDL video, and the fullscreen focus watcher.
#pragma once

#include <cstdint>
#include <string>

#include "base/state.h"

// Opens the window for a picture of `width` x `height` (the game's screen), brings up SDL video
// and sets the GL state. A window is as large as fits the desktop (windowSize); a fullscreen one
// is the whole desktop at its own resolution, the picture scaled into it with black bars beside.
// A fullscreen window that cannot be made is made windowed instead (game.windowFullscreen says
// which was made). False when no OpenGL window could be made at all (game.windowOpen); the log
// says why.
bool initVideo(const std::string &caption, int32_t width, int32_t height, int32_t fullscreen);

// Re-creates the window for the same picture, windowed where fullscreen fails; every texture must
// be loaded again. False when no window could be made.
bool setVideoMode(const std::string &caption, int32_t fullscreen);

// How large a window the game opens on a desktop of this size (0 x 0: unknown, taken as large
// enough): the game's screen times the largest of 1, 1.5, 2, 2.5, ... that fits in nine tenths of
// the desktop; on a desktop smaller than the screen, scaled down to fit it whole.
void windowSize(int32_t desktopWidth, int32_t desktopHeight, int32_t &width, int32_t &height);

// Where the picture lies in a window of this size: as large as fits, centred, its own 4 : 3.
PictureRect pictureIn(int32_t windowWidth, int32_t windowHeight);

// Black where the window shows no picture: the bars beside it in a fullscreen window.
void clearBars();

// Tells the player on stderr, in one sentence, that the game cannot start for want of an OpenGL
// window, and where its log is; the log gets a last line.
void reportNoWindow();

// The fixed OpenGL state all drawing relies on.
void applyGlState();

// OpenGL's drawing into game.picture, the picture's place in the window (a part of applyGlState).
void applyViewport();

// --- The system's side (gfx/window_desktop.cpp, gfx/window_web.cpp) ----------------------------

// Once per frame: 1 when a fullscreen window got the whole focus back and must be rebuilt.
int32_t pollAppRestore();

// Shows or hides the pointer over the window.
void showPointer(bool shown);

// Reads game.desktopWidth and game.desktopHeight, once SDL's video has started: the desktop
// before the game's window changes anything; in the browser, the part of the page that the
// picture may fill, in the screen's own pixels. Left at 0 x 0 where it cannot be told.
void readDesktop();

// Sizes game.windowWidth, game.windowHeight and game.picture for a window in this mode: on a
// desktop as large as fits it (windowSize), or the whole desktop; in the browser always the whole
// of the page's part, as the page itself goes fullscreen.
void sizeWindow(int32_t fullscreen);

// Why the window SDL_SetVideoMode just made counts as none, or the empty text: SDL 2's stand-in
// for SDL 1.2 falls back, without a display, to a driver that draws off the screen; a browser may
// give no WebGL.
std::string windowRefused();
