// paths_test.cpp: the program folder taken from the executable's path, and the log.
#include <gtest/gtest.h>
#include <grp.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "base/paths.h"
#include "base/platform.h"
#include "base/state.h"
#include "support.h"

TEST(Paths, WindowsPathsSplitAtTheLastBackslashOnly)
{
    EXPECT_EQ(pathUpToLast("C:\\games\\x\\prog.exe", '\\'), "C:\\games\\x\\");
    EXPECT_EQ(pathUpToLast("prog.exe", '\\'), "");
    EXPECT_EQ(pathUpToLast("C:/games/x/prog.exe", '\\'), "");
    EXPECT_EQ(pathUpToLast("\\prog.exe", '\\'), "\\");
}

TEST(Paths, LinuxPathsSplitAtTheLastSlash)
{
    EXPECT_EQ(programDirOf("/opt/tavirel/tavirel"), "/opt/tavirel/");
    EXPECT_EQ(game.programDir, "/opt/tavirel/");
    EXPECT_EQ(programDirOf("./tavirel"), "./");
}

TEST(Paths, ABareNameGivesTheFolderOfTheRunningExecutable)
{
    // This test program lies in the build folder; the system knows it by its real path.
    char *real = realpath(TAVIREL_BUILD_DIR, nullptr);
    ASSERT_NE(real, nullptr);
    std::string buildDir = std::string(real) + "/";
    std::free(real);
    for (const char *bare : {"tavirel", "games\\tavirel", ""}) {
        EXPECT_EQ(programDirOf(bare), buildDir) << bare;
        EXPECT_EQ(game.programDir, buildDir);
    }
    // A link of that name in the working folder is another program: it does not count.
    std::string work = makeTempDir(), elsewhere = makeTempDir();
    writeFile(elsewhere + "tavirel", "");
    ASSERT_EQ(symlink((elsewhere + "tavirel").c_str(), (work + "tavirel").c_str()), 0);
    char *before = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(work.c_str()), 0);
    EXPECT_EQ(programDirOf("tavirel"), buildDir);
    EXPECT_EQ(programDirOf("./tavirel"), elsewhere);  // a path, though, is followed
    ASSERT_EQ(chdir(before), 0);
    std::free(before);
}

TEST(Paths, LogIsTruncatedAndWrittenBesideTheGame)
{
    std::string dir = makeTempDir();
    writeFile(dir + "log.txt", "an old run\n");
    programDirOf(dir + "tavirel");
    openLog();
    EXPECT_EQ(game.logPath, dir + "log.txt");
    EXPECT_EQ(readFile(dir + "log.txt"), "");
    game.logFile << "line " << 42 << "\n";
    game.logFile.close();
    EXPECT_EQ(readFile(dir + "log.txt"), "line 42\n");
}

TEST(Paths, ALogThatCannotBeCreatedSwallowsItsLines)
{
    std::string dir = makeTempDir();
    ASSERT_EQ(mkdir((dir + "log.txt").c_str(), 0755), 0);  // a folder where the log belongs
    programDirOf(dir + "tavirel");
    openLog();
    EXPECT_FALSE(game.logFile.is_open());
    game.logFile << "dropped\n";  // must be harmless
    EXPECT_TRUE(game.logFile.fail());
}

TEST(Paths, EachStartUpInOneProcessOpensItsOwnLogAfresh)
{
    std::string first = makeTempDir(), second = makeTempDir();
    programDirOf(first + "tavirel");
    openLog();
    game.logFile << "first start\n";
    programDirOf(second + "tavirel");
    openLog();
    game.logFile << "second start\n";
    game.logFile.flush();
    EXPECT_EQ(readFile(first + "log.txt"), "first start\n");
    EXPECT_EQ(readFile(second + "log.txt"), "second start\n");

    openLog();  // the same folder again: truncated
    game.logFile.flush();
    EXPECT_EQ(readFile(second + "log.txt"), "");
    EXPECT_TRUE(game.logFile.good());
}

TEST(Paths, ACommandLinkedToTheGameFindsTheFilesBesideTheGame)
{
    std::string dir = makeTempDir();
    ASSERT_EQ(mkdir((dir + "lib").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((dir + "bin").c_str(), 0755), 0);
    writeFile(dir + "lib/tavirel", "");
    ASSERT_EQ(symlink("../lib/tavirel", (dir + "bin/tavirel").c_str()), 0);
    EXPECT_EQ(programDirOf(dir + "bin/tavirel"), dir + "lib/");
    EXPECT_EQ(programDirOf(dir + "lib/tavirel"), dir + "lib/");
}

// A player who may not write the game's folder keeps settings, scores and the log in their own
// folder, starting from what lay beside the game; one who may write it keeps them there.
TEST(Paths, KeptFilesGoWhereThePlayerMayWrite)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to stand in for a player";
    const uid_t player = PlayerUid;
    struct Case {
        const char *what;
        uid_t gameFolderOwner;
        const char *ownSettings;  // the player's own opt.dat before the start, or null
        bool ownFolder;           // kept files in the player's folder
        const char *settingsRead;
    } cases[] = {
        {"shared game folder, first start", 0, nullptr, true, "1 0 0"},
        {"shared game folder, the player's own settings", 0, "0 1 1", true, "0 1 1"},
        {"the player's game folder", player, nullptr, false, "1 0 0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::string gameDir = makeTempDir(), home = makeTempDir();
        for (const std::string &folder : {gameDir, home}) {
            ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
        }
        ASSERT_EQ(chown(gameDir.c_str(), c.gameFolderOwner, c.gameFolderOwner), 0);
        ASSERT_EQ(chown(home.c_str(), player, player), 0);
        writeFile(gameDir + "opt.dat", "1 0 0");
        writeFile(gameDir + "dex.dll", "ana 2 30 400\n");
        std::string own = home + "data/tavirel/";
        if (c.ownSettings) {
            ASSERT_EQ(mkdir((home + "data").c_str(), 0755), 0);
            ASSERT_EQ(mkdir(own.c_str(), 0755), 0);
            writeFile(own + "opt.dat", c.ownSettings);
            ASSERT_EQ(chown((home + "data").c_str(), player, player), 0);
            ASSERT_EQ(chown(own.c_str(), player, player), 0);
        }
        ASSERT_TRUE(asPlayer([&] {
            setenv("XDG_DATA_HOME", (home + "data").c_str(), 1);
            programDirOf(gameDir + "tavirel");
            chooseDataDir();
            openLog();
            game.logFile << "kept\n";
            return game.dataDir == (c.ownFolder ? own : gameDir);
        }));
        std::string kept = c.ownFolder ? own : gameDir;
        EXPECT_EQ(readFile(kept + "opt.dat"), c.settingsRead);
        EXPECT_EQ(readFile(kept + "dex.dll"), "ana 2 30 400\n");
        // Where the files are not beside the game, the log says where they are.
        EXPECT_EQ(readFile(kept + "log.txt"),
                  (c.ownFolder ? "Settings, scores and this log are kept in " + own + "\n" : "") + "kept\n");
        EXPECT_EQ(readFile(gameDir + "opt.dat"), "1 0 0");  // the game's folder is never changed
        struct stat made;
        if (c.ownFolder && !c.ownSettings)
            for (const std::string &folder : {home + "data", own}) {
                ASSERT_EQ(stat(folder.c_str(), &made), 0);
                EXPECT_EQ(made.st_mode & 0777, 0700u) << folder;  // made private to the player
            }
    }
}

// Where neither the game's folder nor one of the player's own can be written, the log (if there
// is one) says that nothing new can be kept.
TEST(Paths, TheLogSaysWhenNothingNewCanBeKept)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to stand in for a player";
    std::string gameDir = makeTempDir();
    writeFile(gameDir + "log.txt", "");
    ASSERT_EQ(chown((gameDir + "log.txt").c_str(), PlayerUid, PlayerUid), 0);
    ASSERT_EQ(chmod(gameDir.c_str(), 0755), 0);
    ASSERT_TRUE(asPlayer([&] {
        setenv("XDG_DATA_HOME", "/proc/nowhere", 1);
        setenv("HOME", "/proc", 1);
        programDirOf(gameDir + "tavirel");
        chooseDataDir();
        openLog();
        return game.dataDir == gameDir;
    }));
    EXPECT_EQ(readFile(gameDir + "log.txt"), "No folder to keep new files in: " + gameDir +
                                                 " cannot be written, and no folder of the player's own can be made\n");
}

// Without a usable $XDG_DATA_HOME or $HOME, the player's home folder comes from the system's
// record of the player. Run in a mount namespace of its own, where that folder (root's, as the
// test runs as root) is a fresh temporary one.
TEST(Paths, WithoutAUsableHomeTheRecordedHomeFolderIsUsed)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to stand in a folder for its home";
    const struct passwd *root = getpwuid(0);
    ASSERT_NE(root, nullptr);
    std::string recorded = root->pw_dir;
    std::string aFile = makeTempDir() + "file", aHome = makeTempDir(), aHomeName = aHome.substr(0, aHome.size() - 1);
    writeFile(aFile, "");
    struct Case {
        const char *what;
        const char *xdgDataHome;  // null: unset
        const char *home;
        std::string kept;         // below the folder that stands in for the recorded home
    } cases[] = {
        {"neither set", nullptr, nullptr, "/.local/share/tavirel/"},
        {"$XDG_DATA_HOME naming a file, no $HOME", aFile.c_str(), nullptr, "/.local/share/tavirel/"},
        {"both naming files", aFile.c_str(), aFile.c_str(), "/.local/share/tavirel/"},
        {"relative folders", "data", "home", "/.local/share/tavirel/"},
        {"$XDG_DATA_HOME naming a file, a usable $HOME", aFile.c_str(), aHomeName.c_str(), ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::string standIn = makeTempDir();
        pid_t pid = fork();
        if (pid == 0) {
            if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                mount(standIn.c_str(), recorded.c_str(), nullptr, MS_BIND, nullptr) != 0)
                _exit(77);
            c.xdgDataHome ? setenv("XDG_DATA_HOME", c.xdgDataHome, 1) : unsetenv("XDG_DATA_HOME");
            c.home ? setenv("HOME", c.home, 1) : unsetenv("HOME");
            std::string want = c.kept.empty() ? aHome + ".local/share/tavirel/" : recorded + c.kept;
            _exit(userDataFolder() == want ? 0 : 1);
        }
        int status = -1;
        waitpid(pid, &status, 0);
        if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
            GTEST_SKIP() << "no mount namespace to be had here";
        EXPECT_EQ(status, 0);
        std::string made = c.kept.empty() ? aHome + ".local/share/tavirel" : standIn + ".local/share/tavirel";
        struct stat info;
        ASSERT_EQ(stat(made.c_str(), &info), 0) << made;
        EXPECT_EQ(info.st_mode & 0777, 0700u);
    }
}
