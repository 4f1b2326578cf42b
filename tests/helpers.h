// helpers.h: temporary program folders, files and a running game process for the tests.
#pragma once

#include <string>

// A fresh empty folder under /tmp, with its trailing '/'.
std::string makeTempDir();

void writeFile(const std::string &path, const std::string &contents);
std::string readFile(const std::string &path);
bool fileExists(const std::string &path);

// What a start-up in which everything works writes to log.txt, in its three parts.
extern const char *const WindowLog;    // the window, SDL video and audio, the audio device
extern const char *const PicturesLog;  // the seven pictures, fonts' included
extern const char *const SoundsLog;    // the two music tracks and six effects

// Copies the committed media/ folder into `dir` + "media/".
void copyMedia(const std::string &dir);
