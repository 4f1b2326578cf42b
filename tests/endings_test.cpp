// endings_test.cpp: the built game ended from outside, as a player's desktop and terminal end it:
// its window destroyed or its X connection cut, the terminal hung up, SIGQUIT, a broken pipe, the
// clock set back, and no display at all.
#include <gtest/gtest.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "support.h"

namespace {

// A fresh folder with the media and a table that the game's 0 points beat in every row.
std::string folderForAGreatScore()
{
    std::string dir = makeTempDir();
    copyMedia(dir);
    std::string table;
    for (int i = 0; i < 10; i++)
        table += "old" + std::to_string(i) + " 1 1 -1\n";
    writeFile(dir + "dex.dll", table);
    return dir;
}

struct Ending {
    const char *what;
    std::function<void(pid_t pid, unsigned long window)> end;
    std::vector<std::string> logged;  // what the log may say last, one of them; none: it was closed as usual
};

// In each case the game is in name entry with "ann" typed when it is ended from outside: it ends
// with status 0, as a close ends it, the result kept under the name typed so far and the log
// saying why. Run with either SDL 1.2 library.
void endDuringNameEntry(const Ending &c)
{
    SCOPED_TRACE(c.what);
    std::string dir = folderForAGreatScore();
    pid_t pid = startGameIn(dir);
    unsigned long window = waitForGame(pid);
    ASSERT_NE(window, 0ul);
    ASSERT_TRUE(playToNameEntry(window, "ann"));
    c.end(pid, window);
    EXPECT_EQ(waitForExit(pid, 10000), 0);
    std::string table = readFile(dir + "dex.dll");
    std::string first = table.substr(0, table.find('\n') + 1);
    EXPECT_EQ(first.substr(0, 6), "ann 1 ") << table;
    EXPECT_EQ(first.substr(first.size() - 3), " 0\n") << table;
    EXPECT_EQ(table.substr(table.find('\n') + 1, 12), "old0 1 1 -1\n");
    std::string log = readFile(dir + "log.txt"), said = log.substr(std::min(log.size(), startUpLog().size()));
    bool told = false;
    for (const std::string &line : c.logged)
        told = told || said == line;
    EXPECT_TRUE(c.logged.empty() ? said.empty() : told) << said;
}

TEST(Endings, TheWindowDestroyedOrItsConnectionCutEndsTheGameAsAClose)
{
    Ending cases[] = {
        // The classic library hears of nothing and would run on without a window; SDL 2's stand-in
        // is refused its next request on it.
        {"the window destroyed", [](pid_t, unsigned long w) { destroyWindow(w); },
         {"The game ends, as its window was destroyed\n",
          "The game ends, as the X server refused a request on its window\n"
          "BadWindow (invalid Window parameter) (request 131.55)\n"}},
        // Xlib itself would end the process at once, with status 1.
        {"the client killed, as xkill does", [](pid_t, unsigned long w) { killClientOf(w); },
         {"The game ends, as its connection to the X server was lost\n"}},
    };
    for (const Ending &c : cases)
        endDuringNameEntry(c);
}

TEST(Endings, AHangUpOrQuitEndsTheGameAsAClose_ABrokenPipeNever)
{
    Ending cases[] = {
        {"the terminal hung up", [](pid_t pid, unsigned long) { kill(pid, SIGHUP); },
         {"The game ends, as the terminal it was started from hung up (SIGHUP)\n"}},
        {"SIGQUIT", [](pid_t pid, unsigned long) { kill(pid, SIGQUIT); },
         {"The game ends, as it was told to quit (SIGQUIT)\n"}},
        // A signal whose action ends a process ends it as it is sent (the kernel starts the exit
        // then): a game that the close then ends with status 0, saying nothing, ignored the pipe.
        {"a broken pipe, then a close",
         [](pid_t pid, unsigned long w) {
             kill(pid, SIGPIPE);
             closeWindow(w);
         },
         {}},
    };
    for (const Ending &c : cases)
        endDuringNameEntry(c);
}

// Started as nohup starts it, with the hang-up ignored, the game rides out the terminal's end and
// stops only when it is closed.
TEST(Endings, AGameStartedUnderNohupOutlivesTheHangUp)
{
    std::string dir = makeTempDir();
    copyMedia(dir);
    struct sigaction ignore = {}, was;
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGHUP, &ignore, &was);
    pid_t pid = startGameWith(dir, {});
    sigaction(SIGHUP, &was, nullptr);
    unsigned long window = waitForGame(pid);
    ASSERT_NE(window, 0ul);
    kill(pid, SIGHUP);
    usleep(500000);
    int status;
    EXPECT_EQ(waitpid(pid, &status, WNOHANG), 0);  // still running
    closeWindow(window);
    EXPECT_EQ(waitForExit(pid, 10000), 0);
    EXPECT_EQ(readFile(dir + "log.txt").find("hung up"), std::string::npos);
}

// Where Debian's libfaketime lies, to be preloaded into the game; empty if it is not installed.
std::string faketimeLibrary()
{
    FILE *found = popen("dpkg -L libfaketime 2>/dev/null | grep '/libfaketime\\.so\\.1$'", "r");
    char path[512] = "";
    if (found && !std::fgets(path, sizeof path, found))
        path[0] = 0;
    if (found)
        pclose(found);
    return std::string(path).substr(0, std::string(path).find('\n'));
}

// The wall clock set back an hour while the game shows its menu, as a time service or a person
// may set it: the game goes on at its pace, its menu answering the pointer, and answers a close,
// or SIGTERM, within a second.
TEST(Endings, TheClockSetBackAnHourHoldsNothingUp)
{
    std::string library = faketimeLibrary();
    ASSERT_FALSE(library.empty()) << "libfaketime is missing (tools/deps.sh --test installs it)";
    for (bool byClose : {true, false}) {
        SCOPED_TRACE(byClose ? "closed" : "SIGTERM");
        std::string dir = makeTempDir();
        copyMedia(dir);
        std::string clock = dir + "clock";
        writeFile(clock, "+0\n");
        // A game built with AddressSanitizer would refuse a library loaded before its own.
        const char *sanitizer = std::getenv("ASAN_OPTIONS");
        std::string asan = std::string(sanitizer ? sanitizer : "") + ":verify_asan_link_order=0";
        pid_t pid = startGameWith(dir, {"LD_PRELOAD=" + library, "FAKETIME_TIMESTAMP_FILE=" + clock,
                                        "FAKETIME_NO_CACHE=1", "FAKETIME", "ASAN_OPTIONS=" + asan});
        unsigned long window = waitForGame(pid);
        ASSERT_NE(window, 0ul);
        // Whole at once, as the game reads it again at every look at the clock.
        writeFile(clock + ".new", "-3600\n");
        ASSERT_EQ(std::rename((clock + ".new").c_str(), clock.c_str()), 0);
        // Passes at the clock set back: "new game" lights under the pointer, and goes dark again.
        std::string w = std::to_string(window);
        ASSERT_TRUE(xdotool("mousemove --window " + w + " 400 88"));
        EXPECT_TRUE(waitUntilLit(window, 300, 70, 200, 36));
        ASSERT_TRUE(xdotool("mousemove --window " + w + " 10 10"));
        EXPECT_TRUE(waitUntilLit(window, 300, 70, 200, 36, false));
        if (byClose)
            closeWindow(window);
        else
            kill(pid, SIGTERM);
        EXPECT_EQ(waitForExit(pid, 1000), 0);
    }
}

// Started from a terminal with no display to show its window on (`script` gives it one of its
// own), the game says so in one sentence and ends, leaving the terminal as it was: no text-mode
// video driver takes it over.
TEST(Endings, WithoutADisplayTheTerminalIsLeftAlone)
{
    std::string dir = makeTempDir();
    copyMedia(dir);
    std::string command = "cp '" TAVIREL_EXE "' '" + dir + "' && timeout 30 script -qec \"env -u DISPLAY -u " +
                          "WAYLAND_DISPLAY TERM=xterm '" + dir + "tavirel'\" /dev/null </dev/null";
    FILE *terminal = popen(command.c_str(), "r");
    ASSERT_NE(terminal, nullptr);
    std::string written;
    for (int c; (c = std::fgetc(terminal)) != EOF;)
        written += static_cast<char>(c);
    int status = pclose(terminal);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_EQ(written.find('\x1b'), std::string::npos) << "control codes in the terminal: " << written;
    // The game's sentence comes last; a library may have had its say before it.
    std::string sentence = "Tavirel cannot start, as no OpenGL window could be made; the details are in its log, " +
                           dir + "log.txt\r\n";
    EXPECT_EQ(written.substr(written.size() < sentence.size() ? 0 : written.size() - sentence.size()), sentence);
}

}  // namespace
