// player_test.cpp: the built game driven through the menus by real X pointer and key input (xdotool).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "screen_helpers.h"
#include "support.h"

namespace {

// The game's window, whose picture the tests read: wherever the library puts it on the screen
// (the classic SDL 1.2 at the top-left corner, SDL 2's stand-in in the middle), the box is read
// from the window's own picture. Waits up to five seconds for the box to light up, or to go dark.
unsigned long gameWindow = 0;

bool waitUntilLit(const PlaceBox &box, bool lit = true)
{
    return ::waitUntilLit(gameWindow, box.x, box.y, box.w, box.h, lit);
}

// The built game started from a fresh folder, with its first picture up.
struct Player : ::testing::Test {
    std::string dir = makeTempDir();
    pid_t pid = -1;
    std::string window;
    void SetUp() override
    {
        copyMedia(dir);
        pid = startGameIn(dir);
        gameWindow = findWindowOf(pid, 15000);
        window = std::to_string(gameWindow);
        ASSERT_NE(window, "0");
        ASSERT_TRUE(waitForPicture(10000));
    }
    // Points at the middle of the box and waits for it to light up.
    bool pointAt(const PlaceBox &box)
    {
        return xdotool("mousemove --window " + window + " " + std::to_string(box.x + box.w / 2) + " " +
                       std::to_string(box.y + box.h / 2)) &&
               waitUntilLit(box);
    }
    // Escape held for a moment, as a player presses it: the screens read it from the held keys.
    bool pressEscape() { return xdotool("windowfocus --sync " + window + " keydown Escape sleep 0.1 keyup Escape"); }
};

TEST_F(Player, ThePointerLightsItemsAndTheOptionsAreKept)
{
    ASSERT_TRUE(pointAt(centredBox("options", 130))) << "the item under the pointer lights up";
    PlaceBox newGame = centredBox("new game", 70);
    EXPECT_LT(pixelsIn(gameWindow, newGame.x, newGame.y, newGame.w, newGame.h, true), 30);
    ASSERT_TRUE(xdotool("click 1"));
    ASSERT_TRUE(pointAt(valueBox("music: ", "on", 170)));
    ASSERT_TRUE(xdotool("click 1"));
    ASSERT_TRUE(pointAt(centredBox("back", 370)));
    ASSERT_TRUE(xdotool("click 1"));
    EXPECT_TRUE(waitUntil([&] { return !readFile(dir + "opt.dat").empty(); }, 5000));
    EXPECT_EQ(readFile(dir + "opt.dat"), "0\n1\n0\n");

    ASSERT_TRUE(waitUntilLit(centredBox("back", 370), false));
    ASSERT_TRUE(pressEscape());
    EXPECT_EQ(waitForExit(pid, 10000), 0);
}

TEST_F(Player, ANewGameIsLeftWithEscapeForTheMenuAndExitQuits)
{
    PlaceBox newGame = centredBox("new game", 70);
    ASSERT_TRUE(pointAt(newGame));
    ASSERT_TRUE(xdotool("click 1"));
    EXPECT_TRUE(waitUntilLit(newGame, false)) << "the game did not start";
    ASSERT_TRUE(pressEscape());
    EXPECT_TRUE(waitUntilLit(newGame)) << "Escape did not lead back to the menu";
    // The menu answering the pointer after that Escape, the Escape did not quit it.
    ASSERT_TRUE(pointAt(centredBox("exit", 310))) << "the Escape that left the game also quit";
    ASSERT_TRUE(xdotool("click 1"));
    EXPECT_EQ(waitForExit(pid, 10000), 0);
}

}  // namespace
