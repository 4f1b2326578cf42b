// screens.h: the screen functions the main loop runs, one frame per call.
#pragma once

void introScreen();     // menu/intro.cpp
void playScreen();      // game/play.cpp
void gameOverScreen();  // game/gameover.cpp
void finishedScreen();  // game/finished.cpp: after the last level
