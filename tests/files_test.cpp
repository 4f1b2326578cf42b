// files_test.cpp: opt.dat, dex.dll and controls.dat read and written as real files.
#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/controls.h"
#include "base/files.h"
#include "base/screen.h"
#include "base/state.h"
#include "app/loop.h"
#include "input/keys.h"
#include "screen_helpers.h"
#include "support.h"

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
    expectSettings(readSettings(""), 0, 0, 0);
}

// The page, the window and the mixer all take a switch as on or off: any number but 0 is on.
TEST_F(FilesTest, AnyNumberButZeroReadsAsASwitchedOnOne)
{
    expectSettings(readSettings("  +1\t\n\n -1 7 trailing words"), 1, 1, 1);
    expectSettings(readSettings("0 7 0"), 0, 1, 0);
    expectSettings(readSettings("2147483647 0 -2147483648"), 1, 0, 1);
    saveSettings();
    EXPECT_EQ(readFile(game.settingsPath), "1\n0\n1\n");
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

TEST_F(FilesTest, ShortAndDamagedTablesLoseOnlyTheDamagedRows)
{
    writeFile(game.highScorePath, "ann 3 100 900\r\nbob 2 50 800\r\ncid 2 40 700\r\ndee 1 30 600\r\n");
    loadHighScores();
    EXPECT_EQ(game.highScores.rows[0].name, "ann");
    EXPECT_EQ(game.highScores.rows[0].level, 3);
    EXPECT_EQ(game.highScores.rows[3].score, 600);
    EXPECT_EQ(game.highScores.rows[4].name, DefaultName);
    EXPECT_EQ(game.highScores.rows[4].score, 260);

    // Each file holds the rows ann 900, bob 800, cid 700, dee 600, one of them damaged in its
    // own way; every other row is read, the later ones moving up.
    struct Case {
        const char *file;
        const char *lost;
    } cases[] = {
        {"ann 3 100 900 bob 2 50 800 cid five 40 700 dee 1 30 600", "cid"},
        {"ann 3 100 900\nbob 2 50 800\ncarol 1 1 99999999999\ncid 2 40 700\ndee 1 30 600\n", "carol"},
        {"ann 3 100 900\nbob 2 50\ncid 2 40 700\ndee 1 30 600\n", "bob"},
        {"ann 3 100 900\nbob 2 50 800\nzed\ncid 2 40 700\ndee 1 30 600\n", "zed"},
        {"ann 3 100 900\nbob 2 50 800 9\ncid 2 40 700\ndee 1 30 600\n", "9"},
        {"ann 3 100 900\nbob 2 50 800\ncid 2 40 7x0\ndee 1 30 600\n", "cid"},
        {"ann\n3\n100\n900\nbob 2\n50 800\ncid 2 40 700 dee -1\n30 600 eve", "eve"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        writeFile(game.highScorePath, c.file);
        loadHighScores();
        std::vector<std::string> kept;
        for (const char *name : {"ann", "bob", "cid", "dee"})
            if (name != std::string(c.lost))
                kept.push_back(name);
        for (size_t i = 0; i < kept.size(); i++)
            EXPECT_EQ(game.highScores.rows[i].name, kept[i]);
        for (size_t i = kept.size(); i < HighScoreRows; i++)
            EXPECT_EQ(game.highScores.rows[i].name, DefaultName);
        for (size_t i = 0; i < kept.size(); i++)
            EXPECT_EQ(game.highScores.rows[i].score, kept[i] == "ann" ? 900 : kept[i] == "bob" ? 800 : kept[i] == "cid" ? 700 : 600);
    }
    EXPECT_EQ(game.highScores.rows[3].level, -1);  // the last case's dee
}

// The reader keeps the file's whole rows in the file's order, unsorted; below them the default
// rows stay at their own places (row k scoring 300 - 10k), but the last places, one for each
// damaged row, are open (no score). A result goes above the first row it beats, from the top: a
// short or hand-made file need not be best first, and then neither is the table.
TEST_F(FilesTest, TheTableIsTheFilesRowsInOrderThenTheDefaultsThenAnOpenPlaceForEachDamagedRow)
{
    struct Case {
        const char *file, *table;
        int entersAt;  // the row a result of 100 takes
    } cases[] = {
        {"", "t300 t290 t280 t270 t260 t250 t240 t230 t220 t210", NoSelection},
        {"a 3 100 900\nb 2 50 800\nc 2 x 700\nd 1 30 50\n", "a900 b800 d50 t270 t260 t250 t240 t230 t220 t0", 2},
        {"d 1 1 50\na 1 1 900\n", "d50 a900 t280 t270 t260 t250 t240 t230 t220 t210", 0},
        {"a 1 1 900\nb 1 1 x\nc 1 1 800\nd 1 1 y\n", "a900 c800 t280 t270 t260 t250 t240 t230 t0 t0", 8},
        {"a 1 1 1000\nb 1 1 900\nc 1 1 800\nd 1 1 700\ne 1 1 6x0\nf 1 1 500\ng 1 1 400\nh 1 1 300\n"
         "i 1 1 200\nj 1 1 100\n",
         "a1000 b900 c800 d700 f500 g400 h300 i200 j100 t0", 9},
    };
    auto table = [] {
        std::string text;
        for (int i = 0; i < HighScoreRows; i++) {
            const HighScoreEntry &row = game.highScores.rows[i];
            text += (text.empty() ? "" : " ") + row.name.substr(0, 1) + std::to_string(row.score);
        }
        return text;
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        writeFile(game.highScorePath, c.file);
        loadHighScores();
        EXPECT_EQ(table(), c.table);
        EXPECT_EQ(recordResult({"new", 1, 1, 100}), c.entersAt);
    }
}

TEST_F(FilesTest, WrittenTableReadsBackEqualWithAnyName)
{
    loadHighScores();
    const std::string names[HighScoreRows] = {"ann", "two words", "", " lead", "trail ", "100%", "a%20b\t", "[\\]^_`", "%", "sixteen letters!"};
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

// A name typed is at most MaxNameLength, but one written into the file by hand is read and saved
// whole, up to MaxKeptNameLength bytes.
TEST_F(FilesTest, LongNamesFromAFileAreKeptWholeUpToTheirBound)
{
    std::string longName(40, 'l'), overlong(1000, 'x');
    writeFile(game.highScorePath, longName + " 1 2 3\n" + overlong + " 2 3 4\n" + "ok 3 4 5\n");
    loadHighScores();
    EXPECT_EQ(game.highScores.rows[0].name, longName);
    EXPECT_EQ(game.highScores.rows[0].score, 3);
    EXPECT_EQ(game.highScores.rows[1].name, std::string(MaxKeptNameLength, 'x'));
    EXPECT_EQ(game.highScores.rows[1].score, 4);
    EXPECT_EQ(game.highScores.rows[2].name, "ok");
    saveHighScores();
    loadHighScores();
    EXPECT_EQ(game.highScores.rows[0].name, longName);
    EXPECT_EQ(game.highScores.rows[1].name, std::string(MaxKeptNameLength, 'x'));
}

TEST_F(FilesTest, SavesReplaceTheFileWholeOrRewriteItWhenNoTemporaryFileCanBeMade)
{
    writeFile(game.highScorePath, "old 1 1 1\n");
    loadHighScores();
    saveHighScores();
    std::string whole = readFile(game.highScorePath);
    EXPECT_EQ(std::count(whole.begin(), whole.end(), '\n'), HighScoreRows);
    EXPECT_FALSE(fileExists(game.highScorePath + ".new"));

    // The temporary file's name is taken by a folder: the file itself is rewritten, and a
    // longer old text leaves nothing behind the new one.
    writeFile(game.highScorePath, whole + std::string(500, 'x') + "\n");
    ASSERT_EQ(mkdir((game.highScorePath + ".new").c_str(), 0755), 0);
    saveHighScores();
    EXPECT_EQ(readFile(game.highScorePath), whole);
}

// Saves made by a player who is not root, among files and folders of the player and of
// root: what is kept, the owner and mode of what was there, and what the log says of a save
// that could not be made.
TEST_F(FilesTest, SavesKeepWhatThePlayerCannotWriteAndTheOwnerAndModeOfWhatTheyCan)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to stand in for a second user";
    const uid_t player = PlayerUid;
    struct Case {
        const char *what;
        uid_t folderOwner;
        int fileMode;  // 0: no file
        uid_t fileOwner;
        bool linked;   // the file is a link to one in another folder
        bool saved;
    } cases[] = {
        {"player's file in a shared folder", 0, 0644, player, false, true},
        {"no file in a shared folder", 0, 0, 0, false, false},
        {"read-only file in the player's folder", player, 0444, player, false, false},
        {"root's writable file in the player's folder", player, 0666, 0, false, true},
        {"private file in the player's folder", player, 0600, player, false, true},
        {"no file in the player's folder", player, 0, 0, false, true},
        {"link to the player's file elsewhere", player, 0640, player, true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::string folder = makeTempDir();
        ASSERT_EQ(chown(folder.c_str(), c.folderOwner, c.folderOwner), 0);
        ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
        const std::string files[] = {folder + "opt.dat", folder + "dex.dll"};
        for (const std::string &file : files) {
            if (!c.fileMode)
                continue;
            std::string target = c.linked ? makeTempDir() + "kept" : file;
            writeFile(target, "old\n");
            ASSERT_EQ(chown(target.c_str(), c.fileOwner, c.fileOwner), 0);
            ASSERT_EQ(chmod(target.c_str(), c.fileMode), 0);
            if (c.linked) {
                ASSERT_EQ(chmod(target.substr(0, target.rfind('/')).c_str(), 0755), 0);
                ASSERT_EQ(symlink(target.c_str(), file.c_str()), 0);
            }
        }
        game.settingsPath = files[0];
        game.highScorePath = files[1];
        game.settings = Settings{1, 0, 1};
        loadHighScores();
        std::string log = makeTempDir() + "log.txt";
        game.logFile.close();
        game.logFile.clear();
        game.logFile.open(log);
        game.logFile.setf(std::ios::unitbuf);

        ASSERT_TRUE(asPlayer([] {
            saveSettings();
            saveHighScores();
            return true;
        }));

        game.settings = Settings{0, 0, 0};
        loadSettings();
        EXPECT_EQ(game.settings.fullscreen, c.saved ? 1 : 0);
        std::string table = readFile(files[1]);
        EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), c.saved ? HighScoreRows : c.fileMode ? 1 : 0);
        for (const std::string &file : files) {
            struct stat info, name;
            ASSERT_EQ(stat(file.c_str(), &info) == 0, c.fileMode || c.saved) << file;
            if (c.fileMode) {
                EXPECT_EQ(info.st_mode & 07777, static_cast<mode_t>(c.fileMode)) << file;
                EXPECT_EQ(info.st_uid, c.fileOwner) << file;
                ASSERT_EQ(lstat(file.c_str(), &name), 0);
                EXPECT_EQ(S_ISLNK(name.st_mode), c.linked) << file;
            }
            EXPECT_FALSE(fileExists(file + ".new")) << file;
        }
        EXPECT_EQ(readFile(log), c.saved ? "" : "Save " + files[0] + " ERROR Permission denied\nSave " + files[1] +
                                                   " ERROR Permission denied\n");
    }
}

// The default controls as controls.dat holds them, with `lines` in place of their controls' lines.
std::string controlsWith(const std::vector<std::string> &lines)
{
    std::string text;
    for (std::string line : {"left 276 -1", "right 275 -1", "turn 273 0", "turnback 274 1", "drop 32 2", "pause 112 9"}) {
        for (const std::string &changed : lines)
            if (changed.substr(0, changed.find(' ')) == line.substr(0, line.find(' ')))
                line = changed;
        text += line + "\n";
    }
    return text;
}

// Each line of controls.dat sets its own control, as the controls page would have: a file of an
// older or a later version of the game keeps every choice this one knows, and a line the page
// could not have written costs that line alone and says so in the log.
TEST(ControlsFile, EachLineSetsItsControlByNameAndALineThePageCouldNotWriteCostsOnlyItself)
{
    std::string dir = makeProgramDir();
    game.controlsPath = dir + "controls.dat";
    game.gamepad.startButton = 9;  // no gamepad: Start is the tenth button
    const char *const Unknown = "no such control", *const Refused = "a key or button no control may have",
                      *const Before = "a key or button of a control before", *const Again = "the control named again",
                      *const Damaged = "not a key and a button";
    const std::string own = "left 97 -1\nright 100 -1\nturn 119 5\nturnback 115 4\ndrop 13 -1\npause 19 11\n";
    std::string junk;
    for (int i = 0; i < 20; i++)
        junk += "x\n";
    const struct {
        const char *what;
        const char *file;  // null: no file
        std::string read;
        std::vector<std::pair<int, const char *>> passedOver;  // the lines, and why
    } cases[] = {
        {"the game's own file", own.c_str(), own, {}},
        {"none", nullptr, controlsWith({}), {}},
        {"empty", "", controlsWith({}), {}},
        {"any order, CRLF, blank lines, the first and last key and button", "\r\ndrop 1 31\r\n  \r\nleft 322 -1\r\n",
         controlsWith({"drop 1 31", "left 322 -1"}), {}},
        {"an older file: turn takes turn back's key and button, which takes turn's", "turn 274 1\n",
         controlsWith({"turn 274 1", "turnback 273 0"}), {}},
        // The lines after those passed over are read.
        {"a later version's seventh control", "hold 104 3\nleft 97 -1\n", controlsWith({"left 97 -1"}), {{1, Unknown}}},
        {"Escape, no key, a code past the keys, a button past the buttons, one below none",
         "drop 27 2\ndrop 0 2\ndrop 323 2\ndrop 500 2\ndrop 32 32\ndrop 32 -2\nleft 97 -1\n", controlsWith({"left 97 -1"}),
         {{1, Refused}, {2, Refused}, {3, Refused}, {4, Refused}, {5, Refused}, {6, Refused}}},
        {"a key and a button of a line before", "turn 119 5\ndrop 119 2\ndrop 13 5\nleft 97 -1\n",
         controlsWith({"turn 119 5", "left 97 -1"}), {{2, Before}, {3, Before}}},
        {"a control named twice", "turn 119 5\nturn 97 6\n", controlsWith({"turn 119 5"}), {{2, Again}}},
        {"damaged lines", "drop 32 x\ndrop 32\ndrop\ndrop 32 2 3\ndrop 99999999999 2\nleft 97 -1\n",
         controlsWith({"left 97 -1"}), {{1, Damaged}, {2, Damaged}, {3, Damaged}, {4, Damaged}, {5, Damaged}}},
        {"twenty lines of junk: eight told, the rest counted", junk.c_str(), controlsWith({}),
         {{1, Unknown}, {2, Unknown}, {3, Unknown}, {4, Unknown}, {5, Unknown}, {6, Unknown}, {7, Unknown}, {8, Unknown}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        std::remove(game.controlsPath.c_str());
        if (c.file)
            writeFile(game.controlsPath, c.file);
        setDefaultControls(game.controls);
        size_t mark = logText().size();
        loadControls();
        EXPECT_EQ(controlsText(), c.read);
        std::string log;
        for (const auto &line : c.passedOver)
            log += "Controls " + game.controlsPath + " line " + std::to_string(line.first) + " passed over: " +
                   line.second + "\n";
        if (c.file == junk.c_str())
            log += "Controls " + game.controlsPath + ": 12 more lines passed over\n";
        EXPECT_EQ(logSince(mark), log);
    }
}

// controls.dat of a later version, with drop put on Escape (which the controls page never puts
// on a control), through the game's passes: the controls it names play, drop keeps Space, Escape
// only leaves the game, and the controls page writes every control back.
TEST(ControlsFile, ALaterVersionsFilePlaysAndThePageWritesItWhole)
{
    std::string dir = startUpWith("", "left 97 4\nhold 104 3\ndrop 27 2\nturn 119 5\n");
    auto passes = [](int count) {
        for (int i = 0; i < count; i++) {
            game.nextFrameDue = SDL_GetTicks();
            runPass();
        }
    };
    auto press = [&](int key) {
        pushEvent(SDL_KEYDOWN, key);
        pushEvent(SDL_KEYUP, key);
        passes(3);
    };
    std::srand(5);
    press(SDLK_DOWN);  // new game
    press(SDLK_RETURN);
    ASSERT_EQ(game.Screen, GameScreen);
    Round &r = game.round;
    int32_t column = r.block.column, topRight = r.block.colours[1];
    keyTable()['a'] = 1;  // held for four passes: one step, whatever the phase of the fourth frame
    passes(4);
    keyTable()['a'] = 0;
    EXPECT_EQ(r.block.column, column - 1);
    pushEvent(SDL_JOYBUTTONDOWN, 4);  // the fifth button moves left too
    passes(4);
    pushEvent(SDL_JOYBUTTONUP, 4);
    passes(1);
    EXPECT_EQ(r.block.column, column - 2);
    press('w');
    EXPECT_EQ(r.block.colours[0], topRight);
    keyTable()[SDLK_SPACE] = 1;  // drops once the block has left the top row
    for (int i = 0; i < 80 && !r.dropping; i++)
        passes(1);
    EXPECT_TRUE(r.dropping);
    keyTable()[SDLK_SPACE] = 0;
    keyTable()[SDLK_ESCAPE] = 1;  // seen once the drop is over and the keys are looked at again
    for (int i = 0; i < BoardRows && game.Screen == GameScreen; i++)
        passes(1);
    EXPECT_EQ(game.Screen, IntroScreen);
    keyTable()[SDLK_ESCAPE] = 0;  // let go: spent by leaving the game until then
    passes(1);

    // On the controls page drop's row takes the first button (the menus' Confirm too), not one
    // past those the game follows.
    changeScreen(IntroScreen, ControlsPage);  // as the options page opens it
    game.menuSelection = Drop;
    press(SDLK_RETURN);
    pushEvent(SDL_JOYBUTTONDOWN, GamepadButtons);
    passes(1);
    EXPECT_EQ(game.waitingRow, Drop);
    pushEvent(SDL_JOYBUTTONDOWN, 0);
    passes(1);
    EXPECT_EQ(game.waitingRow, NoSelection);
    keyTable()[SDLK_ESCAPE] = 1;  // leaves, and saves
    passes(1);
    EXPECT_EQ(game.MenuPage, OptionsPage);
    EXPECT_EQ(readFile(dir + "controls.dat"), controlsWith({"left 97 4", "turn 119 5", "drop 32 0"}));
}

}  // namespace
