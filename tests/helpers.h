// helpers.h: temporary program folders, files and a running game process for the tests.
#pragma once

#include <string>

// A fresh empty folder under /tmp, with its trailing '/'.
std::string makeTempDir();

void writeFile(const std::string &path, const std::string &contents);
std::string readFile(const std::string &path);
bool fileExists(const std::string &path);

// Copies the committed media/ folder into `dir` + "media/".
void copyMedia(const std::string &dir);
