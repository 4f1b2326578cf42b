// player_test.cpp: the built game driven through the menus by real X pointer and key input (xdotool).
#include <gtest/gtest.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "app/state.h"
#include "gameprocess.h"
#include "helpers.h"
#include "text/font.h"
#include "text/text.h"

namespace {

struct Box {
    int x, y, w, h;
};

// Where the game places a menu text of the large font at `y`: centred on x = 400, or after a label at x = 220.
Box textBox(const std::string &text, int y, const std::string &label = "")
{
    BitmapFont &font = game.largeFont;
    if (font.glyphCount == 0) {
        game.programDir = std::string(TAVIREL_SOURCE_DIR) + "/";
        loadFont(font, "media/", "bobcat36.txt", 16);
        font.sprite.height = 36;  // the height of bobcat36.png
    }
    font.scaleX = font.scaleY = 1.0f;
    int w = measureText(font, text);
    int x = label.empty() ? 400 - w / 2 : 220 + measureText(font, label);
    return {x, y, w, 36};
}

// The number of pixels drawn in the menu items' hover yellow inside a box of the screen.
int yellowPixels(const Box &box)
{
    static Display *display = XOpenDisplay(nullptr);
    XImage *image = XGetImage(display, DefaultRootWindow(display), box.x, box.y, box.w, box.h, AllPlanes, ZPixmap);
    if (!image)
        return -1;
    int count = 0;
    for (int y = 0; y < box.h; y++)
        for (int x = 0; x < box.w; x++) {
            unsigned long p = XGetPixel(image, x, y);
            count += ((p >> 16) & 255) > 200 && ((p >> 8) & 255) > 200 && (p & 255) < 80;
        }
    XDestroyImage(image);
    return count;
}

// Waits up to five seconds for the box to show (or stop showing) the hover yellow.
bool waitForYellow(const Box &box, bool lit)
{
    for (int waited = 0; waited < 5000; waited += 20) {
        if ((yellowPixels(box) > 30) == lit)
            return true;
        usleep(20000);
    }
    return false;
}

bool xdotool(const std::string &arguments)
{
    return std::system(("xdotool " + arguments).c_str()) == 0;
}

// Moves the pointer to the middle of the box, inside the window.
bool pointAt(unsigned long window, const Box &box)
{
    return xdotool("mousemove --window " + std::to_string(window) + " " + std::to_string(box.x + box.w / 2) + " " +
                   std::to_string(box.y + box.h / 2));
}

// Escape held for a moment, as a player presses it: the screens read it from the held keys.
bool pressEscape(unsigned long window)
{
    return xdotool("windowfocus --sync " + std::to_string(window) + " keydown Escape") &&
           usleep(100000) == 0 && xdotool("keyup Escape");
}

// The built game started from a fresh folder, with its first picture up.
struct Player : ::testing::Test {
    std::string dir = makeTempDir();
    pid_t pid = -1;
    unsigned long window = 0;
    void SetUp() override
    {
        copyMedia(dir);
        pid = startGameIn(dir);
        window = findWindowOf(pid, 15000);
        ASSERT_NE(window, 0ul);
        ASSERT_TRUE(waitForPicture(10000));
    }
    bool stillRunning()
    {
        int status;
        return waitpid(pid, &status, WNOHANG) == 0;
    }
};

TEST_F(Player, ThePointerLightsItemsAndTheOptionsAreKept)
{
    Box newGame = textBox("new game", 70), options = textBox("options", 130);
    ASSERT_TRUE(pointAt(window, options));
    EXPECT_TRUE(waitForYellow(options, true)) << "the item under the pointer lights up";
    EXPECT_EQ(yellowPixels(newGame), 0);

    // Music switched off, then back: the file holds the three switches.
    ASSERT_TRUE(xdotool("click 1"));
    Box music = textBox("on", 170, "music: ");
    ASSERT_TRUE(pointAt(window, music));
    ASSERT_TRUE(waitForYellow(music, true));
    ASSERT_TRUE(xdotool("click 1"));
    Box back = textBox("back", 370);
    ASSERT_TRUE(pointAt(window, back));
    ASSERT_TRUE(waitForYellow(back, true));
    ASSERT_TRUE(xdotool("click 1"));
    for (int waited = 0; waited < 5000 && readFile(dir + "opt.dat").empty(); waited += 20)
        usleep(20000);
    EXPECT_EQ(readFile(dir + "opt.dat"), "0\n1\n0\n");

    // Back on the main page, Escape quits.
    ASSERT_TRUE(waitForYellow(options, false));
    ASSERT_TRUE(pressEscape(window));
    EXPECT_EQ(waitForExit(pid, 10000), 0);
}

TEST_F(Player, ANewGameIsLeftWithEscapeForTheMenu)
{
    Box newGame = textBox("new game", 70);
    ASSERT_TRUE(pointAt(window, newGame));
    ASSERT_TRUE(waitForYellow(newGame, true));
    ASSERT_TRUE(xdotool("click 1"));
    EXPECT_TRUE(waitForYellow(newGame, false)) << "the game did not start";
    ASSERT_TRUE(pressEscape(window));
    EXPECT_TRUE(waitForYellow(newGame, true)) << "Escape did not lead back to the menu";
    usleep(300000);
    EXPECT_TRUE(stillRunning()) << "the Escape that left the game also quit";

    ASSERT_TRUE(pressEscape(window));
    EXPECT_EQ(waitForExit(pid, 10000), 0);
}

}  // namespace
