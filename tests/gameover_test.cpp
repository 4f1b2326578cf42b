// gameover_test.cpp: the end of a game: name entry by real key releases, the new row, the plain wait.
#include <gtest/gtest.h>

#include <vector>

#include "SDL.h"
#include "SDL_mixer.h"
#include "app/files.h"
#include "app/screens.h"
#include "app/state.h"
#include "audio/sound.h"
#include "game/gameover.h"
#include "helpers.h"
#include "picture_helpers.h"
#include "screen_helpers.h"

namespace {

struct GameOverTest : ::testing::Test {
    std::string dir = startUpWith();
    // A game that ended with `score`, as the play screen leaves it.
    void endGame(int32_t score, int32_t level = 3, int32_t playTime = 6000)
    {
        game.round.score = score;
        game.round.level = level;
        game.round.playTime = playTime;
        game.Screen = GameOverScreen;
    }
    // Releases each key in turn, one game-over frame each.
    void release(const std::vector<SDLKey> &keys)
    {
        for (SDLKey key : keys) {
            pushKey(SDL_KEYUP, key);
            gameOverScreen();
        }
    }
};

// The key of each character; letters are lower-case key codes, "\b" is backspace.
std::vector<SDLKey> lettersOf(const std::string &text)
{
    std::vector<SDLKey> keys;
    for (char c : text)
        keys.push_back(static_cast<SDLKey>(c));
    return keys;
}

TEST_F(GameOverTest, NamesAreTypedOnReleaseAndKeysFrom256UpTypeAndEraseNothing)
{
    const SDLKey back = SDLK_BACKSPACE;
    struct {
        std::vector<SDLKey> keys;
        std::string name;
    } cases[] = {
        {lettersOf("ann"), "ann"},
        {{SDLK_a, back, back, SDLK_b}, "b"},  // backspace on an empty name does nothing
        {{SDLK_SPACE, SDLK_LEFTBRACKET, SDLK_BACKQUOTE, SDLK_z}, " [`z"},
        {{SDLK_1, SDLK_0, SDLK_MINUS, SDLK_DELETE, SDLK_TAB, SDLK_WORLD_5}, ""},  // not accepted
        {{SDLK_t, SDLK_o, SDLK_KP8, static_cast<SDLKey>(SDLK_BACKSPACE + 256)}, "to"},  // keypad 8 does not erase
        {{SDLK_KP_MINUS, SDLK_F7, SDLK_UNDO, SDLK_UP, SDLK_LSHIFT, SDLK_KP_PERIOD}, ""},
        {lettersOf("abcdefghijklmnopq"), "abcdefghijklmnop"},  // the 17th is ignored
        {lettersOf("abcdefghijklmnopq\bz"), "abcdefghijklmnoz"},  // one more after a backspace
    };
    for (const auto &c : cases) {
        game.round.playerName.clear();
        game.round.nameLength = 0;
        endGame(500);
        release(c.keys);
        EXPECT_EQ(game.round.playerName, c.name);
        EXPECT_EQ(game.round.nameLength, static_cast<int32_t>(c.name.size()));
        EXPECT_EQ(game.Screen, GameOverScreen) << c.name;  // nothing confirmed
    }
    pushKey(SDL_KEYDOWN, SDLK_a);  // presses are dropped
    pushKey(SDL_KEYDOWN, SDLK_RETURN);
    gameOverScreen();
    gameOverScreen();
    EXPECT_EQ(game.round.playerName, "abcdefghijklmnoz");
    EXPECT_EQ(game.Screen, GameOverScreen);
}

TEST_F(GameOverTest, ReturnAndKeypadEnterConfirmAndOpenTheHighScorePage)
{
    for (SDLKey enter : {SDLK_RETURN, SDLK_KP_ENTER}) {
        endGame(1000, 4, 7259);
        game.round.playerName = "ida";
        game.round.nameLength = 3;
        game.MenuPage = NoPage;
        Mix_HaltMusic();
        release({enter});
        EXPECT_EQ(game.Screen, IntroScreen);
        EXPECT_EQ(game.MenuPage, HighScorePage);
        EXPECT_EQ(Mix_PlayingMusic(), 1);
        const HighScoreEntry &row = game.highScores.rows[0];
        EXPECT_EQ(row.name, "ida");
        EXPECT_EQ(row.level, 4);
        EXPECT_EQ(row.time, 120);  // 7259 frames: whole seconds of 60 frames, truncated
        EXPECT_EQ(row.score, 1000);
    }
    EXPECT_EQ(game.highScores.rows[1].name, "ida");  // the second result went below the equal first
    EXPECT_EQ(readFile(dir + "dex.dll").substr(0, 14), "ida 4 120 1000");
}

TEST_F(GameOverTest, AResultGoesBelowEqualScoresAndPushesTheLastRowOut)
{
    // The default table scores 300, 290, ... 210.
    struct {
        int32_t score;
        int row;
    } cases[] = {{301, 0}, {300, 1}, {255, 5}, {250, 6}, {211, 9}};
    for (const auto &c : cases) {
        loadHighScores();
        HighScoreTable before = game.highScores;
        endGame(c.score, 2, 59);
        game.round.playerName = "new";
        insertResult();
        const HighScoreEntry *rows = game.highScores.rows;
        for (int i = 0; i < c.row; i++)
            EXPECT_EQ(rows[i].score, before.rows[i].score);
        EXPECT_EQ(rows[c.row].name, "new");
        EXPECT_EQ(rows[c.row].score, c.score);
        EXPECT_EQ(rows[c.row].time, 0);
        for (int i = c.row + 1; i < HighScoreRows; i++)
            EXPECT_EQ(rows[i].score, before.rows[i - 1].score) << c.score << " row " << i;
        std::remove((dir + "dex.dll").c_str());
    }
}

TEST_F(GameOverTest, EmptyNamesAndNamesWithSpacesSurviveARestart)
{
    for (const char *name : {"", "jo ann", "  "}) {
        endGame(game.highScores.rows[HighScoreRows - 1].score + 1);
        game.round.playerName = name;
        game.round.nameLength = static_cast<int32_t>(game.round.playerName.size());
        release({SDLK_RETURN});
        ASSERT_EQ(game.Screen, IntroScreen);
    }
    HighScoreTable saved = game.highScores;
    for (HighScoreEntry &row : game.highScores.rows)
        row = HighScoreEntry{};
    loadHighScores();  // as the next start reads it
    for (int i = 0; i < HighScoreRows; i++) {
        EXPECT_EQ(game.highScores.rows[i].name, saved.rows[i].name) << i;
        EXPECT_EQ(game.highScores.rows[i].level, saved.rows[i].level) << i;
        EXPECT_EQ(game.highScores.rows[i].time, saved.rows[i].time) << i;
        EXPECT_EQ(game.highScores.rows[i].score, saved.rows[i].score) << i;
    }
}

TEST_F(GameOverTest, QuittingDuringNameEntrySavesNothing)
{
    endGame(900);
    release(lettersOf("max"));
    pushQuit();
    gameOverScreen();
    EXPECT_FALSE(game.running);
    EXPECT_EQ(game.highScores.rows[0].score, 300);
    EXPECT_FALSE(fileExists(dir + "dex.dll"));
}

// Near-white pixels in a box of the back buffer.
int whitePixels(int x0, int y0, int w, int h)
{
    int count = 0;
    for (int y = y0; y < y0 + h; y += 2)
        for (int x = x0; x < x0 + w; x += 2) {
            Rgb c = pixelAt(x, y);
            count += c.r > 230 && c.g > 230 && c.b > 230;
        }
    return count;
}

TEST_F(GameOverTest, PlainGameOverShowsItsCaptionForTheWholeWaitAndReadsNoEvents)
{
    endGame(210);  // equal to the last row: no entry
    pushQuit();
    for (int frame = 1; frame <= 180; frame++) {
        gameOverScreen();
        if (frame == 1) {
            EXPECT_EQ(Mix_Playing(BadScoreChannel), 1);
        }
        if (frame == 1 || frame == 180) {
            TextBox caption = centredBox("game over", 20);
            EXPECT_GT(whitePixels(caption.x, caption.y, caption.w, caption.h), 40) << frame;
            EXPECT_LT(whitePixels(caption.x, caption.y + 45, caption.w, caption.h), 5) << frame;
            SDL_GL_SwapBuffers();
        }
    }
    EXPECT_EQ(game.Screen, GameOverScreen);
    gameOverScreen();
    EXPECT_EQ(game.Screen, IntroScreen);
    EXPECT_EQ(game.MenuPage, HighScorePage);
    EXPECT_TRUE(game.running);
    EXPECT_EQ(queuedEvents(), 1);  // the close request waits for the intro screen
    EXPECT_EQ(game.highScores.rows[9].score, 210);
    EXPECT_FALSE(fileExists(dir + "dex.dll"));
}

TEST_F(GameOverTest, TheFinishedGameCongratulatesThenEntersTheTableWhenItQualifies)
{
    struct {
        int32_t score;
        ScreenName next;
    } cases[] = {{5000, GameOverScreen}, {100, IntroScreen}};
    for (const auto &c : cases) {
        endGame(c.score, 9);
        game.Screen = FinishedScreen;
        game.round.finishedFrames = 0;
        pushKey(SDL_KEYUP, SDLK_ESCAPE);  // too early: still the last moments of play
        for (int i = 0; i < 40; i++)
            finishedScreen();
        EXPECT_EQ(game.Screen, FinishedScreen);
        pushButton(SDL_BUTTON_RIGHT, 5, 5);
        pushKey(SDL_KEYDOWN, SDLK_ESCAPE);
        pushKey(SDL_KEYUP, SDLK_ESCAPE);
        finishedScreen();
        finishedScreen();
        EXPECT_EQ(game.Screen, FinishedScreen);
        finishedScreen();
        EXPECT_EQ(game.Screen, c.next);
    }
    EXPECT_EQ(game.MenuPage, HighScorePage);
    game.Screen = FinishedScreen;
    pushQuit();
    finishedScreen();
    EXPECT_FALSE(game.running);
}

}  // namespace
