// play.h: the parts of the play screen's frame: its drawing, and the block's landing.
#pragma once

#include <cstdint>

// Screen geometry of the board, in window pixels.
const int BoardLeft = 18;
const int BoardTop = 102;
const int CellSize = 32;
const int PanelCentre = 732;       // the side panel's texts are centred on this x

const int ExplosionSize = 64;
const int GlowSize = 512;

// Drawing, in the order of the frame (game/playdraw.cpp).
void drawBackground();
void drawBoard();
void drawGlow();
void drawFallingBlock();
void drawPanel();
void drawExplosion();   // also moves the animation on by one frame
