// paths.cpp: the program directory and the log file.
#include "app/paths.h"

#include "app/state.h"

std::string pathUpToLast(const std::string &path, char separator)
{
    size_t cut = path.rfind(separator);
    if (cut == std::string::npos)
        return std::string();
    return path.substr(0, cut + 1);
}

std::string programDirOf(const std::string &path)
{
    game.programDir = pathUpToLast(path, PathSeparator);
    return game.programDir;
}

void openLog()
{
    game.logPath = game.programDir + "log.txt";
    game.logFile.open(game.logPath, std::ios::out | std::ios::trunc);
}
