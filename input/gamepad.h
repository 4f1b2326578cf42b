// gamepad.h: a joystick or gamepad through SDL 1.2's joystick API, as the game's actions.
#pragma once

#include <cstdint>
#include <string>

#include "SDL.h"
#include "base/state.h"

// Opens the first joystick found, if any, and logs its name; knows the Start and Back buttons of
// the common layouts by the name (Xbox pads, PlayStation pads, and the usual USB pads).
void openGamepad();

// The Start and Back buttons of a pad of this name: Xbox pads have Back 6 and Start 7, most others
// Select (or Share) 8 and Start (or Options) 9.
void gamepadLayout(const std::string &name, int32_t &startButton, int32_t &backButton);

// Follows one joystick event in game.gamepad; returns the actions it pressed and, in `button`,
// the button it pressed (-1 for none).
uint32_t followGamepad(const SDL_Event &event, int32_t &button);

// The actions the gamepad holds now.
uint32_t gamepadHeld();
