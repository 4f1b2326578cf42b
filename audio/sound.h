// sound.h: music tracks and sound effects over SDL_mixer.
#pragma once

#include <cstdint>
#include <string>

#include "base/state.h"

// Effect channels, one per effect: each effect's number is its channel.
const int ExplosionChannel = ExplosionEffect;
const int NextLevelChannel = NextLevelEffect;
const int DropChannel = DropEffect;
const int SquareChannel = SquareEffect;
const int GreatScoreChannel = GreatScoreEffect;
const int BadScoreChannel = BadScoreEffect;

// Brings up SDL audio and opens the audio device, logging both.
void openAudio();

// Load programDir + folder + file into the handle (null when it fails) and log the result.
void loadMusic(MusicHandle &music, const std::string &folder, const std::string &file);
void loadSound(SoundHandle &sound, const std::string &folder, const std::string &file);

// Starts loading the start-up music and effects on a worker thread; the audio device must be open.
void startLoadingSounds();

// The two music tracks and six effects of start-up into their handles, in their order, each
// logged: what the worker loaded, or loaded here when it did not.
void loadStartSounds();

// Stores the switches and volumes and halts every effect channel.
void setVolumes(int32_t musicOff, int32_t soundOff, int32_t musicVolume, int32_t soundVolume);

void playMusic(MusicHandle music);   // loops without end
void stopMusic();
void playSound(SoundHandle sound, int32_t channel, int32_t loops);

// Carries out what the rules and screens asked for since the last call: the music and effects
// paused or going on (game.soundsPaused), the music stop,
// then each effect once on its own channel, then the requested music from its beginning.
// Clears the requests.
void playPendingSounds();
