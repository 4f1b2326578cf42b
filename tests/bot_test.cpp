// bot_test.cpp: seeded games played by a bot through real play-screen frames to their end, with
// the rules' invariants checked after every frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>

#include "SDL.h"
#include "app/loop.h"
#include "base/state.h"
#include "game/rules.h"
#include "input/keys.h"

namespace {

// The first of two neighbouring columns with the lowest stack, looking from column `from` on.
int lowestPair(int from)
{
    int best = from, bestTop = -1;
    for (int i = 0; i < BoardColumns - 1; i++) {
        int c = (from + i) % (BoardColumns - 1), top = 0;
        while (top < BoardRows && game.round.board[c][top] == EmptyCell && game.round.board[c + 1][top] == EmptyCell)
            top++;
        if (top > bestTop)
            best = c, bestTop = top;
    }
    return best;
}

TEST(Bot, PlaysSeededGamesToTheirEndAndTheRulesHoldInEveryFrame)
{
    // Nothing is looked at, so the frames run in SDL's window-less driver at the rules' speed;
    // the events and the key table are SDL's own all the same.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    game.windowWidth = 800;
    setDefaultControls(game.controls);  // the keys start-up gives the game
    Uint8 *keys = SDL_GetKeyState(nullptr);
    int highestLevel = 0;
    for (unsigned seed = 1; seed <= 4; seed++) {
        std::mt19937 bot(seed);
        std::srand(seed);
        newGame();
        game.Screen = GameScreen;
        int score = 0, level = 1, clearsLeft = LevelTable[0].clears, target = 9, drops = 0;
        for (int frame = 0; game.Screen == GameScreen; frame++) {
            const std::string where = "seed " + std::to_string(seed) + ", frame " + std::to_string(frame);
            ASSERT_LT(frame, 500000) << where;
            const Round before = game.round;
            if (before.block.row == 0 && before.fallCountdown == before.fallInterval) {
                target = lowestPair(bot() % 19);  // a new block: where it goes, and whether it is dropped
                drops = bot() % 5 == 0;
            }
            keys[SDLK_LEFT] = before.block.column > target;
            keys[SDLK_RIGHT] = before.block.column < target;
            keys[SDLK_SPACE] = drops && before.block.column == target;
            runScreen();

            const Round &r = game.round;
            if (before.explodeCountdown == 2) {  // the marked cells went in this frame
                int n = 0;
                for (auto &column : r.explosionGrid)
                    n += static_cast<int>(std::count(column, column + BoardRows, 1));
                score += before.level * n * (n + 1) / 2;
                if (clearsLeft > 1)
                    clearsLeft--;
                else if (++level <= LastLevel)
                    clearsLeft = LevelTable[level - 1].clears;
            }
            ASSERT_EQ(r.score, score) << where;
            ASSERT_EQ(r.level * 1000 + r.clearsLeft, level * 1000 + clearsLeft) << where;
            ASSERT_EQ(r.fallInterval, LevelTable[std::min(level, LastLevel) - 1].interval) << where;
            for (auto &column : r.board)
                for (int32_t cell : column)
                    ASSERT_TRUE(cell == EmptyCell || colourOf(cell) / 2 == level - 1) << where << ": " << cell;
            ASSERT_TRUE(r.block.row >= 0 && r.block.row < BoardRows - 1 && r.block.column >= 0 &&
                        r.block.column < BoardColumns - 1) << where;
            // The game ends in the frame in which a block's last half comes to rest in row 0. A
            // block has come to rest when the next one starts in row 0 with a full wait ahead.
            bool stepped = before.dropping || before.fallCountdown == 0;
            bool unclear = !stepped && before.block.row == 0 && before.fallCountdown - 1 == before.fallInterval;
            bool rested = r.block.row == 0 && !r.dropping && r.fallCountdown == before.fallInterval;
            if (!unclear && game.Screen != FinishedScreen) {
                ASSERT_EQ(game.Screen == GameOverScreen, rested && before.block.row + stepped == 0) << where;
            }
        }
        highestLevel = std::max(highestLevel, level);
    }
    EXPECT_GE(highestLevel, 3);  // the games went through level-ups
}

}  // namespace
