// page_web.h: the window in the browser is the page's canvas: its size follows the page, its fullscreen is the page's.
#pragma once

#include <cstdint>

// Sizes the canvas to the part of the page that the picture may fill now, in the screen's own
// pixels (the browser's window was resized or zoomed, the page went fullscreen or left it), and
// the window, the picture's place and OpenGL's viewport with it. True when the canvas was sized
// anew, which clears it: the picture must be drawn again. Asks the page only whether it was
// measured anew (a resize, a zoom, fullscreen, a line under the picture), while it stays as it is.
bool followPage();

// The page fills the screen, or leaves it. The browser allows it only during a key or click (or
// a few seconds after one): until then the page asks again at the player's next key or click.
void askFullscreen(int32_t fullscreen);

// Whether the page left fullscreen by the browser's own doing (its Escape key, another window),
// since the last call.
bool fullscreenLeft();

// Tells the page that a picture was drawn: the first one replaces the loading bar.
void pictureDrawn();

// The page shows that the game has ended, and offers to play again.
void showEnded();
