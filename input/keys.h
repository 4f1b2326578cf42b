// keys.h: which keys and gamepad buttons stand for which of the game's actions.
#pragma once

#include <cstdint>

#include "base/controls.h"
#include "base/state.h"

// The player's controls as the game comes: the arrows, Space and P; the gamepad's first three
// buttons and its Start.
void setDefaultControls(Controls &controls);

// Every action a key stands for, as bits: the player's controls and the fixed keys.
uint32_t actionsOfKey(int key);
