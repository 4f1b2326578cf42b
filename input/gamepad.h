// gamepad.h: a joystick or gamepad through SDL 1.2's joystick API, as the game's actions.
#pragma once

#include <cstdint>
#include <string>

#include "SDL.h"
#include "base/state.h"

// Opens the first joystick found, if any, logs its name, and takes its layout (gamepadLayout).
void openGamepad();

// --- The system's side (input/gamepad_desktop.cpp, input/gamepad_web.cpp) ----------------------

// The Start and Back buttons of a pad of this name, and the buttons of its pad (`padButton`). On
// the desktop by the name: Xbox pads have Back 6 and Start 7, most others Select (or Share) 8 and
// Start (or Options) 9, and the pad is a hat. Browsers give every pad they know the standard
// mapping, whatever its name: Back 8, Start 9, and the pad as the buttons 12 to 15.
void gamepadLayout(const std::string &name, Gamepad &pad);

// Follows one joystick event in game.gamepad.now; returns the actions it pressed and, in
// `button`, the button it pressed (-1 for none).
uint32_t followGamepad(const SDL_Event &event, int32_t &button);

// The actions a gamepad standing as `pad` holds.
uint32_t gamepadHeld(const PadState &pad);
