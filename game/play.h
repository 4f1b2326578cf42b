// play.h: the play screen: a frame of play from the player's actions, and its picture.
#pragma once

#include <cstdint>

#include "base/state.h"

// Screen geometry of the board, in pixels of the 800 x 600 screen.
const int BoardLeft = 18;
const int BoardTop = 102;
const int CellSize = 32;
const int PanelCentre = 732;       // the side panel's texts are centred on this x

const int ExplosionSize = 64;
const int GlowSize = 512;

// The play screen takes no event while its block drops: what comes meanwhile waits its turn.
// Paused, it takes them all (and turns nothing).
bool playTakesEvent();

// One frame of play: the actions read, the rules run, the screen changed when the game is left,
// over or complete. Fills game.view with the frame's picture.
void updatePlay();

// The background, the board, the block with its glow, the side panel and the explosion
// (game/playdraw.cpp). The game-over screen draws the last frame of play with it.
void drawPlay(const PlayView &play);

// The background, the side panel, and over the empty well the caption of the pause with the
// key (and the gamepad's button) that goes on.
void drawPaused(const PlayView &play);
