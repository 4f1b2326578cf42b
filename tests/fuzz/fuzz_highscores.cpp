// fuzz_highscores.cpp: libFuzzer target for the dex.dll reader; a table read and written back reads back equal.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "base/files.h"
#include "base/state.h"

static void fail(const char *what, const std::string &text)
{
    std::fprintf(stderr, "%s; the table as written:\n%s\n", what, text.c_str());
    std::abort();
}

static bool sameRow(const HighScoreEntry &a, const HighScoreEntry &b)
{
    return a.name == b.name && a.level == b.level && a.time == b.time && a.score == b.score;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // As at start-up: the default table, then the file over it.
    setDefaultHighScores();
    std::istringstream file(std::string(reinterpret_cast<const char *>(data), size));
    readHighScores(file);
    const HighScoreTable read = game.highScores;
    for (int i = 0; i < HighScoreRows; i++)
        if (read.rows[i].name.size() > static_cast<size_t>(MaxKeptNameLength))
            fail("a name longer than the game keeps was read", highScoresText());

    // Saved after the next game and read at the next start.
    const std::string text = highScoresText();
    size_t lines = 0;
    for (char c : text)
        lines += c == '\n';
    if (lines != static_cast<size_t>(HighScoreRows))
        fail("the table is not written as ten lines", text);
    setDefaultHighScores();
    std::istringstream saved(text);
    readHighScores(saved);
    for (int i = 0; i < HighScoreRows; i++)
        if (!sameRow(read.rows[i], game.highScores.rows[i]))
            fail("a row does not read back as it was read", text);
    if (highScoresText() != text)
        fail("the table read back is written differently", text);
    return 0;
}
