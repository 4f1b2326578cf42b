// gameover.h: the end of a game: the game-over caption over the final board, or name entry;
// and the screen after the last level.
#pragma once

#include "base/state.h"

// Puts the finished game into the table below every row with an equal or better score, and saves.
void insertResult();

// Name entry takes one event a frame; the plain game-over wait takes none.
bool gameOverTakesEvent();

// One frame of the game-over screen; fills game.view.
void updateGameOver();

// The final board with the caption, or name entry (game/gameover.cpp).
void drawGameOver(const View &view);
void drawNameEntry(const View &view);

// One frame of the screen after the last level, and its picture (game/finished.cpp).
void updateFinished();
void drawFinished(const View &view);
