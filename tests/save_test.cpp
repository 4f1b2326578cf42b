// save_test.cpp: the safe save of a kept file, run by the Linux and the Windows tests alike: every
// place the file may be in, and what must be on disk after; the system's line ends, both read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/files.h"
#include "base/save.h"
#include "base/state.h"
#include "input/keys.h"
#include "save_cases.h"

namespace {

namespace fs = std::filesystem;

const std::string Old = "an old text, far longer than the new one\n", New = "new\n";

fs::path pathOf(const std::string &path)
{
    return fs::u8path(path);
}

std::string bytesOf(const std::string &path)
{
    std::ifstream in(pathOf(path), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void put(const std::string &path, const std::string &bytes)
{
    std::ofstream(pathOf(path), std::ios::binary | std::ios::trunc) << bytes;
}

// `text` with each '\n' made `lineEnd`.
std::string ended(const std::string &text, const std::string &lineEnd)
{
    std::string lines;
    for (char c : text)
        lines += c == '\n' ? lineEnd : std::string(1, c);
    return lines;
}

// The old file, of one name.
void oldFile(const std::string &folder)
{
    put(folder + "kept.dat", Old);
}

// The cases every system has, laid out with the standard library alone.
std::vector<SaveCase> sharedCases()
{
    return {
        {"no file yet", [](const std::string &) {}, false, "", SaveEnd::Created, false, nullptr, nullptr},
        {"a file of one name", [](const std::string &folder) {
             oldFile(folder);
             fs::permissions(pathOf(folder + "kept.dat"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
         }, false, "", SaveEnd::Replaced, false, nullptr, nullptr},
        {"a file of two names", [](const std::string &folder) {
             oldFile(folder);
             fs::create_hard_link(pathOf(folder + "kept.dat"), pathOf(folder + "other"));
         }, false, "", SaveEnd::InPlace, false, "other", nullptr},
        {"a read-only file", [](const std::string &folder) {
             oldFile(folder);
             fs::permissions(pathOf(folder + "kept.dat"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
         }, false, "*", SaveEnd::LeftAlone, false, nullptr, nullptr},
        {"a folder in the file's place",
         [](const std::string &folder) { fs::create_directory(pathOf(folder + "kept.dat")); }, false, "not a file",
         SaveEnd::LeftAlone, false, nullptr, nullptr},
        {"a stale temporary file, another name of another file", [](const std::string &folder) {
             oldFile(folder);
             fs::create_hard_link(pathOf(folder + "precious"), pathOf(folder + "kept.dat.new"));
         }, false, "", SaveEnd::Replaced, false, nullptr, nullptr},
        {"a folder under the temporary file's name", [](const std::string &folder) {
             oldFile(folder);
             fs::create_directory(pathOf(folder + "kept.dat.new"));
         }, false, "", SaveEnd::InPlace, true, nullptr, nullptr},
        {"no file yet, a folder under the temporary file's name",
         [](const std::string &folder) { fs::create_directory(pathOf(folder + "kept.dat.new")); }, false, "*",
         SaveEnd::NothingMade, true, nullptr, nullptr},
    };
}

TEST(Saves, EachPlaceOfTheFileEndsAsItShould)
{
    std::vector<SaveCase> cases = sharedCases(), own = systemSaveCases();
    cases.insert(cases.end(), own.begin(), own.end());
    for (const SaveCase &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string folder = freshSaveFolder(), kept = folder + "kept.dat";
        put(folder + "precious", "precious\n");
        c.plant(folder);
        std::error_code error;
        const bool wasFile = fs::is_regular_file(pathOf(kept), error);
        const std::string before = wasFile ? bytesOf(kept) : "";
        const fs::perms permissions = fs::status(pathOf(kept), error).permissions();
        const unsigned long long identity = fileIdentity(kept);

        std::string words = saveAsPlayer(c, folder, kept, New);
        if (c.words == std::string("*")) {
            EXPECT_NE(words, "");
        } else {
            EXPECT_EQ(words, c.words);
        }
        const unsigned long long now = fileIdentity(kept);
        const bool isFile = fs::is_regular_file(pathOf(kept), error);
        switch (c.end) {
        case SaveEnd::Created:
            EXPECT_EQ(identity, 0u);
            EXPECT_TRUE(isFile);
            EXPECT_EQ(bytesOf(kept), New);
            break;
        case SaveEnd::Replaced:
            EXPECT_NE(identity, 0u);
            EXPECT_NE(now, identity);
            EXPECT_EQ(bytesOf(kept), New);
            EXPECT_EQ(fs::status(pathOf(kept), error).permissions(), permissions);
            break;
        case SaveEnd::InPlace:
            EXPECT_NE(identity, 0u);
            EXPECT_EQ(now, identity);
            EXPECT_EQ(bytesOf(kept), New);
            break;
        case SaveEnd::LeftAlone:
            EXPECT_EQ(now, identity);
            EXPECT_EQ(isFile, wasFile);
            if (isFile) {
                EXPECT_EQ(bytesOf(kept), before);
            }
            break;
        case SaveEnd::NothingMade:
            EXPECT_EQ(now, 0u);
            break;
        }
        EXPECT_EQ(fs::exists(pathOf(kept + ".new"), error), c.temporaryStays);
        if (c.alsoNew) {
            EXPECT_EQ(bytesOf(folder + c.alsoNew), New) << c.alsoNew;
        }
        EXPECT_EQ(bytesOf(folder + "precious"), "precious\n");
    }
}

// The three kept files are saved with the system's line ends, and read back the same from a file
// of either line end, wherever it was written.
TEST(Saves, KeptFilesTakeTheSystemsLineEndsAndReadBothBack)
{
    const std::string folder = freshSaveFolder();
    game.settingsPath = folder + "opt.dat";
    game.highScorePath = folder + "dex.dll";
    game.controlsPath = folder + "controls.dat";
    game.filesReadOnly = false;
    const struct {
        const std::string &path;
        void (*change)();  // a record of its own, unlike the defaults
        void (*forget)();  // the defaults, or nothing, in memory
        void (*save)();
        void (*load)();
        std::string (*text)();
    } files[] = {
        {game.settingsPath, [] { game.settings = Settings{1, 0, 1}; }, [] { game.settings = Settings{0, 0, 0}; },
         saveSettings, loadSettings, settingsText},
        {game.highScorePath,
         [] {
             setDefaultHighScores();
             game.highScores.rows[2] = HighScoreEntry{"two words", 4, 55, 295};
         },
         [] {
             for (HighScoreEntry &row : game.highScores.rows)
                 row = HighScoreEntry{};
         },
         saveHighScores, loadHighScores, highScoresText},
        {game.controlsPath,
         [] {
             setDefaultControls(game.controls);
             std::istringstream own("left 97 -1\nturn 119 5\n");
             readControls(own, game.controls);
         },
         [] { setDefaultControls(game.controls); }, saveControls, loadControls, controlsText},
    };
    for (const auto &file : files) {
        SCOPED_TRACE(file.path);
        file.change();
        const std::string text = file.text();
        ASSERT_GE(std::count(text.begin(), text.end(), '\n'), 3);
        file.save();
        EXPECT_EQ(bytesOf(file.path), ended(text, SystemLineEnd));
        for (const char *lineEnd : {"\n", "\r\n"}) {
            put(file.path, ended(text, lineEnd));
            file.forget();
            file.load();
            EXPECT_EQ(file.text(), text) << (lineEnd[0] == '\r' ? "CR LF" : "LF");
        }
    }
}

}  // namespace
