// state.cpp: the global game record.
#include "base/state.h"

GameState game;
