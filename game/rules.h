// rules.h: the board and its rules: new games and blocks, the falling block's frame, marking,
// gravity, clearing and levels. Plain C++ over the record: no SDL, no OpenGL.
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

// What the player does in one frame of play.
struct PlayActions {
    bool turn;        // a key went down for a quarter turn anticlockwise
    bool turnBack;    // or clockwise
    bool moveLeft;    // held
    bool moveRight;   // held
    bool drop;        // held
    bool leave;       // held: the game is abandoned in this frame
};

// What a frame of play came to, for the screen to act on.
struct PlayOutcome {
    bool over;        // a finished block rests in row 0
    bool complete;    // the clear of this frame completed the last level
};

// Empties the board and starts level 1 with a fresh Round and the first block's colours.
void newGame();

// Colours the next block; true when the finished block rested in row 0, which ends the game.
bool newBlock();

// One frame of play: after a clear, one gravity pass (and marking once nothing moves); the
// dropping block one row; the level's timer; a turn; every fourth frame the held keys move or
// drop the block; each half into the board once it meets support, the next block when both are
// in; the countdown, and the clear when it runs out; a frame of play time and of the explosion.
// `shown` receives what the frame shows, each part as it stands when it is drawn.
PlayOutcome playFrame(const PlayActions &actions, PlayView &shown);

// The side panel's numbers as the game stands.
void showPanel(PlayView &shown);

// Whether the game's score beats the last row of the table.
bool greatScore();

// Marks every 2 x 2 square of one colour; the first mark starts the countdown.
void markSquares();

// Lets every cell above a hole fall one row; true if any cell moved.
bool applyGravity();

// Removes and scores the marked cells, counts the level down and advances it.
void clearMarked();

inline bool isMarked(int32_t cell) { return cell >= MarkedOffset; }
inline int32_t colourOf(int32_t cell) { return isMarked(cell) ? cell - MarkedOffset : cell; }

// Asks for an effect to be played after the frame.
void queueEffect(Effect effect);
