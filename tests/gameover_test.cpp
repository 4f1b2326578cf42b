// gameover_test.cpp: the end of a game: name entry by real key releases, the new row, the plain wait.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "SDL.h"
#include "SDL_mixer.h"
#include "base/files.h"
#include "app/loop.h"
#include "base/state.h"
#include "game/gameover.h"
#include "screen_helpers.h"
#include "support.h"

namespace {

struct GameOverTest : ::testing::Test {
    std::string dir = startUpWith();
    // A game that ended with `score`, as the play screen leaves it, with `name` typed so far.
    void endGame(int32_t score, const std::string &name = "", int32_t level = 3, int32_t playTime = 6000)
    {
        Round &r = game.round;
        r.score = score;
        r.level = level;
        r.playTime = playTime;
        r.playerName = name;
        r.nameLength = static_cast<int32_t>(name.size());
        game.Screen = GameOverScreen;
    }
    // Releases each key in turn, one game-over frame each.
    void release(const std::vector<int> &keys)
    {
        for (int key : keys) {
            pushEvent(SDL_KEYUP, key);
            runFrame();
        }
    }
};

// The key of each character: letters are lower-case key codes, "\b" is backspace.
std::vector<int> keysOf(const std::string &text)
{
    return std::vector<int>(text.begin(), text.end());
}

TEST_F(GameOverTest, NamesAreTypedOnReleaseAndKeysFrom256UpTypeAndEraseNothing)
{
    struct {
        std::vector<int> keys;
        std::string name;
    } cases[] = {
        {keysOf("ann"), "ann"},
        {keysOf("a\b\bb"), "b"},  // backspace on an empty name does nothing
        {keysOf(" [`z"), " [`z"},
        {{'1', '0', '-', SDLK_DELETE, SDLK_TAB, SDLK_WORLD_5}, ""},  // not accepted
        {{'t', 'o', SDLK_KP8, SDLK_BACKSPACE + 256}, "to"},          // keypad 8 does not erase
        {{SDLK_KP_MINUS, SDLK_F7, SDLK_UNDO, SDLK_UP, SDLK_LSHIFT, SDLK_KP_PERIOD}, ""},
        {keysOf("abcdefghijklmnopq"), "abcdefghijklmnop"},      // the 17th is ignored
        {keysOf("abcdefghijklmnopq\bz"), "abcdefghijklmnoz"},  // one more after a backspace
    };
    for (const auto &c : cases) {
        endGame(500);
        release(c.keys);
        EXPECT_EQ(game.round.playerName, c.name);
        EXPECT_EQ(game.round.nameLength, static_cast<int32_t>(c.name.size()));
        EXPECT_EQ(game.Screen, GameOverScreen) << c.name;  // nothing confirmed
    }
    pushEvent(SDL_KEYDOWN, 'a');  // presses are dropped
    pushEvent(SDL_KEYDOWN, SDLK_RETURN);
    runFrame();
    runFrame();
    EXPECT_EQ(game.round.playerName, "abcdefghijklmnoz");
    EXPECT_EQ(game.Screen, GameOverScreen);
}

TEST_F(GameOverTest, ReturnOrKeypadEnterPutsTheResultBelowEqualScoresAndSaves)
{
    // The default table scores 300, 290, ... 210.
    struct {
        int key;
        int32_t score;
        int row;
    } cases[] = {{SDLK_RETURN, 301, 0}, {SDLK_KP_ENTER, 300, 1}, {SDLK_RETURN, 250, 6}, {SDLK_KP_ENTER, 211, 9}};
    for (const auto &c : cases) {
        std::remove((dir + "dex.dll").c_str());
        loadHighScores();
        HighScoreTable before = game.highScores;
        endGame(c.score, "new", 4, 7259);
        Mix_HaltMusic();
        release({c.key});
        EXPECT_EQ(game.Screen, IntroScreen);
        EXPECT_EQ(game.MenuPage, HighScorePage);
        EXPECT_EQ(Mix_PlayingMusic(), 1);
        const HighScoreEntry *rows = game.highScores.rows;
        for (int i = 0; i < HighScoreRows; i++) {
            int32_t expected = i < c.row ? before.rows[i].score : i > c.row ? before.rows[i - 1].score : c.score;
            EXPECT_EQ(rows[i].score, expected) << c.score << " row " << i;
        }
        EXPECT_EQ(rows[c.row].name, "new");
        EXPECT_EQ(rows[c.row].level, 4);
        EXPECT_EQ(rows[c.row].time, 120);  // 7259 frames: whole seconds of 60 frames, truncated
        EXPECT_NE(readFile(dir + "dex.dll").find("new 4 120 " + std::to_string(c.score) + "\n"), std::string::npos);
        // The new row is lit until the table is left, and not when the table is shown again.
        EXPECT_EQ(game.litRow, c.row);
        pushEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
        runFrame();
        EXPECT_EQ(game.MenuPage, MainPage);
        EXPECT_EQ(game.litRow, NoSelection);
    }
}

TEST_F(GameOverTest, EmptyNamesAndNamesWithSpacesSurviveARestart)
{
    for (const char *name : {"", "jo ann", "  "}) {
        endGame(game.highScores.rows[HighScoreRows - 1].score + 1, name);
        release({SDLK_RETURN});
        ASSERT_EQ(game.Screen, IntroScreen);
    }
    HighScoreTable saved = game.highScores;
    for (HighScoreEntry &row : game.highScores.rows)
        row = HighScoreEntry{};
    loadHighScores();  // as the next start reads it
    for (int i = 0; i < HighScoreRows; i++) {
        const HighScoreEntry &a = game.highScores.rows[i], &b = saved.rows[i];
        EXPECT_EQ(a.name, b.name) << i;
        EXPECT_EQ(a.level, b.level) << i;
        EXPECT_EQ(a.time, b.time) << i;
        EXPECT_EQ(a.score, b.score) << i;
    }
}

// A damaged row of dex.dll costs only its own result: the place it leaves at the bottom goes to
// the next result, however low, entered as any other, and the table stays best first.
TEST_F(GameOverTest, ThePlaceADamagedRowLeavesGoesToTheNextResult)
{
    std::string rows[10];
    for (int i = 0; i < 10; i++)
        rows[i] = "p" + std::to_string(i) + " 2 60 " + std::to_string(190 - 10 * i) + "\n";
    std::string table;
    for (const std::string &row : rows)
        table += row;
    struct {
        const char *damage;
        std::string file;
        const char *lost;
    } cases[] = {
        {"a word for a number in the middle", table.substr(0, 4 * 12) + "p4 two 60 150\n" + table.substr(5 * 12), "p4 "},
        {"the last row cut short", table.substr(0, 9 * 12) + "p9 2 6", "p9 "},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.damage);
        writeFile(dir + "dex.dll", c.file);
        loadHighScores();  // as the game's start reads it
        endGame(50, "", 2, 600);
        release(keysOf("ann"));
        release({SDLK_RETURN});
        EXPECT_EQ(game.Screen, IntroScreen) << "no name entry: the result was refused";
        loadHighScores();  // as saved
        const HighScoreEntry *kept = game.highScores.rows;
        for (int i = 0; i + 1 < HighScoreRows; i++)
            EXPECT_GE(kept[i].score, kept[i + 1].score) << "row " << i;
        EXPECT_EQ(kept[HighScoreRows - 1].name, "ann");
        EXPECT_EQ(kept[HighScoreRows - 1].score, 50);
        EXPECT_EQ(readFile(dir + "dex.dll").find(c.lost), std::string::npos);
    }
}

// A window closed (or the game told to end) keeps what the player has before them: a result
// being entered, under the name typed so far (the screen after the last level: no name yet), and
// the switches of the options page as they show. Elsewhere nothing is written.
TEST_F(GameOverTest, AClosedWindowKeepsTheResultBeingEnteredAndTheSwitchesShown)
{
    struct {
        ScreenName screen;
        PageName page;
        int32_t score;
        const char *table;     // the row the table file holds for it, or "" for no file
        const char *settings;  // opt.dat afterwards, or "" for none
    } cases[] = {
        {GameOverScreen, NoPage, 900, "max 3 100 900\n", ""},
        {FinishedScreen, NoPage, 901, "% 9 100 901\n", ""},
        {FinishedScreen, NoPage, 200, "", ""},
        {IntroScreen, OptionsPage, 0, "", "0\n1\n0\n"},
        {IntroScreen, MainPage, 0, "", ""},
        {IntroScreen, HighScorePage, 900, "", ""},  // entered already, not again
    };
    for (const auto &c : cases) {
        std::remove((dir + "dex.dll").c_str());
        std::remove((dir + "opt.dat").c_str());
        loadHighScores();
        game.running = true;
        endGame(c.score, "max", c.screen == FinishedScreen ? 9 : 3);
        if (c.screen == FinishedScreen)
            game.round.playerName = "";
        game.Screen = c.screen;
        game.MenuPage = c.page;
        game.settings = {0, 1, 0};  // switched on the page, not yet saved
        pushEvent(SDL_QUIT);
        runFrame();
        EXPECT_FALSE(game.running) << c.screen;
        std::string table = fileExists(dir + "dex.dll") ? readFile(dir + "dex.dll") : "";
        EXPECT_EQ(table.substr(0, table.find('\n') + (table.empty() ? 0 : 1)), c.table) << c.screen;
        EXPECT_EQ(fileExists(dir + "opt.dat") ? readFile(dir + "opt.dat") : "", c.settings) << c.screen;
    }
}

TEST_F(GameOverTest, PlainGameOverShowsItsCaptionForTheWholeWaitAndReadsNoEvents)
{
    endGame(210);  // equal to the last row: no entry
    pushEvent(SDL_QUIT);
    // Every frame of the wait shows the picture of the first (the picture test's game-over).
    runFrame();
    ASSERT_EQ(game.view.picture, GameOverPicture);
    const View first = game.view;
    for (int frame = 2; frame <= 180; frame++) {
        runFrame();
        EXPECT_EQ(std::memcmp(&game.view, &first, sizeof first), 0) << frame;
    }
    EXPECT_EQ(game.Screen, GameOverScreen);
    runFrame();
    EXPECT_EQ(game.Screen, IntroScreen);
    EXPECT_EQ(game.MenuPage, HighScorePage);
    EXPECT_TRUE(game.running);
    EXPECT_EQ(queuedEvents(), 1);  // the close request waits for the intro screen
    EXPECT_FALSE(fileExists(dir + "dex.dll"));
}

TEST_F(GameOverTest, TheFinishedGameCongratulatesThenEntersTheTableWhenItQualifies)
{
    struct {
        int32_t score;
        ScreenName next;
    } cases[] = {{5000, GameOverScreen}, {100, IntroScreen}};
    for (const auto &c : cases) {
        endGame(c.score, "", 9);
        game.Screen = FinishedScreen;
        game.round.finishedFrames = 0;
        pushEvent(SDL_KEYUP, SDLK_ESCAPE);  // too early: still the last moments of play
        SDL_ShowCursor(SDL_DISABLE);  // as play left it
        for (int i = 0; i < 40; i++)
            runFrame();
        EXPECT_EQ(game.Screen, FinishedScreen);
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);  // its text asks for a click
        pushEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT);
        pushEvent(SDL_KEYDOWN, SDLK_ESCAPE);
        pushEvent(SDL_KEYUP, SDLK_ESCAPE);
        runFrame();
        runFrame();
        EXPECT_EQ(game.Screen, FinishedScreen);
        runFrame();
        EXPECT_EQ(game.Screen, c.next);
    }
    EXPECT_EQ(game.MenuPage, HighScorePage);
    // The thirtieth frame is the last that is too early, the thirty-first the first that is not.
    for (int early : {1, 0}) {
        game.Screen = FinishedScreen;
        game.round.finishedFrames = 29 + 1 - early;
        pushEvent(SDL_KEYUP, SDLK_ESCAPE);
        runFrame();
        EXPECT_EQ(game.Screen == FinishedScreen, early == 1) << early;
    }
    game.Screen = FinishedScreen;
    pushEvent(SDL_QUIT);
    runFrame();
    EXPECT_FALSE(game.running);
}

}  // namespace
