// sound.cpp: loads music and effects, applies the switches and volumes, plays on fixed channels.
#include "audio/sound.h"

#include "SDL.h"
#include "SDL_mixer.h"
#include "app/state.h"

void loadMusic(MusicHandle &music, const std::string &folder, const std::string &file)
{
    std::string path = game.programDir + folder + file;
    music = Mix_LoadMUS(path.c_str());
    if (music)
        game.logFile << "Mix_LoadMUS " << file << " OK\n";
    else
        game.logFile << "Mix_LoadMUS " << file << " " << SDL_GetError() << "\n";
}

void loadSound(SoundHandle &sound, const std::string &folder, const std::string &file)
{
    std::string path = game.programDir + folder + file;
    SDL_RWops *reader = SDL_RWFromFile(path.c_str(), "rb");
    sound = reader ? Mix_LoadWAV_RW(reader, 1) : nullptr;
    if (sound)
        game.logFile << "Mix_LoadWAV " << file << " OK\n";
    else
        game.logFile << "Mix_LoadWAV " << file << " " << SDL_GetError() << "\n";
}

void setVolumes(int32_t musicOff, int32_t soundOff, int32_t musicVolume, int32_t soundVolume)
{
    game.audioMusicOff = musicOff;
    game.audioSoundOff = soundOff;
    game.musicVolume = musicVolume;
    game.soundVolume = soundVolume;
    // At start-up the audio device is not open yet and there is nothing to halt.
    int frequency, channels;
    Uint16 format;
    if (Mix_QuerySpec(&frequency, &format, &channels))
        Mix_HaltChannel(-1);
}

void playMusic(MusicHandle music)
{
    if (!music)
        return;
    if (!game.audioMusicOff)
        Mix_PlayMusic(music, -1);
    Mix_VolumeMusic(game.musicVolume);
}

void stopMusic()
{
    Mix_HaltMusic();
}

void playSound(SoundHandle sound, int32_t channel, int32_t loops)
{
    // Only the mixer's own channels; it would read outside its table for others.
    if (!sound || channel < 0 || channel >= Mix_AllocateChannels(-1))
        return;
    if (!game.audioSoundOff)
        Mix_PlayChannelTimed(channel, sound, loops, -1);
    Mix_Volume(channel, game.soundVolume);
}

void playPendingEffects()
{
    if (game.pendingMusicStop)
        stopMusic();
    const SoundHandle sounds[EffectCount] = {game.explosionSound, game.nextLevelSound, game.dropSound,
                                             game.squareSound,    game.greatScoreSound, game.badScoreSound};
    for (int effect = 0; effect < EffectCount; effect++)
        if (game.pendingEffects & (1u << effect))
            playSound(sounds[effect], effect, 0);
    game.pendingEffects = 0;
    game.pendingMusicStop = false;
}
