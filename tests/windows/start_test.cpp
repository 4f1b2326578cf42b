// start_test.cpp: the whole start-up of a game lying in a folder named in any alphabet, under
// Wine: its log, its kept files, and its screens against the Linux build's reference pictures.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <functional>

#include "SDL.h"
#include "app/loop.h"
#include "app/picture.h"
#include "base/files.h"
#include "base/platform.h"
#include "base/state.h"
#include "game/rules.h"
#include "gfx/image.h"
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
    return ::testing::AssertionFailure() << name << ": " << differing << " pixels differ from the reference";
}

// The play screen's known state of the reference pictures: level 3, cells along every edge of the
// board, a marked square, an explosion under way and the countdown running.
void showGame(ScreenName screen, int32_t score)
{
    game.Screen = screen;
    Round &r = game.round;
    r = Round();
    for (auto &column : r.board)
        for (int32_t &cell : column)
            cell = EmptyCell;
    for (int row = 0; row < BoardRows; row++) {
        r.board[0][row] = 4 + row % 2;
        r.board[BoardColumns - 1][row] = row < 6 ? MarkedOffset + 5 : 4 + (row / 3) % 2;
    }
    for (int c = 0; c < BoardColumns; c++)
        r.board[c][BoardRows - 1] = 4 + (c / 2) % 2;
    for (int c : {12, 13})
        for (int row : {12, 13})
            r.board[c][row] = MarkedOffset + 4;
    for (int c : {5, 6})
        for (int row : {12, 13})
            r.explosionGrid[c][row] = 1;
    r.explosionFrame = 12;
    r.explodeCountdown = 321;
    r.level = 3;
    r.score = score;
    r.clearsLeft = 7;
    r.playTime = 3599;
    r.fallInterval = LevelTable[2].interval;
    r.fallCountdown = 20;
    r.block = {{4, 5, 5, 4}, 9, 4, BothFalling};
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
    EXPECT_EQ(readWhole(folder + "log.txt"), startUpLog());
    game.settings.musicOff = 1;
    saveSettings();
    EXPECT_EQ(readWhole(folder + "opt.dat"), settingsText());

    HighScoreEntry *rows = game.highScores.rows;
    rows[0] = {"ann lee", 8, 1234, 99999};
    rows[1] = {"", 3, 45, 5000};
    rows[2] = {"abcdefghijklmnop", 2, 100, 4000};
    game.settings = {1, 1, 0};
    const struct {
        const char *name;
        std::function<void()> show;
    } screens[] = {
        {"high-score", [] {
             game.Screen = IntroScreen;
             game.MenuPage = HighScorePage;
             game.mouseX = 700, game.mouseY = 500;
             game.litRow = 2;
         }},
        {"credits", [] {
             game.MenuPage = CreditsPage;
             game.mouseX = 100, game.mouseY = 100;
             game.litRow = NoSelection;
         }},
        {"play", [] { showGame(GameScreen, 12345); }},
    };
    for (const auto &screen : screens) {
        for (SDL_Event stale; SDL_PollEvent(&stale) == 1;) {
        }
        screen.show();
        runScreen();
        drawView(game.view);
        EXPECT_TRUE(looksAsItsReference(screen.name));
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
