// platform_desktop.cpp: what Linux and Windows do alike for the game: the log beside the kept files, threads.
#include "base/platform.h"

#include "SDL.h"

std::string logPathIn(const std::string &folder)
{
    return folder + "log.txt";
}

SDL_Thread *startWorker(int (*work)(void *))
{
    return SDL_CreateThread(work, nullptr);
}
