// kept_web.cpp: the score table in the browser, merged with what another tab of the game saved into IndexedDB meanwhile.
#include <emscripten.h>

#include <sstream>
#include <vector>

#include "base/files.h"
#include "base/platform.h"
#include "base/save.h"
#include "base/state.h"

// The table a text of dex.dll holds, read as the game reads the file; the table in memory stays.
static HighScoreTable tableOf(const std::string &text)
{
    HighScoreTable inMemory = game.highScores;
    setDefaultHighScores();
    std::istringstream in(text);
    readHighScores(in);
    HighScoreTable table = game.highScores;
    game.highScores = inMemory;
    return table;
}

static bool sameRow(const HighScoreEntry &a, const HighScoreEntry &b)
{
    return a.name == b.name && a.level == b.level && a.time == b.time && a.score == b.score;
}

// The rows of `after` that `before` does not have, each row of `before` standing for one alike.
static std::vector<HighScoreEntry> rowsAdded(const HighScoreTable &before, const HighScoreTable &after)
{
    std::vector<HighScoreEntry> added;
    bool matched[HighScoreRows] = {};
    for (int i = 0; i < HighScoreRows; i++) {
        int j = 0;
        while (j < HighScoreRows && (matched[j] || !sameRow(after.rows[i], before.rows[j])))
            j++;
        if (j < HighScoreRows)
            matched[j] = true;
        else
            added.push_back(after.rows[i]);
    }
    return added;
}

// Called by the page (dist/web/page.js) inside the IndexedDB transaction that keeps dex.dll, when
// the stored file is no longer the one this tab's table was read from (`base`): another tab saved
// its results meanwhile. The results this tab entered since (the rows its file has beyond `base`)
// are entered into the stored table again, as recordResult enters a result into the table it
// reads anew; the file, the table in memory and the row lit on the high-score page follow. The
// page then stores the file as it stands.
extern "C" EMSCRIPTEN_KEEPALIVE void mergeStoredTable(const char *base, int baseLength, const char *stored,
                                                      int storedLength)
{
    std::string mine;
    readKeptFile(game.highScorePath, KeptFileBound, mine);
    std::vector<HighScoreEntry> added =
        rowsAdded(tableOf(std::string(base, static_cast<size_t>(baseLength))), tableOf(mine));
    bool lit = game.litRow >= 0 && game.litRow < HighScoreRows;
    HighScoreEntry litEntry = lit ? game.highScores.rows[game.litRow] : HighScoreEntry{};
    std::string storedText(stored, static_cast<size_t>(storedLength));
    writeWholeFile(game.highScorePath, storedText);
    game.highScores = tableOf(storedText);
    if (lit)
        game.litRow = NoSelection;
    for (const HighScoreEntry &row : added) {
        int at = recordResult(row);
        if (lit && sameRow(row, litEntry))
            game.litRow = at;
    }
}
