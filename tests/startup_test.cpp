// startup_test.cpp: the built game started from a folder of its own, as a player starts it.
#include <gtest/gtest.h>
#include <csignal>
#include <cstdlib>
#include <sys/stat.h>

#include "support.h"

namespace {

bool startsWith(const std::string &text, const std::string &start)
{
    return text.compare(0, start.size(), start) == 0;
}

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
    ASSERT_EQ(std::system("xdotool search --name '^Tavirel$' windowfocus --sync keydown Escape"), 0);
    EXPECT_EQ(waitForExit(pid, 10000), 0);
    std::system("xdotool keyup Escape");
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
