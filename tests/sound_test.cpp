// sound_test.cpp: the game's music and effects loaded and played through a real (silent) audio device.
#include <gtest/gtest.h>

#include <algorithm>

#include "SDL.h"
#include "SDL_mixer.h"
#include "base/state.h"
#include "audio/sound.h"
#include "support.h"

namespace {

struct SoundTest : ::testing::Test {
    std::string dir = makeProgramDir();
    void SetUp() override { copyMedia(dir); }
    // The audio device as the game opens it.
    void openDevice()
    {
        openAudio();
        ASSERT_NE(Mix_QuerySpec(nullptr, nullptr, nullptr), 0) << Mix_GetError();
    }
};

// A handle that is not null, to see the loaders overwrite it.
template <typename Handle> Handle notLoaded()
{
    static char placeholder;
    return reinterpret_cast<Handle>(&placeholder);
}

// "<prefix><file> <error text>\n" with a non-empty error text.
void expectErrorLine(const std::string &line, const std::string &start)
{
    ASSERT_EQ(line.compare(0, start.size(), start), 0) << line;
    EXPECT_GT(line.size(), start.size() + 1) << line;
    EXPECT_EQ(line.back(), '\n');
    EXPECT_EQ(line.find(" OK\n"), std::string::npos) << line;
    EXPECT_EQ(std::count(line.begin(), line.end(), '\n'), 1) << line;
}

TEST_F(SoundTest, LoadersLogOkOrTheErrorText)
{
    // Before the audio device is open nothing loads, and nothing breaks either.
    MusicHandle music = notLoaded<MusicHandle>();
    SoundHandle sound = notLoaded<SoundHandle>();
    loadSound(sound, "media/", "explosion.ogg");
    EXPECT_EQ(sound, nullptr);
    expectErrorLine(logText(), "Mix_LoadWAV explosion.ogg ");

    openDevice();
    writeFile(dir + "media/notes.ogg", "not a sound at all\n");
    size_t mark = logText().size();
    loadMusic(music, "media/", "m2.ogg");
    loadSound(sound, "media/", "explosion.ogg");
    EXPECT_NE(music, nullptr);
    EXPECT_NE(sound, nullptr);
    EXPECT_EQ(logSince(mark), "Mix_LoadMUS m2.ogg OK\nMix_LoadWAV explosion.ogg OK\n");

    for (const char *file : {"gone.ogg", "notes.ogg"}) {
        mark = logText().size();
        loadMusic(music, "media/", file);
        EXPECT_EQ(music, nullptr);
        expectErrorLine(logSince(mark), std::string("Mix_LoadMUS ") + file + " ");
        mark = logText().size();
        loadSound(sound, "media/", file);
        EXPECT_EQ(sound, nullptr);
        expectErrorLine(logSince(mark), std::string("Mix_LoadWAV ") + file + " ");
    }
}

TEST_F(SoundTest, SetVolumesBeforeTheDeviceOpensOnlyStoresAndLaterHaltsEveryEffect)
{
    setVolumes(1, 0, 38, 128);
    EXPECT_EQ(game.audioMusicOff, 1);
    EXPECT_EQ(game.audioSoundOff, 0);
    EXPECT_EQ(game.musicVolume, 38);
    EXPECT_EQ(game.soundVolume, 128);

    openDevice();
    SoundHandle drop = nullptr, square = nullptr;
    loadSound(drop, "media/", "spadanie.ogg");
    loadSound(square, "media/", "ulozone.ogg");
    playSound(drop, DropChannel, 9);
    playSound(square, SquareChannel, 2);
    ASSERT_EQ(Mix_Playing(-1), 2);
    setVolumes(0, 1, 20, 64);
    EXPECT_EQ(Mix_Playing(-1), 0);
    EXPECT_EQ(game.audioSoundOff, 1);
    EXPECT_EQ(game.musicVolume, 20);
}

TEST_F(SoundTest, MusicFollowsItsSwitchAndVolume)
{
    openDevice();
    MusicHandle intro = nullptr, play = nullptr;
    loadMusic(intro, "media/", "m2.ogg");
    loadMusic(play, "media/", "m1.ogg");

    setVolumes(0, 0, 38, 128);
    playMusic(intro);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(Mix_VolumeMusic(-1), 38);
    stopMusic();
    EXPECT_EQ(Mix_PlayingMusic(), 0);

    // Switched off: only the volume is set; nothing starts, and playing music is not stopped.
    Mix_VolumeMusic(100);
    setVolumes(1, 0, 38, 128);
    playMusic(intro);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(Mix_VolumeMusic(-1), 38);
    setVolumes(0, 0, 38, 128);
    playMusic(play);
    setVolumes(1, 0, 50, 128);
    playMusic(intro);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(Mix_VolumeMusic(-1), 50);

    // A track that failed to load plays nothing and changes nothing.
    stopMusic();
    setVolumes(0, 0, 38, 128);
    Mix_VolumeMusic(100);
    playMusic(nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(Mix_VolumeMusic(-1), 100);
}

TEST_F(SoundTest, EffectsPlayOnTheirOwnChannelsAndFollowTheirSwitch)
{
    openDevice();
    SoundHandle explosion = nullptr, nextLevel = nullptr;
    loadSound(explosion, "media/", "explosion.ogg");
    loadSound(nextLevel, "media/", "nextlevel.ogg");
    setVolumes(0, 0, 38, 128);

    Mix_Volume(-1, 10);
    playSound(explosion, ExplosionChannel, 0);
    playSound(nextLevel, NextLevelChannel, 0);
    EXPECT_EQ(Mix_Playing(ExplosionChannel), 1);
    EXPECT_EQ(Mix_Playing(NextLevelChannel), 1);
    EXPECT_EQ(Mix_Playing(-1), 2);
    EXPECT_EQ(Mix_GetChunk(ExplosionChannel), explosion);
    EXPECT_EQ(Mix_GetChunk(NextLevelChannel), nextLevel);
    EXPECT_EQ(Mix_Volume(ExplosionChannel, -1), 128);
    EXPECT_EQ(Mix_Volume(DropChannel, -1), 10);
    // The same effect again restarts on its channel and cuts nothing else off.
    playSound(explosion, ExplosionChannel, 0);
    EXPECT_EQ(Mix_Playing(-1), 2);

    // Switched off: only the channel's volume is set.
    setVolumes(0, 1, 38, 128);
    playSound(explosion, BadScoreChannel, 0);
    EXPECT_EQ(Mix_Playing(-1), 0);
    EXPECT_EQ(Mix_Volume(BadScoreChannel, -1), 128);

    // A missing effect or a channel the mixer does not have plays nothing and changes nothing.
    setVolumes(0, 0, 38, 128);
    Mix_Volume(-1, 10);
    playSound(nullptr, GreatScoreChannel, 0);
    for (int channel : {-1, -7, 8, 1000})
        playSound(explosion, channel, 0);
    EXPECT_EQ(Mix_Playing(-1), 0);
    EXPECT_EQ(Mix_Volume(GreatScoreChannel, -1), 10);
    EXPECT_EQ(Mix_Volume(0, -1), 10);
}

}  // namespace
