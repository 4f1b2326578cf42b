// paths_test.cpp: the program folder taken from the executable's path, and the log.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "app/paths.h"
#include "app/state.h"
#include "helpers.h"

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
