// startup_test.cpp: the built game started from a folder of its own, as a player starts it.
#include <gtest/gtest.h>
#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "support.h"

namespace {

TEST(StartUp, OpensItsWindowLogsAndEndsWithStatusZeroWhenClosed)
{
    std::string dir = makeTempDir();
    copyMedia(dir);
    pid_t pid = startGameIn(dir);
    unsigned long window = waitForGame(pid);
    ASSERT_NE(window, 0ul) << "no window or no picture";
    EXPECT_EQ(windowName(window), "Tavirel");
    int width = 0, height = 0;
    windowSize(window, width, height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);

    closeWindow(window);
    EXPECT_EQ(waitForExit(pid, 10000), 0);
    std::string log = readFile(dir + "log.txt");
    EXPECT_TRUE(startsWith(log, WindowLog)) << log;
    // Start-up reads the two files but writes neither.
    EXPECT_FALSE(fileExists(dir + "opt.dat"));
    EXPECT_FALSE(fileExists(dir + "dex.dll"));
}

TEST(StartUp, InstalledGameLoadsAllItsMediaFromBesideItself)
{
    std::string prefix = makeTempDir() + "tavirel";
    std::string install = std::string("cmake --install '") + TAVIREL_BUILD_DIR + "' --prefix '" + prefix + "' >/dev/null";
    ASSERT_EQ(std::system(install.c_str()), 0);
    pid_t pid = startGame(prefix + "/tavirel", prefix + "/tavirel");
    ASSERT_NE(waitForGame(pid), 0ul);
    kill(pid, SIGTERM);
    EXPECT_EQ(waitForExit(pid, 10000), 0);
    EXPECT_EQ(readFile(prefix + "/log.txt"), startUpLog());
}

TEST(StartUp, AGameKilledAfterStartUpLeavesItsWholeLog)
{
    std::string dir = makeTempDir();
    copyMedia(dir);
    pid_t pid = startGameIn(dir);
    ASSERT_NE(waitForGame(pid), 0ul);
    kill(pid, SIGKILL);
    EXPECT_EQ(waitForExit(pid, 10000), 128 + SIGKILL);
    EXPECT_EQ(readFile(dir + "log.txt"), startUpLog());
}

TEST(StartUp, StartedThroughPathFromAnotherFolderItUsesTheFilesBesideItself)
{
    std::string dir = makeTempDir(), elsewhere = makeTempDir();
    copyMedia(dir);
    pid_t pid = startGameThroughPath(dir, elsewhere);
    ASSERT_NE(waitForGame(pid), 0ul);
    kill(pid, SIGTERM);
    EXPECT_EQ(waitForExit(pid, 10000), 0);
    EXPECT_EQ(readFile(dir + "log.txt"), startUpLog());
    EXPECT_FALSE(fileExists(elsewhere + "log.txt"));
}

TEST(StartUp, EscapeOnTheTitleScreenQuits)
{
    std::string dir = makeTempDir();
    copyMedia(dir);
    pid_t pid = startGameIn(dir);
    ASSERT_NE(waitForGame(pid), 0ul);
    // Held as a player holds a key: the title screen reads the held-key table once a frame,
    // and on a loaded machine a frame may be a while coming.
    ASSERT_TRUE(onWindow("Tavirel", "windowfocus --sync keydown Escape"));
    EXPECT_EQ(waitForExit(pid, 10000), 0);
    xdotool("keyup Escape");
}

TEST(StartUp, SettingsFileCanAskForTheWholeScreen)
{
    std::string dir = makeTempDir();
    writeFile(dir + "opt.dat", "1\n0\n0\n");
    copyMedia(dir);
    pid_t pid = startGameIn(dir);
    ASSERT_NE(waitForGame(pid), 0ul);
    kill(pid, SIGTERM);
    EXPECT_EQ(waitForExit(pid, 10000), 0);
    EXPECT_TRUE(startsWith(readFile(dir + "log.txt"), WindowLog));
    EXPECT_EQ(readFile(dir + "opt.dat"), "1\n0\n0\n");
}

TEST(StartUp, DamagedFilesAndAMissingLogDoNotStopTheGame)
{
    std::string dir = makeTempDir();
    std::string junk;
    for (unsigned i = 0; i < 10u * 1024 * 1024; i++)
        junk += static_cast<char>((i * 7919u) >> 3);
    writeFile(dir + "opt.dat", junk);
    writeFile(dir + "dex.dll", junk);
    ASSERT_EQ(mkdir((dir + "log.txt").c_str(), 0755), 0);  // the log cannot be created

    copyMedia(dir);
    pid_t pid = startGameIn(dir);
    unsigned long window = waitForGame(pid);
    ASSERT_NE(window, 0ul);
    int width = 0, height = 0;
    windowSize(window, width, height);
    EXPECT_EQ(width, 800);  // the damaged settings leave the game windowed
    closeWindow(window);
    EXPECT_EQ(waitForExit(pid, 10000), 0);
    EXPECT_EQ(readFile(dir + "dex.dll"), junk);  // never touched at start-up
}

// Files that are not what they seem, put where the game keeps its own: a FIFO nobody writes, a
// link to an endless device, a huge sparse file. The game reads none of them for long.
TEST(StartUp, FifosDevicesAndHugeFilesInPlaceOfItsFilesDoNotHoldItUp)
{
    struct Case {
        const char *what;
        std::function<void(const std::string &path)> plant;
    } cases[] = {
        {"FIFOs", [](const std::string &path) { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); }},
        {"links to /dev/zero", [](const std::string &path) { ASSERT_EQ(symlink("/dev/zero", path.c_str()), 0); }},
        {"sparse files of 4 GB", [](const std::string &path) {
             writeFile(path, "");
             ASSERT_EQ(truncate(path.c_str(), 4l << 30), 0);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::string dir = makeTempDir();
        copyMedia(dir);
        for (const char *name : {"opt.dat", "dex.dll", "controls.dat", "log.txt"})
            c.plant(dir + name);
        pid_t pid = startGameIn(dir);
        unsigned long window = waitForGame(pid);
        EXPECT_NE(window, 0ul) << "no picture: start-up was held up";
        kill(pid, SIGTERM);
        EXPECT_EQ(waitForExit(pid, 10000), 0);
    }
}

TEST(StartUp, AnUnwritableProgramFolderDoesNotStopTheGame)
{
    // Nothing can be created in /proc, not even by root: no log, no settings, no media.
    pid_t pid = startGame("/proc/tavirel", TAVIREL_EXE);
    unsigned long window = findWindowOf(pid, 15000);
    ASSERT_NE(window, 0ul);
    EXPECT_EQ(windowName(window), "Tavirel");
    closeWindow(window);
    EXPECT_EQ(waitForExit(pid, 10000), 0);
}

}  // namespace

namespace {

// The output of a shell command.
std::string outputOf(const std::string &command)
{
    std::string text;
    FILE *pipe = popen(command.c_str(), "r");
    char buffer[256];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe))
        text += buffer;
    if (pipe)
        pclose(pipe);
    return text;
}

// Where no OpenGL window can be made, whatever SDL's video driver: the game ends at once with
// status 1, one sentence on stderr saying where the log is, and the log kept with SDL's reason.
TEST(NoWindow, TheGameSaysSoAndEndsWhateverTheDriver)
{
    XServer noGlx = startXServer("-extension GLX -screen 0 1024x768x24");
    ASSERT_FALSE(noGlx.display.empty());
    struct Case {
        const char *what;
        std::vector<std::string> environment;
        bool logWritable;
    } cases[] = {
        {"an X server without GLX", {"DISPLAY=" + noGlx.display}, true},
        {"SDL's dummy video driver", {"SDL_VIDEODRIVER=dummy"}, true},
        {"no X server to be reached", {"DISPLAY=:9999", "TERM=dumb"}, true},
        {"SDL's dummy video driver, no log", {"SDL_VIDEODRIVER=dummy"}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::string dir = makeTempDir();
        copyMedia(dir);
        writeFile(dir + "opt.dat", "1 0 0\n");  // fullscreen: tried windowed as well
        if (!c.logWritable) {
            ASSERT_EQ(mkdir((dir + "log.txt").c_str(), 0755), 0);
        }
        std::vector<std::string> environment = c.environment;
        environment.push_back("SDL_AUDIODRIVER=dummy");
        pid_t pid = startGameWith(dir, environment);
        EXPECT_EQ(waitForExit(pid, 30000), 1);
        std::string log = readFile(dir + "log.txt");
        // The game's sentence comes last; a library may have had its say before it.
        std::string said = readFile(dir + "stderr.txt");
        said = said.substr(said.rfind('\n', said.size() - 2) == std::string::npos ? 0 : said.rfind('\n', said.size() - 2) + 1);
        if (c.logWritable) {
            EXPECT_EQ(said, "Tavirel cannot start, as no OpenGL window could be made; the details are in its log, " +
                                dir + "log.txt\n");
            // Fullscreen is asked for at the desktop's size, whatever the driver says it is.
            std::string first = log.substr(0, log.find('\n') + 1);
            EXPECT_TRUE(startsWith(first, "Unable to set video ") && first.find(" fullscreen\n") != std::string::npos)
                << log;
            std::string windowed = "\nRetrying in a window\nUnable to set video 800 600\n";
            size_t reason = log.find(windowed);
            ASSERT_NE(reason, std::string::npos) << log;
            reason += windowed.size();
            EXPECT_GT(log.find('\n', reason), reason) << "SDL's reason on a line of its own:\n" << log;
            std::string last = "\nNo OpenGL window could be made: the game ends\n";
            EXPECT_EQ(log.substr(log.size() - last.size()), last);
        } else {
            EXPECT_EQ(said, "Tavirel cannot start, as no OpenGL window could be made; no log could be written to " +
                                dir + "log.txt\n");
        }
        EXPECT_EQ(readFile(dir + "opt.dat"), "1 0 0\n");  // the setting is left as the player saved it
    }
    stopXServer(noGlx);
}

// A desktop smaller than the game's screen, with fullscreen saved: the player sees the game
// (fullscreen at the desktop's size, or a window where that cannot be had, as the window test
// tries), and nothing is said on stderr.
TEST(NoWindow, ASmallDesktopWithFullscreenSavedShowsTheGame)
{
    XServer small = startXServer("-screen 0 640x480x24");
    ASSERT_FALSE(small.display.empty());
    std::string dir = makeTempDir();
    copyMedia(dir);
    writeFile(dir + "opt.dat", "1\n0\n0\n");
    pid_t pid = startGameWith(dir, {"DISPLAY=" + small.display, "SDL_AUDIODRIVER=dummy"});
    std::string geometry = outputOf("DISPLAY=" + small.display +
                                    " timeout 20 xdotool search --sync --onlyvisible --name '^Tavirel$' "
                                    "getwindowgeometry 2>/dev/null");
    EXPECT_NE(geometry.find("Geometry: "), std::string::npos) << "no window shown";
    kill(pid, SIGTERM);
    EXPECT_EQ(waitForExit(pid, 10000), 0);
    EXPECT_NE(readFile(dir + "log.txt").find("Video initialize OK\n"), std::string::npos);
    EXPECT_EQ(readFile(dir + "stderr.txt"), "");
    stopXServer(small);
}

// On a large desktop the window is the largest whole or half multiple of the screen that fits,
// at every start, also on an X server that resets when its last client leaves (one started for
// the game alone): SDL's first look at the display leaves it, and the server may hang up on the
// next connection while it resets.
TEST(NoWindow, ALargeDesktopGetsTheLargestWindowThatFitsAtEveryStart)
{
    XServer large = startXServer("-screen 0 2560x1440x24 -reset");
    ASSERT_FALSE(large.display.empty());
    std::string dir = makeTempDir();
    copyMedia(dir);
    for (int start = 0; start < 5; start++) {
        pid_t pid = startGameWith(dir, {"DISPLAY=" + large.display, "SDL_AUDIODRIVER=dummy"});
        // Asked only once the window is made, so that the asking keeps no client on the server.
        for (int waited = 0; waited < 10000; waited += 20) {
            std::string log = readFile(dir + "log.txt");
            if (log.find("SDL video initialize OK\n") != std::string::npos || log.find("No OpenGL") != std::string::npos)
                break;
            usleep(20000);
        }
        std::string geometry = outputOf("DISPLAY=" + large.display +
                                        " timeout 10 xdotool search --sync --onlyvisible --name '^Tavirel$' "
                                        "getwindowgeometry 2>/dev/null");
        EXPECT_NE(geometry.find("Geometry: 1600x1200"), std::string::npos) << "start " << start << ": " << geometry;
        kill(pid, SIGTERM);
        waitForExit(pid, 10000);
    }
    stopXServer(large);
}

}  // namespace
