// picture_test.cpp: every screen drawn in a known state, compared with its reference picture in
// tests/pictures/ (tools/make-references.sh draws them anew when a screen is meant to change).
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <set>

#include "SDL_syswm.h"
#include "app/loop.h"
#include "app/picture.h"
#include "base/files.h"
#include "base/state.h"
#include "game/rules.h"
#include "input/keys.h"
#include "picture_cases.h"
#include "support.h"

namespace {

TEST(Pictures, EveryScreenInAKnownStateLooksAsItsReference)
{
    startUpWith();
    for (const PictureCase &c : pictureCases()) {
        startFresh();
        c.show();
        ASSERT_EQ(game.Screen, c.screen) << c.name;
        runFrame();
        EXPECT_TRUE(matchesReference(c.name));
    }
}

// A digest of the picture the window shows on the X server, as the last swap left it.
uint64_t shownPicture()
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) != 1)
        return 0;
    info.info.x11.lock_func();
    Display *display = info.info.x11.display;
    XSync(display, False);
    XImage *image = XGetImage(display, info.info.x11.window, 0, 0, 800, 600, AllPlanes, ZPixmap);
    info.info.x11.unlock_func();
    if (!image)
        return 0;
    uint64_t digest = 14695981039346656037ull;
    const size_t rowWords = 800 * image->bits_per_pixel / 64;
    for (int y = 0; y < 600; y++) {
        const char *row = image->data + y * image->bytes_per_line;
        for (size_t i = 0; i < rowWords; i++) {
            uint64_t word;
            std::memcpy(&word, row + 8 * i, 8);
            digest = (digest ^ word) * 1099511628211ull;
        }
    }
    XDestroyImage(image);
    return digest;
}

// The player's steps through the menus once the game is over, one every few passes: the table
// left by a click; by the keys the options page, the controls page, the pause's row (the third
// up from the first) put on K, back twice, and a new game.
const struct {
    Uint8 type;
    int a, b;
} MenuSteps[] = {
    {SDL_MOUSEMOTION, 350, 200}, {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 0}, {SDL_KEYDOWN, SDLK_DOWN, 0},
    {SDL_KEYDOWN, SDLK_DOWN, 0}, {SDL_KEYDOWN, SDLK_RETURN, 0},  {SDL_KEYDOWN, SDLK_DOWN, 0},
    {SDL_KEYDOWN, SDLK_DOWN, 0}, {SDL_KEYDOWN, SDLK_DOWN, 0},    {SDL_KEYDOWN, SDLK_RETURN, 0},
    {SDL_KEYDOWN, SDLK_UP, 0},   {SDL_KEYDOWN, SDLK_UP, 0},      {SDL_KEYDOWN, SDLK_UP, 0},
    {SDL_KEYDOWN, SDLK_RETURN, 0}, {SDL_KEYDOWN, SDLK_k, 0},     {SDL_KEYDOWN, SDLK_DOWN, 0},
    {SDL_KEYDOWN, SDLK_DOWN, 0}, {SDL_KEYDOWN, SDLK_RETURN, 0},  {SDL_KEYDOWN, SDLK_UP, 0},
    {SDL_KEYDOWN, SDLK_RETURN, 0}, {SDL_KEYDOWN, SDLK_RETURN, 0},
};

// A seeded game through `passes` passes of the main loop, from a board stacked high beside a
// two-column well, with marked cells due to go: first left alone (the block falls by its timer,
// the clock and the countdown run, the cells explode and fall), then played at random (moves,
// turns, drops, the pointer), paused, its pause key changed while it shows, and on again; the
// result enters the table, a name is typed, and the menus follow, to the controls page, where the
// pause goes on another key, and into a new game, paused and on again, whose first block ends it
// on the plain game-over screen, and its wait leads to the table.
// Returns the picture shown after each pass and, in `drawn`, how many passes drew one.
// `everyPass`: each pass draws, as if nothing were ever kept.
std::vector<uint64_t> playSeeded(unsigned seed, int passes, bool everyPass, int &drawn)
{
    for (SDL_Event stale; SDL_PollEvent(&stale) == 1;) {
    }
    for (int key : {SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE, SDLK_ESCAPE})
        keyTable()[key] = 0;
    std::remove(game.highScorePath.c_str());  // the table of the run before stays out of this one
    setDefaultHighScores();
    game.highScores.rows[HighScoreRows - 1].score = 5;
    setDefaultControls(game.controls);
    game.menuSelection = NoSelection;
    std::srand(seed);
    newGame();
    game.Screen = GameScreen;
    game.MenuPage = NoPage;
    Round &r = game.round;
    for (int c = 0; c < BoardColumns; c++)
        for (int row = 3; row < BoardRows && (c < 9 || c > 10); row++)
            r.board[c][row] = (c / 2 + row / 2) % 2;
    for (int c : {2, 3})
        for (int row : {3, 4})
            r.board[c][row] = MarkedOffset;
    r.explodeCountdown = 90;
    std::mt19937 random(seed);
    std::vector<uint64_t> shown;
    drawn = 0;
    int typed = 0, inMenus = 0, secondGame = 0;
    size_t step = 0;
    for (int pass = 0; pass < passes; pass++) {
        int roll = static_cast<int>(random() % 100);
        bool playing = game.Screen == GameScreen && pass >= 150 && step == 0;
        keyTable()[SDLK_LEFT] = playing && roll < 10;
        keyTable()[SDLK_RIGHT] = playing && roll >= 90;
        keyTable()[SDLK_SPACE] = playing && roll % 3 == 0;
        if (playing && roll % 13 == 0)
            pushEvent(SDL_KEYDOWN, roll % 2 ? SDLK_UP : SDLK_DOWN);
        if (playing && roll % 11 == 0)
            pushEvent(SDL_MOUSEMOTION, 300 + roll, 100 + 2 * roll);
        if (pass == 170 || pass == 190)  // paused, and on again
            pushEvent(SDL_KEYDOWN, game.controls.keys[Pause]);
        if (pass == 180)  // another key goes on, while the caption shows
            game.controls.keys[Pause] = SDLK_o;
        if (game.Screen == GameOverScreen && roll % 15 == 0)
            pushEvent(SDL_KEYUP, ++typed < 5 ? 'a' + typed : SDLK_RETURN);
        if (game.Screen == IntroScreen && ++inMenus % 4 == 0 && step < std::size(MenuSteps)) {
            pushEvent(MenuSteps[step].type, MenuSteps[step].a, MenuSteps[step].b);
            step++;
        }
        if (step == std::size(MenuSteps) && game.Screen == GameScreen && ++secondGame % 8 == 1)
            pushEvent(SDL_KEYDOWN, SDLK_k);
        if (secondGame == 9)  // the first block, still in the top row, lands
            game.round.board[9][2] = game.round.board[10][2] = 1;
        if (everyPass)
            forgetPicture();
        game.nextFrameDue = SDL_GetTicks();  // no sleep: the pass is due
        runPass();
        drawn += !game.keepPicture;
        shown.push_back(shownPicture());
    }
    return shown;
}

// Whatever a pass keeps on the screen is what it would have drawn: the same seeded game, once
// drawn in every pass and once keeping the pictures that did not change, shows the same picture
// after every pass.
TEST(Pictures, AKeptPictureIsAlwaysTheOneThatWouldBeDrawn)
{
    startUpWith();
    const int passes = 620;
    int drawnAlways = 0, drawnWhenChanged = 0;
    std::vector<uint64_t> always = playSeeded(11, passes, true, drawnAlways);
    std::vector<uint64_t> whenChanged = playSeeded(11, passes, false, drawnWhenChanged);
    EXPECT_EQ(drawnAlways, passes);
    EXPECT_LT(drawnWhenChanged, passes / 2);  // most passes keep their picture
    std::set<uint64_t> distinct(always.begin(), always.end());
    EXPECT_GT(distinct.size(), 60u);  // the pictures read back are the game's, not a blank
    // The game ended, the result entered the table under its name, the pause went on K, and the
    // second game ended at the table.
    EXPECT_EQ(game.highScores.rows[HighScoreRows - 1].name, "bcde");
    EXPECT_EQ(game.controls.keys[Pause], SDLK_k);
    EXPECT_EQ(game.Screen, IntroScreen);
    EXPECT_EQ(game.MenuPage, HighScorePage);
    for (int pass = 0; pass < passes; pass++)
        ASSERT_EQ(always[pass], whenChanged[pass]) << "pass " << pass;
}

}  // namespace
