// config.h: the game's fixed numbers and names: the screen, the window's caption, the volumes, the version.
#pragma once

#include <cstdint>

// The game's screen: every position in the game is a pixel of it, origin top-left.
const int32_t ScreenWidth = 800;
const int32_t ScreenHeight = 600;

const char *const WindowCaption = "Tavirel";

// Mixer volumes, 0..128.
const int32_t MusicVolume = 38;
const int32_t SoundVolume = 128;

// The version the menu shows, from the project's version in CMakeLists.txt.
#ifndef TAVIREL_VERSION
#error "TAVIREL_VERSION comes from CMakeLists.txt"
#endif
const char *const VersionText = "version " TAVIREL_VERSION;
