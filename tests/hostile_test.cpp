// hostile_test.cpp: files that are not what they seem, links planted by others, and two games
// saving at once: what reading, saving and the log do with each.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "base/files.h"
#include "base/paths.h"
#include "base/state.h"
#include "support.h"

namespace {

// Runs `work` in a child process that is stopped after five seconds; its exit status, or 128 + the
// signal that ended it (SIGALRM: it waited or worked that long).
int inChild(const std::function<int()> &work)
{
    pid_t pid = fork();
    if (pid == 0) {
        alarm(5);
        _exit(work());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string logIn(const std::string &dir)
{
    game.programDir = dir;
    game.dataDir.clear();
    openLog();
    return dir + "log.txt";
}

// Each kind of file put where opt.dat and dex.dll (or their temporary files) belong. Reading
// must neither wait nor grow, and must give what a missing file gives; a save must not wait,
// must not write into anything but a regular file of the player's, and must say why it failed.
TEST(HostileFiles, ReadsAndSavesNeitherWaitNorGrowNorWriteThroughThem)
{
    struct Case {
        const char *what;
        std::function<void(const std::string &path)> plant;  // for opt.dat, then for dex.dll
        const char *suffix;       // what the plant replaces: "" the file itself, ".new" its temporary
        bool saved;               // the save reaches the file
        const char *saveError;    // what the log says otherwise
    } cases[] = {
        {"a FIFO", [](const std::string &p) { mkfifo(p.c_str(), 0644); }, "", false, "not a file"},
        {"a link to /dev/zero", [](const std::string &p) { symlink("/dev/zero", p.c_str()); }, "", false,
         "not a file"},
        {"a sparse file of 1 GB", [](const std::string &p) {
             writeFile(p, p.find("opt.dat") != std::string::npos ? "1 1 1\n" : "ann 1 2 3\n");
             truncate(p.c_str(), 1l << 30);
         }, "", true, ""},
        {"a FIFO as the temporary file", [](const std::string &p) { mkfifo(p.c_str(), 0644); }, ".new", true, ""},
        {"a stale temporary file", [](const std::string &p) { writeFile(p, "9 9 9\nbob 1 1 1\n"); }, ".new", true, ""},
        {"a temporary file that is another name of another file",
         [](const std::string &p) { link((p.substr(0, p.rfind('/')) + "/precious").c_str(), p.c_str()); }, ".new",
         true, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::string dir = makeTempDir();
        writeFile(dir + "precious", "precious\n");
        game.settingsPath = dir + "opt.dat";
        game.highScorePath = dir + "dex.dll";
        if (std::string(c.suffix) == ".new") {
            writeFile(game.settingsPath, "0 0 0\n");
            writeFile(game.highScorePath, "ann 1 2 3\n");
        }
        c.plant(game.settingsPath + c.suffix);
        c.plant(game.highScorePath + c.suffix);
        std::string log = logIn(makeTempDir());
        bool sparse = std::string(c.what).find("sparse") != std::string::npos;

        int status = inChild([&] {
            long before = peakKb();
            game.settings = Settings{0, 0, 0};
            loadSettings();
            loadHighScores();
            if (peakKb() - before > 16 * 1024)
                return 1;
            bool plain = std::string(c.suffix) == ".new" || sparse;
            if (game.settings.fullscreen != (plain && sparse ? 1 : 0))
                return 2;
            if (game.highScores.rows[0].name != (plain ? "ann" : DefaultName))
                return 3;
            game.settings = Settings{1, 0, 1};
            saveSettings();
            game.highScores.rows[0].name = "saved";
            saveHighScores();
            return 0;
        });
        EXPECT_EQ(status, 0) << "1: memory grew, 2 and 3: read wrong, 128 + 14: it waited";

        std::string logged = readFile(log);
        if (c.saved) {
            EXPECT_EQ(readFile(game.settingsPath), "1\n0\n1\n");
            EXPECT_EQ(readFile(game.highScorePath).substr(0, 10), "saved 1 2 ");
            EXPECT_FALSE(fileExists(game.settingsPath + ".new"));
            EXPECT_EQ(logged, "");
        } else {
            EXPECT_EQ(logged, "Save " + game.settingsPath + " ERROR " + c.saveError + "\nSave " +
                                  game.highScorePath + " ERROR " + c.saveError + "\n");
            struct stat info;
            ASSERT_EQ(lstat(game.settingsPath.c_str(), &info), 0);
            EXPECT_FALSE(S_ISREG(info.st_mode));
        }
        EXPECT_EQ(readFile(dir + "precious"), "precious\n");
    }
}

// A folder that others may write (a shared install): a link there is followed only when it is
// the player's own or the folder owner's, so that nobody else can lead the game's saves or its
// log onto a file of the player's.
TEST(HostileFiles, LinksOfOthersInASharedFolderAreNotFollowed)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to stand in for the player and two others";
    const uid_t folderOwner = 1, neighbour = 2;
    struct Case {
        const char *what;
        mode_t folderMode;
        uid_t linkOwner;
        bool followed;
    } cases[] = {
        {"a neighbour's links in a sticky folder for all", 01777, neighbour, false},
        {"a neighbour's links in a folder of the group", 0775, neighbour, false},
        {"the player's own links in a folder of the group", 0775, PlayerUid, true},
        {"the folder owner's links", 0775, folderOwner, true},
        {"a neighbour's links in a folder only its owner may write", 0755, neighbour, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::string shared = makeTempDir(), mine = makeTempDir();
        ASSERT_EQ(chown(mine.c_str(), PlayerUid, PlayerUid), 0);
        for (const char *name : {"opt.dat", "dex.dll", "log.txt"}) {
            writeFile(mine + name, name == std::string("opt.dat") ? "1 0 0\n" : "mine\n");
            ASSERT_EQ(chown((mine + name).c_str(), PlayerUid, PlayerUid), 0);
            ASSERT_EQ(symlink((mine + name).c_str(), (shared + name).c_str()), 0);
            ASSERT_EQ(lchown((shared + name).c_str(), c.linkOwner, c.linkOwner), 0);
        }
        ASSERT_EQ(chown(shared.c_str(), folderOwner, PlayerUid), 0);
        ASSERT_EQ(chmod(shared.c_str(), c.folderMode), 0);
        std::string logDir = makeTempDir(), logged = logDir + "save.log";
        ASSERT_EQ(chown(logDir.c_str(), PlayerUid, PlayerUid), 0);
        ASSERT_TRUE(asPlayer([&] {
            game.settingsPath = shared + "opt.dat";
            game.highScorePath = shared + "dex.dll";
            game.settings = Settings{0, 0, 0};
            loadSettings();
            bool read = game.settings.fullscreen == (c.followed ? 1 : 0);
            logIn(shared);
            game.logFile << "logged\n";
            game.logFile.close();
            game.logFile.clear();
            game.logFile.open(logged);
            game.settings = Settings{1, 1, 1};
            saveSettings();
            setDefaultHighScores();
            saveHighScores();
            return read;
        }));
        EXPECT_EQ(readFile(mine + "opt.dat"), c.followed ? "1\n1\n1\n" : "1 0 0\n");
        setDefaultHighScores();
        EXPECT_EQ(readFile(mine + "dex.dll"), c.followed ? highScoresText() : "mine\n");
        EXPECT_EQ(readFile(mine + "log.txt"), "mine\n");  // the log never goes through a link
        std::string refused = " ERROR a link of another user in a folder that others may write\n";
        EXPECT_EQ(readFile(logged), c.followed ? "" : "Save " + shared + "opt.dat" + refused + "Save " + shared + "dex.dll" + refused);
    }
}

// Two games in one folder reach the table at the same moment, each having read it at its
// start: every result is kept, wherever it ranks.
TEST(TwoGames, ResultsSavedAtOnceAreAllKept)
{
    const int games = 6;
    for (int round = 0; round < 5; round++) {
        SCOPED_TRACE(round);
        std::string dir = makeTempDir();
        game.highScorePath = dir + "dex.dll";
        writeFile(game.highScorePath, "ann 3 100 900\nbob 2 50 800\n");
        int go[2], ready[2];
        ASSERT_EQ(pipe(go), 0);
        ASSERT_EQ(pipe(ready), 0);
        pid_t children[games];
        for (int g = 0; g < games; g++) {
            children[g] = fork();
            if (children[g] == 0) {
                loadHighScores();  // as at the game's start
                char start = 0;
                close(go[1]);
                close(ready[0]);
                if (write(ready[1], &start, 1) != 1 || read(go[0], &start, 1) != 0)
                    _exit(2);
                recordResult({"game" + std::to_string(g), 2, 60, 1000 - 100 * g});
                _exit(0);
            }
        }
        close(go[0]);
        close(ready[1]);
        char loaded[games];  // each child has read the table and waits
        for (ssize_t got = 0, n; got < games && (n = read(ready[0], loaded + got, games - got)) > 0;)
            got += n;
        close(ready[0]);
        close(go[1]);  // all go at once
        for (pid_t child : children) {
            int status = -1;
            waitpid(child, &status, 0);
            EXPECT_EQ(status, 0);
        }
        loadHighScores();
        std::string table = readFile(game.highScorePath);
        for (int g = 0; g < games; g++)
            EXPECT_NE(table.find("game" + std::to_string(g) + " 2 60 " + std::to_string(1000 - 100 * g) + "\n"),
                      std::string::npos) << table;
        EXPECT_NE(table.find("ann 3 100 900\n"), std::string::npos) << table;
        EXPECT_NE(table.find("bob 2 50 800\n"), std::string::npos) << table;
        EXPECT_FALSE(fileExists(game.highScorePath + ".new"));
    }
}

// The table in memory after a result is the table on disk with the result, below equal scores;
// where no table can be read, the one in memory takes it.
TEST(TwoGames, ARecordedResultLeavesTheMergedTableInMemory)
{
    std::string dir = makeTempDir();
    game.highScorePath = dir + "dex.dll";
    writeFile(game.highScorePath, "ann 3 100 900\n");
    loadHighScores();
    writeFile(game.highScorePath, "ann 3 100 900\nother 2 40 700\n");  // another game's row
    recordResult({"me", 2, 30, 700});
    const HighScoreEntry *rows = game.highScores.rows;
    EXPECT_EQ(rows[0].name, "ann");
    EXPECT_EQ(rows[1].name, "other");
    EXPECT_EQ(rows[2].name, "me");
    EXPECT_EQ(rows[3].name, DefaultName);
    std::string table = readFile(game.highScorePath);
    EXPECT_EQ(table.substr(0, table.find(DefaultName)), "ann 3 100 900\nother 2 40 700\nme 2 30 700\n");

    ASSERT_EQ(unlink(game.highScorePath.c_str()), 0);
    ASSERT_EQ(mkdir(game.highScorePath.c_str(), 0755), 0);  // nothing to read, nothing to save
    recordResult({"again", 1, 10, 800});
    EXPECT_EQ(rows[1].name, "again");
    EXPECT_EQ(rows[2].name, "other");
}

}  // namespace
