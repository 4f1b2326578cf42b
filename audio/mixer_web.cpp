// mixer_web.cpp: Emscripten's SDL_mixer: music and effects loaded by their path, played through the browser's Web Audio.
#include "audio/mixer.h"

#include <emscripten.h>

#include "SDL_mixer.h"

// The page leaves the OGG files undecoded in its data (dist/web/page.js): Emscripten's mixer
// then decodes each through Web Audio, which starts playing once the player's first key or
// click lets the page make sound.
MusicHandle openMusic(const std::string &path)
{
    return Mix_LoadMUS(path.c_str());
}

SoundHandle openSound(const std::string &path)
{
    return Mix_LoadWAV(path.c_str());
}

// Emscripten's mixer answers neither Mix_QuerySpec nor Mix_AllocateChannels(-1); it keeps its
// channels, made by Mix_OpenAudio, itself.
int mixerChannels()
{
    return EM_ASM_INT({ return SDL.numChannels | 0; });
}

bool mixerOpen()
{
    return mixerChannels() > 0;
}
