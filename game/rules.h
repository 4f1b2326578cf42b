// rules.h: the board and its rules: new games and blocks, marking, gravity, clearing and levels.
#pragma once

#include <cstdint>

#include "base/state.h"

struct LevelRow {
    int32_t clears;     // clears that complete the level
    int32_t interval;   // the level's fallInterval
};

const int LastLevel = 8;
const int32_t ExplodeFrames = 600;   // the countdown from the first mark to the clear

// Indexed by level - 1.
extern const LevelRow LevelTable[LastLevel];

// Empties the board and starts level 1 with a fresh Round and the first block's colours.
void newGame();

// Colours the next block; ends the game when the finished block rested in row 0.
void newBlock();

// Marks every 2 x 2 square of one colour; the first mark starts the countdown.
void markSquares();

// Lets every cell above a hole fall one row; true if any cell moved.
bool applyGravity();

// Removes and scores the marked cells, counts the level down and advances it.
void clearMarked();

inline bool isMarked(int32_t cell) { return cell >= MarkedOffset; }
inline int32_t colourOf(int32_t cell) { return isMarked(cell) ? cell - MarkedOffset : cell; }

// Asks for an effect to be played by the screen at the end of its frame.
void queueEffect(Effect effect);
