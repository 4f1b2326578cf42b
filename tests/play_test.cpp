// play_test.cpp: frames of the play screen in the real window, with real events, keys and sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "SDL.h"
#include "SDL_image.h"
#include "SDL_mixer.h"
#include "app/loop.h"
#include "app/screens.h"
#include "app/state.h"
#include "audio/sound.h"
#include "game/rules.h"
#include "helpers.h"
#include "picture_helpers.h"
#include "text/text.h"

namespace {

// The whole start-up in this process, then a new game seeded by the test, as the menu starts one.
void startPlaying(unsigned seed)
{
    std::string dir = makeTempDir();
    copyMedia(dir);
    startUp((dir + "tavirel").c_str());
    // Let the window take the focus before the test writes the key table: gaining the focus
    // reloads the table from the X server.
    for (int i = 0; i < 100 && SDL_GetAppState() != 7; i++) {
        SDL_PumpEvents();
        SDL_Delay(10);
    }
    SDL_Event stale;
    while (SDL_PollEvent(&stale)) {
    }
    std::srand(seed);
    newGame();
    game.Screen = GameScreen;
    stopMusic();
    playMusic(game.gameMusic);
}

void frames(int count)
{
    for (int i = 0; i < count && game.Screen == GameScreen; i++)
        playScreen();
}

void hold(SDLKey key, bool down = true) { SDL_GetKeyState(nullptr)[key] = down ? 1 : 0; }

void push(Uint8 type, SDLKey key = SDLK_UNKNOWN)
{
    SDL_Event event = {};
    event.type = type;
    event.key.keysym.sym = key;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

int queued()
{
    SDL_Event events[4];
    return SDL_PeepEvents(events, 4, SDL_PEEKEVENT, SDL_ALLEVENTS);
}

TEST(Play, BlockStepsByItsTimerAndHeldArrowsMoveItEveryFourthFrame)
{
    startPlaying(1);
    struct Case { int column; int wall; bool left, right; int frames, row, columnAfter; };
    const Case cases[] = {
        {9, -1, false, false, 60, 0, 9},  {9, -1, false, false, 61, 1, 9},  {9, -1, false, false, 122, 2, 9},
        {9, -1, true, false, 4, 0, 9},    {9, -1, true, false, 5, 0, 8},    {9, -1, true, false, 9, 0, 7},
        {9, -1, false, true, 9, 0, 11},   {9, -1, true, true, 9, 0, 9},     {0, -1, true, false, 9, 0, 0},
        {18, -1, false, true, 9, 0, 18},  {9, 8, true, false, 9, 0, 9},     {9, 11, false, true, 9, 0, 9},
    };
    for (const Case &c : cases) {
        newGame();
        game.round.block.column = c.column;
        if (c.wall >= 0)
            game.round.board[c.wall][1] = game.round.block.colours[0];  // beside the lower cells
        hold(SDLK_LEFT, c.left);
        hold(SDLK_RIGHT, c.right);
        frames(c.frames);
        EXPECT_EQ(game.round.block.row, c.row) << "after " << c.frames << " frames from column " << c.column;
        EXPECT_EQ(game.round.block.column, c.columnAfter) << "after " << c.frames << " frames from column " << c.column;
    }
}

TEST(Play, HalvesLandOnTheirOwnAndTurnsWaitForTheDropToEnd)
{
    startPlaying(2);
    Round &r = game.round;
    r.board[9][10] = 1;  // holds the left half up at row 8
    hold(SDLK_SPACE);
    push(SDL_KEYDOWN, SDLK_UP);
    int32_t c[4] = {r.block.colours[0], r.block.colours[1], r.block.colours[2], r.block.colours[3]};
    frames(1);
    EXPECT_EQ(r.block.colours[0], c[1]);  // a quarter turn counter-clockwise
    EXPECT_EQ(r.block.colours[3], c[0]);
    frames(60);  // the first row step, then Space drops at the key check of the same frame
    EXPECT_TRUE(r.dropping);
    EXPECT_EQ(Mix_Playing(DropChannel), 1);
    push(SDL_KEYDOWN, SDLK_DOWN);
    frames(7);
    ASSERT_EQ(r.block.landedHalf, LeftLanded);
    EXPECT_EQ(r.block.row, 8);
    EXPECT_EQ(r.board[9][8], c[1]);
    EXPECT_EQ(r.board[9][9], c[0]);
    frames(5);  // the right half drops on to the floor
    EXPECT_EQ(r.block.landedHalf, BothFalling);
    EXPECT_EQ(r.block.row, 0);
    EXPECT_EQ(r.board[10][13], c[2]);
    EXPECT_EQ(r.board[10][14], c[3]);
    EXPECT_EQ(queued(), 1);  // the turn pressed during the drop turns the next block
    int32_t next0 = r.block.colours[0];
    frames(1);
    EXPECT_EQ(queued(), 0);
    EXPECT_EQ(r.block.colours[1], next0);
}

TEST(Play, EscapeGoesBackToTheMenuWithItsMusicWhateverTheBlockDoes)
{
    startPlaying(3);
    game.round.block.landedHalf = RightLanded;
    game.round.moveTick = 4;
    hold(SDLK_ESCAPE);
    frames(1);
    EXPECT_EQ(game.Screen, IntroScreen);
    EXPECT_EQ(game.MenuPage, MainPage);
    EXPECT_EQ(SDL_GetKeyState(nullptr)[SDLK_ESCAPE], 0);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
}

TEST(Play, WindowCloseWaitsForTheDropToEnd)
{
    startPlaying(4);
    game.round.dropping = true;
    game.round.block.row = 10;
    push(SDL_QUIT);
    frames(3);
    EXPECT_TRUE(game.running);
    EXPECT_EQ(game.round.block.row, 0);  // landed at the end of the third frame
    frames(1);
    EXPECT_FALSE(game.running);
}

TEST(Play, TopOutWithAGreatScoreStopsTheMusicAndPlaysItsSoundInTheSameFrame)
{
    startPlaying(5);
    game.round.board[9][2] = game.round.board[10][2] = 0;
    game.round.score = game.highScores.rows[HighScoreRows - 1].score + 1;
    frames(1);
    EXPECT_EQ(game.Screen, GameOverScreen);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(Mix_Playing(GreatScoreChannel), 1);
}

// The colour of an image's pixel, as the game's picture holds it.
Rgb imagePixel(const char *file, int x, int y)
{
    SDL_Surface *image = IMG_Load((std::string(TAVIREL_SOURCE_DIR) + "/media/" + file).c_str());
    Uint8 r = 0, g = 0, b = 0;
    SDL_LockSurface(image);
    const Uint8 *at = static_cast<const Uint8 *>(image->pixels) + y * image->pitch + x * image->format->BytesPerPixel;
    Uint32 value = 0;
    for (int i = 0; i < image->format->BytesPerPixel; i++)
        value |= static_cast<Uint32>(at[i]) << (8 * i);
    SDL_GetRGB(value, image->format, &r, &g, &b);
    SDL_UnlockSurface(image);
    SDL_FreeSurface(image);
    return Rgb{r, g, b};
}

TEST(Play, DrawsPlacedAndMarkedCellsAndCentresTheScoreOnThePanel)
{
    startPlaying(6);
    game.round.board[0][14] = 0;
    game.round.board[1][14] = MarkedOffset + 12;
    game.round.score = 4242;
    frames(1);
    // Frame n of the tile sheet is at (32 (n mod 8), 32 (n / 8)); compare a point of it where
    // its colour is even, (25, 21) inside the cell.
    EXPECT_TRUE(pixelIs(18 + 25, 550 + 21, imagePixel("klocki.jpg", 25, 21)));
    Rgb tile = imagePixel("klocki.jpg", 4 * 32 + 25, 32 + 21), back = imagePixel("back.jpg", 50 + 25, 571);
    auto mix = [](int t, int b) { return static_cast<int>(0.7 * t + 0.3 * b + 0.5); };
    EXPECT_TRUE(pixelIs(50 + 25, 571, Rgb{mix(tile.r, back.r), mix(tile.g, back.g), mix(tile.b, back.b)}));
    // The digits' ink lies within the text's width, centred on x = 732.
    int width = measureText(game.smallFont, "4242"), first = 800, last = 0;
    for (int x = 600; x < 800; x++) {
        Rgb got = pixelAt(x, 140), plain = imagePixel("back.jpg", x, 140);
        if (std::abs(got.r - plain.r) + std::abs(got.g - plain.g) + std::abs(got.b - plain.b) > 60)
            first = std::min(first, x), last = std::max(last, x);
    }
    EXPECT_GE(first, 732 - width / 2);
    EXPECT_LE(last, 732 - width / 2 + width);
    EXPECT_GE(last - first, width * 3 / 4);
}

}  // namespace
