// board.h: boards drawn as pictures for the rules' tests, and a round set up on one.
#pragma once

#include <string>

// A picture is rows joined by '/', standing on the board's floor at its left edge: '.' empty,
// 'a' + k colour k, 'A' + k colour k marked. Sets a fresh level-`level` round with that board, no
// sound asked for.
void setBoard(const std::string &picture, int level = 1);

// The board's corner in the shape of `like`, drawn the same way.
std::string picture(const std::string &like);
