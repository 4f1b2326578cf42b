// start_test.cpp: the whole start-up of a game lying in a folder named in any alphabet, under
// Wine: its log, its kept files, and every screen against the Linux build's reference pictures.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>

#include "SDL.h"
#include "app/loop.h"
#include "app/picture.h"
#include "base/files.h"
#include "base/platform.h"
#include "base/state.h"
#include "game/rules.h"
#include "gfx/image.h"
#include "picture_cases.h"
#include "support.h"
#include "windows_support.h"

namespace {

// The window's picture, read back with glReadPixels, against tests/pictures/NAME.png decoded by
// the system's own decoder: within a few steps per channel, but for a few stray pixels.
::testing::AssertionResult looksAsItsReference(const std::string &name)
{
    std::vector<unsigned char> got(800 * 600 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, got.data());
    SDL_Surface *want = loadImage(std::string(TAVIREL_SOURCE_DIR) + "/tests/pictures/" + name + ".png");
    if (!want || want->w != 800 || want->h != 600 || want->format->BytesPerPixel != 3)
        return ::testing::AssertionFailure() << "no reference picture " << name << ": " << SDL_GetError();
    int differing = 0;
    for (int y = 0; y < 600; y++)
        for (int x = 0; x < 800; x++) {
            const unsigned char *a = &got[((599 - y) * 800 + x) * 3];
            const unsigned char *b = static_cast<unsigned char *>(want->pixels) + y * want->pitch + x * 3;
            int d = std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
            differing += d > 8;
        }
    SDL_FreeSurface(want);
    if (differing <= 16)
        return ::testing::AssertionSuccess();
    // What the window showed, the right way up, beside the build for a look.
    std::vector<unsigned char> upright(got.size());
    for (int y = 0; y < 600; y++)
        std::copy_n(&got[(599 - y) * 800 * 3], 800 * 3, &upright[y * 800 * 3]);
    const std::string shown = std::string(TAVIREL_SOURCE_DIR) + "/build-windows/" + name + "-wine.bmp";
    SDL_Surface *picture = SDL_CreateRGBSurfaceFrom(upright.data(), 800, 600, 24, 800 * 3, 0xff, 0xff00, 0xff0000, 0);
    if (picture)
        SDL_SaveBMP(picture, shown.c_str());
    SDL_FreeSurface(picture);
    return ::testing::AssertionFailure() << name << ": " << differing << " pixels differ from the reference; shown: "
                                         << shown;
}

// Run as a child from the folder TAVIREL_TEST_FOLDER names: the game started there finds its
// media there, logs the start-up as on Linux, keeps its files there and draws its screens.
TEST(WindowsChild, StartsUpWhereItLies)
{
    const std::string folder = environment("TAVIREL_TEST_FOLDER");
    ASSERT_FALSE(folder.empty());
    game.running = true;
    startUp("tavirel");
    ASSERT_TRUE(game.windowOpen);
    EXPECT_EQ(game.programDir, folder);
    EXPECT_EQ(game.dataDir, folder);
    EXPECT_EQ(readWhole(folder + "log.txt"), crLf(startUpLog()));
    game.settings.musicOff = 1;
    saveSettings();
    EXPECT_EQ(readWhole(folder + "opt.dat"), crLf(settingsText()));

    for (const PictureCase &c : pictureCases()) {
        for (SDL_Event stale; SDL_PollEvent(&stale) == 1;) {
        }
        startFresh();
        c.show();
        ASSERT_EQ(game.Screen, c.screen) << c.name;
        runScreen();
        drawView(game.view);
        EXPECT_TRUE(looksAsItsReference(c.name));
    }
}

TEST(WindowsStart, AGameInAFolderOfAnyAlphabetStartsAndKeepsItsFiles)
{
    const std::string folder = freshFolder("Zoë\\Spiele und Rätsel\\Tavirel\\");
    copyGameInto(folder);
    void *child = startChild(folder + "tavirel_windows_tests.exe", "WindowsChild.StartsUpWhereItLies",
                             {"TAVIREL_TEST_FOLDER=" + folder});
    EXPECT_EQ(waitForChild(child), 0);
    EXPECT_TRUE(exists(folder + "opt.dat"));
}

}  // namespace
