// save.h: a kept file saved whole, one way on every system, over the file pieces of base/platform.h.
#pragma once

#include <string>

// Puts `bytes` into the file at `path` whole. Where the folder allows it, a new file is made
// afresh beside it, under the name `path` + ".new" (whatever lay there is taken away, never
// opened), and put in its place, with the old file's owner and mode: a save cut short leaves the
// old file or the new one. Where no such file can be made, a file there already is rewritten in
// place from the start and cut after the new text; so is a file reached through a link or known
// by other names, which a new file would cut loose. A file the player may not write is left
// alone, and so is anything but a regular file. A first save (no file yet) goes through the
// new file too. The empty text when the file holds `bytes`; otherwise the system's words for
// what failed, "not a file", or "a link of another user in a folder that others may write".
std::string writeWholeFile(const std::string &path, const std::string &bytes);

// `text`, whose lines end in '\n', with the system's line ends (TextLineEnd) instead.
std::string withTextLineEnds(const std::string &text);
