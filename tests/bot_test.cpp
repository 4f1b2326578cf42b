// bot_test.cpp: seeded games played by a bot through real play-screen frames to their end, with
// the rules' invariants checked after every frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "SDL.h"
#include "app/screens.h"
#include "app/state.h"
#include "game/rules.h"

namespace {

// The lowest pair of neighbouring columns, the first of them from `from` on.
int lowestPair(int from)
{
    int best = 0, bestTop = -1;
    for (int i = 0; i < BoardColumns - 1; i++) {
        int c = (from + i) % (BoardColumns - 1), top = BoardRows;
        for (int row = BoardRows - 1; row >= 0; row--)
            if (game.round.board[c][row] != EmptyCell || game.round.board[c + 1][row] != EmptyCell)
                top = row;
        if (top > bestTop)
            best = c, bestTop = top;
    }
    return best;
}

TEST(Bot, PlaysSeededGamesToTheirEndAndTheRulesHoldInEveryFrame)
{
    // Nothing is looked at, so the frames run in SDL's window-less driver at the rules' speed;
    // events and the key table are SDL's own all the same.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    game.windowWidth = 800;
    int highestLevel = 0;
    for (unsigned seed = 1; seed <= 4; seed++) {
        std::mt19937 bot(seed);
        std::srand(seed);
        newGame();
        game.Screen = GameScreen;
        Uint8 *keys = SDL_GetKeyState(nullptr);
        int clears = 0, score = 0, target = 9, level = 1, clearsLeft = LevelTable[0].clears;
        bool drops = false;
        for (int frame = 0; game.Screen == GameScreen; frame++) {
            ASSERT_LT(frame, 500000) << "seed " << seed << ": no end";
            const Round before = game.round;
            if (before.block.row == 0 && before.fallCountdown == before.fallInterval) {
                target = lowestPair(static_cast<int>(bot() % 19));   // a new block: choose where it goes
                drops = bot() % 5 == 0;
            }
            keys[SDLK_LEFT] = before.block.column > target;
            keys[SDLK_RIGHT] = before.block.column < target;
            keys[SDLK_SPACE] = drops && before.block.column == target;
            if (bot() % 40 == 0) {
                SDL_Event turn = {};
                turn.type = SDL_KEYDOWN;
                turn.key.keysym.sym = bot() % 2 ? SDLK_UP : SDLK_DOWN;
                SDL_PushEvent(&turn);
            }
            playScreen();

            const Round &r = game.round;
            std::string where = "seed " + std::to_string(seed) + ", frame " + std::to_string(frame);
            if (before.explodeCountdown == 2) {   // the marked cells went in this frame
                int n = 0;
                for (auto &column : r.explosionGrid)
                    for (int32_t cell : column)
                        n += cell;
                score += before.level * n * (n + 1) / 2;
                clears++;
                if (clearsLeft > 1)
                    clearsLeft--;
                else if (++level <= LastLevel)
                    clearsLeft = LevelTable[level - 1].clears;
            }
            ASSERT_EQ(r.score, score) << where;
            ASSERT_EQ(r.level, level) << where;
            ASSERT_EQ(r.clearsLeft, clearsLeft) << where;
            ASSERT_EQ(r.fallInterval, LevelTable[std::min(level, LastLevel) - 1].interval) << where;
            for (auto &column : r.board)
                for (int32_t cell : column)
                    ASSERT_TRUE(cell == EmptyCell || colourOf(cell) / 2 == level - 1) << where << ": " << cell;
            ASSERT_TRUE(r.block.row >= 0 && r.block.row <= BoardRows - 2) << where;
            ASSERT_TRUE(r.block.column >= 0 && r.block.column <= BoardColumns - 2) << where;
            // The game ends in the frame in which a block's last half comes to rest in row 0. A
            // block came to rest when the next one starts in row 0 with a full wait ahead of it.
            bool stepped = before.dropping || before.fallCountdown == 0;
            bool unclear = !stepped && before.block.row == 0 && before.fallCountdown - 1 == before.fallInterval;
            bool rested = r.block.row == 0 && !r.dropping && r.fallCountdown == before.fallInterval;
            if (!unclear && game.Screen != FinishedScreen) {
                ASSERT_EQ(game.Screen == GameOverScreen, rested && before.block.row + stepped == 0) << where;
            }
        }
        highestLevel = std::max(highestLevel, level);
        std::printf("seed %u: %s at level %d after %d clears, score %d\n", seed,
                    game.Screen == GameOverScreen ? "topped out" : "completed", level, clears, score);
    }
    EXPECT_GE(highestLevel, 3);  // the games went through level-ups
}

}  // namespace
