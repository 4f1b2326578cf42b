// assets.h: every picture and font of the game, loaded at start-up and again for a new window.
#pragma once

// Sets the blend state and loads every picture and both fonts.
void loadAssets();
