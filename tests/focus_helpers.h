// focus_helpers.h: the test's own SDL window driven through X, and SDL's view of its focus.
#pragma once

#include <cstdint>
#include <string>

// The window is shown, has the keyboard and has the pointer over it.
const uint8_t FullFocus = 0x07;  // SDL_APPMOUSEFOCUS | SDL_APPINPUTFOCUS | SDL_APPACTIVE

// Runs an xdotool command on the test's own window, found by its caption; false if it failed.
bool onWindow(const std::string &caption, const std::string &command);

// Lets SDL take in what the X server reported until now, pumping its events until
// SDL_GetAppState shows all of `present` and none of `absent`; false after 10 s without.
bool waitForAppState(uint8_t present, uint8_t absent);
