// mixer.h: what SDL_mixer does otherwise in the browser: music and effects loaded by their path, the device's state.
#pragma once

#include <string>

#include "base/state.h"

// The track or effect at `path` (UTF-8), loaded whole; null, with SDL's error set, when it cannot
// be. On the desktop through a reader of the system's own opening (openForReading); in the
// browser by its path, which Emscripten's SDL_mixer decodes in the page, ahead of its first play.
MusicHandle openMusic(const std::string &path);
SoundHandle openSound(const std::string &path);

// Whether the audio device is open.
bool mixerOpen();

// How many channels the mixer plays effects on; 0 while the device is closed.
int mixerChannels();
