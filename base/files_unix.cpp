// files_unix.cpp: the file pieces that Linux and the browser share: bounded reads, writes from the
// start, closing and removing, and the words for an error.
#include "base/files_unix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

bool readOpenedKeptFile(int fd, size_t bound, std::string &text)
{
    text.clear();
    struct stat info;
    bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (regular)
        text.resize(bound);
    size_t done = 0;
    while (regular && done < bound) {
        ssize_t got = read(fd, &text[done], bound - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<size_t>(got);
    }
    text.resize(done);
    close(fd);
    return regular;
}

const char PathSeparator = '/';
const char TextLineEnd[] = "\n";

std::string fileErrorWords(FileError error)
{
    return error ? std::strerror(error) : std::string();
}

FileError writeFromStart(FileHandle file, const std::string &bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t written = pwrite(descriptor(file), bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        if (written == 0)
            return EIO;
        done += static_cast<size_t>(written);
    }
    return ftruncate(descriptor(file), static_cast<off_t>(bytes.size())) == 0 ? 0 : errno;
}

FileError closeFile(FileHandle file)
{
    return close(descriptor(file)) == 0 ? 0 : errno;
}

bool removeFile(const std::string &path)
{
    return unlink(path.c_str()) == 0;
}
