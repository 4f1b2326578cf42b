// paths.cpp: the program directory, the folder of the kept files, and the log file.
#include "base/paths.h"

#include "base/files.h"
#include "base/platform.h"
#include "base/save.h"
#include "base/state.h"

std::string pathUpToLast(const std::string &path, char separator)
{
    size_t cut = path.rfind(separator);
    if (cut == std::string::npos)
        return std::string();
    return path.substr(0, cut + 1);
}

std::string programDirOf(const std::string &path)
{
    // A shell passes a program it found on PATH by its bare name: then only the system can say
    // where the program lies (a file of that name in the working folder is another one).
    if (pathUpToLast(path, PathSeparator).empty()) {
        game.programDir = pathUpToLast(executablePath(), PathSeparator);
        return game.programDir;
    }
    // Started through a link (an installed game's command), the game's files lie beside the
    // program the link leads to.
    game.programDir = pathUpToLast(linkTarget(path), PathSeparator);
    return game.programDir;
}

// A game installed as a Debian package keeps nothing in its program folder, whoever starts it.
#ifdef TAVIREL_PACKAGED
static const bool Packaged = true;
#else
static const bool Packaged = false;
#endif

void chooseDataDir()
{
    game.dataDir = game.programDir;
    game.filesReadOnly = false;
    if (!Packaged && folderWritable(game.programDir))
        return;
    std::string own = userDataFolder();
    if (own.empty()) {
        game.filesReadOnly = Packaged;
        return;
    }
    game.dataDir = own;
    // What the player had beside the game goes on from the player's own folder: copied as it
    // is, saved as every kept file is.
    for (const char *name : {"opt.dat", "dex.dll", "controls.dat"}) {
        std::string text, mine;
        if (readKeptFile(game.programDir + name, KeptFileBound, text) &&
            !readKeptFile(own + name, KeptFileBound, mine))
            writeWholeFile(own + name, text);
    }
}

void openLog()
{
    // The program's folder unless start-up chose another one for the kept files.
    game.logPath = logPathIn(game.dataDir.empty() ? game.programDir : game.dataDir);
    if (game.filesReadOnly) {
        game.logFile.close();
        game.logFile.clear();
    } else {
        // Each piece goes through to the file as it is logged: a game that is killed or crashes
        // leaves its log behind, which is when the log is wanted most.
        openLogFile(game.logFile, game.logPath);
    }
    game.logFile.setf(std::ios::unitbuf);
    if (game.dataDir.empty() || game.dataDir == game.programDir) {
        if (!game.dataDir.empty() && !folderWritable(game.dataDir))
            game.logFile << "No folder to keep new files in: " << game.dataDir
                         << " cannot be written, and no folder of the player's own can be made\n";
    } else {
        bool beside = game.logPath.compare(0, game.dataDir.size(), game.dataDir) == 0;
        game.logFile << (beside ? "Settings, scores and this log are kept in " : "Settings and scores are kept in ")
                     << game.dataDir << "\n";
    }
}
