// mixer_desktop.cpp: SDL_mixer on Linux and Windows: music and effects read through the system's own opening.
#include "audio/mixer.h"

#include "SDL.h"
#include "SDL_mixer.h"
#include "base/platform.h"

// A reader of the file at `path`, opened by the system's own name for it; null, with SDL's error
// set, when it cannot be opened.
static SDL_RWops *openReader(const std::string &path)
{
    std::FILE *file = openForReading(path);
    SDL_RWops *reader = file ? SDL_RWFromFP(file, 1) : nullptr;
    if (!file)
        SDL_SetError("Couldn't open %s", path.c_str());
    else if (!reader)
        std::fclose(file);
    return reader;
}

MusicHandle openMusic(const std::string &path)
{
    SDL_RWops *reader = openReader(path);
    // The music keeps its reader, and closes it when it is freed.
    return reader ? Mix_LoadMUSType_RW(reader, MUS_NONE, 1) : nullptr;
}

SoundHandle openSound(const std::string &path)
{
    SDL_RWops *reader = openReader(path);
    return reader ? Mix_LoadWAV_RW(reader, 1) : nullptr;
}

bool mixerOpen()
{
    int frequency, channels;
    Uint16 format;
    return Mix_QuerySpec(&frequency, &format, &channels) != 0;
}

int mixerChannels()
{
    return Mix_AllocateChannels(-1);
}
