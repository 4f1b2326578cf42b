// state.cpp: the global game record.
#include "app/state.h"

GameState game;
