// startload_test.cpp: start-up's media, read on worker threads, reach the game and the log in their order.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/loop.h"
#include "base/state.h"
#include "audio/sound.h"
#include "app/assets.h"
#include "gfx/sprite.h"
#include "support.h"

namespace {

// The text with one line replaced.
std::string replaceLine(std::string text, const std::string &line, const std::string &by)
{
    size_t at = text.find(line);
    EXPECT_NE(at, std::string::npos) << line;
    return at == std::string::npos ? text : text.replace(at, line.size(), by);
}

std::string logText()
{
    game.logFile.flush();
    return readFile(game.logPath);
}

TEST(StartLoading, MissingAndDamagedMediaAreLoggedInTheirPlaces)
{
    std::string dir = makeTempDir();
    copyMedia(dir);
    std::string media = dir + "media/";
    std::remove((media + "intro.jpg").c_str());
    writeFile(media + "posw.png", readFile(media + "posw.png").substr(0, 300));
    std::remove((media + "m1.ogg").c_str());
    writeFile(media + "spadanie.ogg", "not a sound at all\n");

    startUp((dir + "tavirel").c_str());
    std::string log = logText();

    // The same two sounds loaded again here, by the main thread alone, give the lines to expect.
    MusicHandle music = nullptr;
    SoundHandle sound = nullptr;
    loadMusic(music, "media/", "m1.ogg");
    std::string musicLine = logText().substr(log.size());
    loadSound(sound, "media/", "spadanie.ogg");
    std::string soundLine = logText().substr(log.size() + musicLine.size());
    EXPECT_NE(musicLine.find(" m1.ogg "), std::string::npos) << musicLine;
    EXPECT_NE(soundLine.find(" spadanie.ogg "), std::string::npos) << soundLine;

    std::string pictures = replaceLine(PicturesLog, "Texture intro.jpg loading ok\n", "Texture intro.jpg ERROR\n");
    pictures = replaceLine(pictures, "Texture posw.png loading ok\n", "Texture posw.png ERROR\n");
    std::string sounds = replaceLine(SoundsLog, "Mix_LoadMUS m1.ogg OK\n", musicLine);
    sounds = replaceLine(sounds, "Mix_LoadWAV spadanie.ogg OK\n", soundLine);
    EXPECT_EQ(log, WindowLog + pictures + sounds);

    // Each handle and picture got its own file, the failed ones nothing.
    EXPECT_EQ(game.introSprite.textureId, 0u);
    EXPECT_EQ(game.glowSprite.textureId, 0u);
    EXPECT_EQ(game.backgroundSprite.imageWidth, 800);
    EXPECT_EQ(game.largeFont.sprite.imageHeight, 36);
    EXPECT_EQ(game.explosionSprite.textureWidth, 512);
    EXPECT_EQ(game.gameMusic, nullptr);
    EXPECT_EQ(game.dropSound, nullptr);
    for (SoundHandle effect : {game.explosionSound, game.nextLevelSound, game.squareSound, game.greatScoreSound,
                               game.badScoreSound})
        EXPECT_NE(effect, nullptr);
    EXPECT_NE(game.introMusic, nullptr);
    EXPECT_NE(game.explosionSound, game.nextLevelSound);

    // A window rebuild loads the pictures again, by itself, with the same lines.
    size_t mark = logText().size();
    loadAssets();
    EXPECT_EQ(logText().substr(mark), pictures);
    EXPECT_NE(game.backgroundSprite.textureId, 0u);
}

}  // namespace
