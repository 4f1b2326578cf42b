// files_test.cpp: opt.dat and dex.dll read and written as real files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "app/files.h"
#include "app/state.h"
#include "helpers.h"

namespace {

struct FilesTest : ::testing::Test {
    std::string dir = makeTempDir();
    void SetUp() override
    {
        game.settingsPath = dir + "opt.dat";
        game.highScorePath = dir + "dex.dll";
        game.settings = Settings{0, 0, 0};
    }
    Settings readSettings(const std::string &contents)
    {
        writeFile(game.settingsPath, contents);
        game.settings = Settings{0, 0, 0};
        loadSettings();
        return game.settings;
    }
};

void expectSettings(const Settings &s, int fullscreen, int musicOff, int soundOff)
{
    EXPECT_EQ(s.fullscreen, fullscreen);
    EXPECT_EQ(s.musicOff, musicOff);
    EXPECT_EQ(s.soundOff, soundOff);
}

TEST_F(FilesTest, SettingsReadInAnyLayoutOverTheDefaults)
{
    loadSettings();  // no file at all
    expectSettings(game.settings, 0, 0, 0);
    expectSettings(readSettings("1"), 1, 0, 0);
    expectSettings(readSettings("1 1 0"), 1, 1, 0);
    expectSettings(readSettings("1\r\n0\r\n1\r\n"), 1, 0, 1);
    expectSettings(readSettings("  +1\t\n\n -1 7 trailing words"), 1, -1, 7);
    expectSettings(readSettings(""), 0, 0, 0);
}

TEST_F(FilesTest, DamagedSettingsKeepTheFieldsReadBeforeTheFault)
{
    expectSettings(readSettings("1 yes 1"), 1, 0, 0);
    expectSettings(readSettings("1 1 99999999999"), 1, 1, 0);  // does not fit 32 bits
    expectSettings(readSettings(std::string("\x89PNG\r\n\x1a\n\0\0\0", 11)), 0, 0, 0);
}

TEST_F(FilesTest, SettingsWrittenAsThreeLinesAndReadBack)
{
    game.settings = Settings{1, 0, 1};
    saveSettings();
    EXPECT_EQ(readFile(game.settingsPath), "1\n0\n1\n");
    game.settings = Settings{0, 0, 0};
    loadSettings();
    expectSettings(game.settings, 1, 0, 1);
}

TEST_F(FilesTest, DefaultTableWithoutAFile)
{
    loadHighScores();
    for (int i = 0; i < HighScoreRows; i++) {
        const HighScoreEntry &row = game.highScores.rows[i];
        EXPECT_EQ(row.name, DefaultName);
        EXPECT_EQ(row.level, 1);
        EXPECT_EQ(row.time, 10);
        EXPECT_EQ(row.score, 300 - 10 * i);
    }
    EXPECT_EQ(std::string(DefaultName).find_first_of(" \t\r\n%"), std::string::npos);
}

TEST_F(FilesTest, ShortAndDamagedTablesKeepRowsUpToTheFault)
{
    writeFile(game.highScorePath, "ann 3 100 900\r\nbob 2 50 800\r\ncid 2 40 700\r\ndee 1 30 600\r\n");
    loadHighScores();
    EXPECT_EQ(game.highScores.rows[0].name, "ann");
    EXPECT_EQ(game.highScores.rows[0].level, 3);
    EXPECT_EQ(game.highScores.rows[3].score, 600);
    EXPECT_EQ(game.highScores.rows[4].name, DefaultName);
    EXPECT_EQ(game.highScores.rows[4].score, 260);

    writeFile(game.highScorePath, "ann 3 100 900 bob 2 50 800 cid five 40 700 dee 1 30 600");
    loadHighScores();
    EXPECT_EQ(game.highScores.rows[1].score, 800);
    EXPECT_EQ(game.highScores.rows[2].name, "cid");
    EXPECT_EQ(game.highScores.rows[2].level, 1);
    EXPECT_EQ(game.highScores.rows[2].time, 10);
    EXPECT_EQ(game.highScores.rows[2].score, 280);
    EXPECT_EQ(game.highScores.rows[3].name, DefaultName);
}

TEST_F(FilesTest, WrittenTableReadsBackEqualWithAnyName)
{
    loadHighScores();
    const std::string names[HighScoreRows] = {"ann", "two words", "", " lead", "trail ", "100%", "a%20b", "[\\]^_`", "%", "sixteen letters!"};
    for (int i = 0; i < HighScoreRows; i++) {
        HighScoreEntry &row = game.highScores.rows[i];
        row = HighScoreEntry{names[i], i + 1, 7 * i, 1000 - i};
    }
    saveHighScores();
    std::string text = readFile(game.highScorePath);
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), "ann 1 0 1000\n");  // a one-word name as it stands

    for (HighScoreEntry &row : game.highScores.rows)
        row = HighScoreEntry{};
    loadHighScores();
    for (int i = 0; i < HighScoreRows; i++) {
        const HighScoreEntry &row = game.highScores.rows[i];
        EXPECT_EQ(row.name, names[i]) << "row " << i;
        EXPECT_EQ(row.level, i + 1);
        EXPECT_EQ(row.time, 7 * i);
        EXPECT_EQ(row.score, 1000 - i);
    }
}

TEST_F(FilesTest, HandWrittenPercentSignsThatAreNoEscapeStay)
{
    EXPECT_EQ(decodeName("50%"), "50%");
    EXPECT_EQ(decodeName("%zz%4"), "%zz%4");
    EXPECT_EQ(decodeName("%41%62"), "Ab");
}

TEST_F(FilesTest, OverlongNamesFromAFileAreCut)
{
    writeFile(game.highScorePath, std::string(100000, 'x') + " 2 3 4");
    loadHighScores();
    EXPECT_EQ(game.highScores.rows[0].name, std::string(MaxNameLength, 'x'));
    EXPECT_EQ(game.highScores.rows[0].score, 4);
}

TEST_F(FilesTest, SaveReplacesTheFileWhole)
{
    // A save that cannot finish (here: the temporary file's name is taken by a folder)
    // leaves the old table as it was.
    writeFile(game.highScorePath, "old 1 1 1\n");
    ASSERT_EQ(mkdir((game.highScorePath + ".new").c_str(), 0755), 0);
    loadHighScores();
    saveHighScores();
    EXPECT_EQ(readFile(game.highScorePath), "old 1 1 1\n");
    rmdir((game.highScorePath + ".new").c_str());

    saveHighScores();
    std::string text = readFile(game.highScorePath);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), HighScoreRows);
    EXPECT_FALSE(fileExists(game.highScorePath + ".new"));
}

}  // namespace
