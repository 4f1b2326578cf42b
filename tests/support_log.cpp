// support_log.cpp: what a start-up in which everything works writes to its log, on every system.
#include "support.h"

const char *const WindowLog =
    "Video initialize OK\n"
    "SDL video initialize OK\n"
    "SDL audio initialize OK\n"
    "Mix_open_audio 0\n";

const char *const PicturesLog =
    "Texture back.jpg loading ok\n"
    "Texture intro.jpg loading ok\n"
    "Texture font1.png loading ok\n"
    "Texture bobcat36.png loading ok\n"
    "Texture klocki.jpg loading ok\n"
    "Texture posw.png loading ok\n"
    "Texture wybuch.png loading ok\n";

const char *const SoundsLog =
    "Mix_LoadMUS m2.ogg OK\n"
    "Mix_LoadMUS m1.ogg OK\n"
    "Mix_LoadWAV explosion.ogg OK\n"
    "Mix_LoadWAV nextlevel.ogg OK\n"
    "Mix_LoadWAV spadanie.ogg OK\n"
    "Mix_LoadWAV ulozone.ogg OK\n"
    "Mix_LoadWAV greatscore.ogg OK\n"
    "Mix_LoadWAV badscore.ogg OK\n";

std::string startUpLog()
{
    return std::string(WindowLog) + PicturesLog + SoundsLog;
}
