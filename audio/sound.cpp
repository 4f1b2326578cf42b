// sound.cpp: loads music and effects, applies the switches and volumes, plays on fixed channels.
#include "audio/sound.h"

#include "SDL.h"
#include "SDL_mixer.h"
#include "audio/mixer.h"
#include "base/platform.h"
#include "base/state.h"

void openAudio()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0)
        game.logFile << "Unable initialize SDL audio\n" << SDL_GetError() << "\n";
    else
        game.logFile << "SDL audio initialize OK\n";
    int opened = Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048);
    game.logFile << "Mix_open_audio " << opened << "\n";
    if (opened != 0)
        game.logFile << Mix_GetError() << "\n";
}

// "<loader> <file> OK", or the error text in place of OK.
static void logSoundLoad(const char *loader, const std::string &file, bool loaded, const std::string &error)
{
    if (loaded)
        game.logFile << loader << " " << file << " OK\n";
    else
        game.logFile << loader << " " << file << " " << error << "\n";
}

void loadMusic(MusicHandle &music, const std::string &folder, const std::string &file)
{
    music = openMusic(game.programDir + folder + file);
    logSoundLoad("Mix_LoadMUS", file, music, music ? "" : SDL_GetError());
}

void loadSound(SoundHandle &sound, const std::string &folder, const std::string &file)
{
    sound = openSound(game.programDir + folder + file);
    logSoundLoad("Mix_LoadWAV", file, sound, sound ? "" : SDL_GetError());
}

// Where each of the start-up sounds (SoundFiles) goes: a track to `music`, an effect to `sound`.
struct StartSound {
    MusicHandle *music;
    SoundHandle *sound;
};
static const StartSound StartSounds[StartSoundCount] = {
    {&game.introMusic, nullptr},  {&game.gameMusic, nullptr},     {nullptr, &game.explosionSound},
    {nullptr, &game.nextLevelSound}, {nullptr, &game.dropSound},  {nullptr, &game.squareSound},
    {nullptr, &game.greatScoreSound}, {nullptr, &game.badScoreSound},
};

// Runs on the sound worker: loads every listed track and effect, keeping SDL's error text of a
// failure (SDL keeps one error text per thread).
static int loadSoundsAhead(void *)
{
    StartLoading &loading = game.startLoading;
    for (int i = 0; i < StartSoundCount; i++) {
        const std::string &path = loading.soundPaths[i];
        bool loaded;
        if (StartSounds[i].music)
            loaded = (loading.music[i] = openMusic(path)) != nullptr;
        else
            loaded = (loading.effects[i] = openSound(path)) != nullptr;
        if (!loaded)
            loading.soundErrors[i] = SDL_GetError();
    }
    return 0;
}

void startLoadingSounds()
{
    StartLoading &loading = game.startLoading;
    for (int i = 0; i < StartSoundCount; i++)
        loading.soundPaths[i] = game.programDir + game.mediaDir + SoundFiles[i];
    loading.soundWorker = startWorker(loadSoundsAhead);
    // No thread to be had (the browser has none): each is loaded in its turn, by the main thread.
    if (!loading.soundWorker)
        for (std::string &path : loading.soundPaths)
            path.clear();
}

void loadStartSounds()
{
    StartLoading &loading = game.startLoading;
    if (loading.soundWorker) {
        SDL_WaitThread(loading.soundWorker, nullptr);
        loading.soundWorker = nullptr;
    }
    for (int i = 0; i < StartSoundCount; i++) {
        const StartSound &start = StartSounds[i];
        // Loaded ahead only if the worker read this very file; otherwise it is loaded here.
        const char *file = SoundFiles[i];
        bool ahead = loading.soundPaths[i] == game.programDir + game.mediaDir + file;
        if (start.music && !ahead) {
            loadMusic(*start.music, game.mediaDir, file);
        } else if (start.music) {
            *start.music = loading.music[i];
            logSoundLoad("Mix_LoadMUS", file, *start.music, loading.soundErrors[i]);
        } else if (!ahead) {
            loadSound(*start.sound, game.mediaDir, file);
        } else {
            *start.sound = loading.effects[i];
            logSoundLoad("Mix_LoadWAV", file, *start.sound, loading.soundErrors[i]);
        }
        loading.soundPaths[i].clear();
        loading.music[i] = nullptr;
        loading.effects[i] = nullptr;
        loading.soundErrors[i].clear();
    }
}

void setVolumes(int32_t musicOff, int32_t soundOff, int32_t musicVolume, int32_t soundVolume)
{
    game.audioMusicOff = musicOff;
    game.audioSoundOff = soundOff;
    game.musicVolume = musicVolume;
    game.soundVolume = soundVolume;
    // At start-up the audio device is not open yet and there is nothing to halt.
    if (mixerOpen())
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
    if (!sound || channel < 0 || channel >= mixerChannels())
        return;
    if (!game.audioSoundOff)
        Mix_PlayChannelTimed(channel, sound, loops, -1);
    Mix_Volume(channel, game.soundVolume);
}

// The music and the effects stand still, or go on where they stood. Whether they stand still now
// is SDL_mixer's own pause of the music (a track started anew plays): no copy of game.soundsPaused.
static void pauseSounds(bool paused)
{
    if (paused == (Mix_PausedMusic() == 1))
        return;
    if (paused) {
        Mix_PauseMusic();
        Mix_Pause(-1);
    } else {
        Mix_ResumeMusic();
        Mix_Resume(-1);
    }
}

void playPendingSounds()
{
    pauseSounds(game.soundsPaused);
    if (game.pendingMusicStop)
        stopMusic();
    const SoundHandle sounds[EffectCount] = {game.explosionSound, game.nextLevelSound, game.dropSound,
                                             game.squareSound,    game.greatScoreSound, game.badScoreSound};
    for (int effect = 0; effect < EffectCount; effect++)
        if (game.pendingEffects & (1u << effect))
            playSound(sounds[effect], effect, 0);
    if (game.musicRequest != NoMusicRequest) {
        stopMusic();
        playMusic(game.musicRequest == GameMusicRequest ? game.gameMusic : game.introMusic);
    }
    game.pendingEffects = 0;
    game.pendingMusicStop = false;
    game.musicRequest = NoMusicRequest;
}
