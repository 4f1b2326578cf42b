// platform_test.cpp: Windows' side of the kept files under Wine: saves whole or not at all, only
// regular files, bounded reads, two games taking turns, and folders named in any alphabet.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "base/files.h"
#include "base/paths.h"
#include "base/platform.h"
#include "base/save.h"
#include "base/state.h"
#include "base/wide_win32.h"
#include "windows_support.h"

namespace {

// A player's folder as Windows players name them: a space and letters beyond ASCII.
const std::string PlayersFolder = "Zoë\\Spiele und Rätsel\\";

TEST(WindowsFiles, ASaveIsWholeOrNothingAndTouchesOnlyRegularFiles)
{
    const std::string folder = freshFolder(PlayersFolder);
    const std::string path = folder + "dex.dll";
    std::string text;
    EXPECT_FALSE(readKeptFile(path, KeptFileBound, text));

    // New, then replaced: no temporary file stays beside it.
    EXPECT_EQ(writeWholeFile(path, "first\n"), "");
    EXPECT_EQ(readWhole(path), "first\n");
    EXPECT_EQ(writeWholeFile(path, "second, longer\n"), "");
    EXPECT_EQ(readWhole(path), "second, longer\n");
    EXPECT_EQ(writeWholeFile(path, "3\n"), "");
    EXPECT_EQ(readWhole(path), "3\n");
    EXPECT_FALSE(exists(path + ".new"));

    // Whatever lay under the temporary file's name is replaced, never written into.
    writeWhole(path + ".new", "someone else's");
    EXPECT_EQ(writeWholeFile(path, "fourth\n"), "");
    EXPECT_EQ(readWhole(path), "fourth\n");
    EXPECT_FALSE(exists(path + ".new"));

    // Reads stop at their bound.
    writeWhole(path, std::string(1000, 'x'));
    EXPECT_TRUE(readKeptFile(path, 10, text));
    EXPECT_EQ(text, std::string(10, 'x'));

    // A folder or a device in a file's place is neither read nor written.
    CreateDirectoryW(widePath(folder + "opt.dat").c_str(), nullptr);
    EXPECT_FALSE(readKeptFile(folder + "opt.dat", KeptFileBound, text));
    EXPECT_EQ(writeWholeFile(folder + "opt.dat", "1 0 0\n"), "not a file");
    EXPECT_FALSE(readKeptFile("NUL", KeptFileBound, text));
    EXPECT_EQ(writeWholeFile(folder + "NUL", "1 0 0\n"), "not a file");
    EXPECT_NE(writeWholeFile(folder + "CON", "1 0 0\n"), "");

    // The log: opened afresh, its lines ending as Windows' text files' do.
    std::ofstream log;
    writeWhole(folder + "log.txt", "an older and longer log\n");
    ASSERT_TRUE(openLogFile(log, folder + "log.txt"));
    log << "one\ntwo\n";
    log.close();
    EXPECT_EQ(readWhole(folder + "log.txt"), "one\r\ntwo\r\n");
    EXPECT_FALSE(openLogFile(log, folder + "opt.dat"));
}

// The folder of the kept files: beside the game where it may be written, else %APPDATA%\Tavirel,
// into which what lay beside the game is copied; the program folder cut after its last backslash.
TEST(WindowsPaths, KeptFilesBesideTheGameOrInTheApplicationData)
{
    EXPECT_EQ(programDirOf("C:\\Program Files\\Tavirel\\tavirel.exe"), "C:\\Program Files\\Tavirel\\");
    std::string own = programDirOf(programPath("tavirel"));
    EXPECT_EQ(own, pathUpToLast(executablePath(), '\\'));
    EXPECT_TRUE(exists(own + "tavirel_windows_tests.exe"));

    game.programDir = freshFolder("Spiele und Rätsel\\Tavirel\\");
    chooseDataDir();
    EXPECT_EQ(game.dataDir, game.programDir);

    // Z: is the root of the Unix side, and its /proc takes no file even from root.
    const std::string appData = freshFolder("Zoë\\AppData\\Roaming");
    SetEnvironmentVariableW(L"APPDATA", widePath(appData.substr(0, appData.size() - 1)).c_str());
    EXPECT_FALSE(folderWritable("Z:\\proc\\"));
    game.programDir = "Z:\\proc\\";
    chooseDataDir();
    EXPECT_EQ(game.dataDir, appData + "Tavirel\\");
    EXPECT_TRUE(folderWritable(game.dataDir));
    openLog();
    game.logFile.close();
    EXPECT_EQ(readWhole(appData + "Tavirel\\log.txt"), crLf("Settings, scores and this log are kept in " + appData + "Tavirel\\\n"));
    SetEnvironmentVariableW(L"APPDATA", nullptr);
}

// Run as a child by the test below: records five results in the table of TAVIREL_TEST_FOLDER.
TEST(WindowsChild, RecordsFiveResults)
{
    game.highScorePath = environment("TAVIREL_TEST_FOLDER") + "dex.dll";
    const std::string name = environment("TAVIREL_TEST_NAME");
    setDefaultHighScores();
    for (int i = 0; i < 5; i++) {
        EXPECT_GE(recordResult({name + std::to_string(i), 2, 60, 100000 + 10 * i}), 0);
        Sleep(40);
    }
}

// Two games sharing a folder take turns to save, and each enters its results into the table as
// it stands on disk: all ten results are kept.
TEST(WindowsFiles, TwoGamesAtOnceBothKeepTheirResults)
{
    const std::string folder = freshFolder(PlayersFolder);
    const std::string exe = executablePath();
    void *ann = startChild(exe, "WindowsChild.RecordsFiveResults", {"TAVIREL_TEST_FOLDER=" + folder, "TAVIREL_TEST_NAME=ann"});
    void *zoe = startChild(exe, "WindowsChild.RecordsFiveResults", {"TAVIREL_TEST_FOLDER=" + folder, "TAVIREL_TEST_NAME=zoë"});
    EXPECT_EQ(waitForChild(ann), 0);
    EXPECT_EQ(waitForChild(zoe), 0);
    game.highScorePath = folder + "dex.dll";
    loadHighScores();
    for (const char *name : {"ann", "zoë"})
        for (int i = 0; i < 5; i++) {
            bool kept = false;
            for (int row = 0; row < HighScoreRows; row++)
                kept = kept || game.highScores.rows[row].name == name + std::to_string(i);
            EXPECT_TRUE(kept) << name << i;
        }
    EXPECT_FALSE(exists(folder + "dex.dll.new"));
}

}  // namespace
