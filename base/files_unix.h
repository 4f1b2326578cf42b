// files_unix.h: what Linux and the browser share of the file pieces (both speak POSIX calls).
#pragma once

#include <cstddef>
#include <string>

#include "base/platform.h"

// Reads at most `bound` bytes of the open descriptor `fd` into `text`, and closes it; false, with
// `text` empty, when it is not a regular file.
bool readOpenedKeptFile(int fd, size_t bound, std::string &text);

// The descriptor behind a handle.
inline int descriptor(FileHandle file)
{
    return static_cast<int>(file);
}
