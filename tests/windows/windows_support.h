// windows_support.h: what the Windows tests share: fresh folders with names in any alphabet, and
// this test program run again as a child (a second game, or a game started from another folder).
#pragma once

#include <string>
#include <vector>

// A fresh empty folder under the system's temporary folder, ending in `name` (UTF-8, may hold
// folders of its own), with its trailing backslash.
std::string freshFolder(const std::string &name);

std::string readWhole(const std::string &path);
void writeWhole(const std::string &path, const std::string &text);
bool exists(const std::string &path);

// `text` with each line end '\n' made CR LF, as Windows' text files end their lines.
std::string crLf(const std::string &text);

// This test program with its DLLs and the committed media/ copied into `folder`.
void copyGameInto(const std::string &folder);

// Starts `exe` (UTF-8) running only the tests that `filter` names, with `environment` added
// ("NAME=value"); the child's handle, to wait for with waitForChild.
void *startChild(const std::string &exe, const std::string &filter, const std::vector<std::string> &environment);

// The child's exit status, or -1 if it is still running after 60 s (it is then ended).
int waitForChild(void *child);

// The value of an environment variable as UTF-8, empty when not set.
std::string environment(const char *name);
