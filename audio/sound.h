// sound.h: music tracks and sound effects over SDL_mixer.
#pragma once

#include <cstdint>
#include <string>

#include "app/state.h"

// Effect channels, one per effect.
const int ExplosionChannel = 0;
const int NextLevelChannel = 1;
const int DropChannel = 2;
const int SquareChannel = 3;
const int GreatScoreChannel = 4;
const int BadScoreChannel = 5;

void loadMusic(MusicHandle &music, const std::string &folder, const std::string &file);
void loadSound(SoundHandle &sound, const std::string &folder, const std::string &file);

// Stores the switches and volumes and halts every effect channel.
void setVolumes(int32_t musicOff, int32_t soundOff, int32_t musicVolume, int32_t soundVolume);

void playMusic(MusicHandle music);   // loops without end
void stopMusic();
void playSound(SoundHandle sound, int32_t channel, int32_t loops);
