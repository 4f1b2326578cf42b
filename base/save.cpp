// save.cpp: a kept file saved whole or not at all, one decision for every system, over the file pieces of base/platform.h.
#include "base/save.h"

#include "base/platform.h"

static const char *const NotAFile = "not a file";
static const char *const LinkRefused = "a link of another user in a folder that others may write";

// The bytes written from the start of the open file, cut after them and flushed, then the file
// closed. The first error, or 0.
static FileError writeAndClose(FileHandle file, const std::string &bytes)
{
    FileError error = writeFromStart(file, bytes);
    if (error == 0)
        error = flushFile(file);
    FileError closing = closeFile(file);
    return error ? error : closing;
}

enum class Replaced { Done, NoTemporary, Failed };

// A temporary file beside `path`, made afresh in the likeness of the open file `old` (NoFile:
// none yet), written and flushed, then put in the old file's place: a save cut short leaves the
// old file or the new one, never half of one. `old` is closed before that (Windows replaces no
// file held open), unless the folder, or the old file's owner, allows no temporary file: then it
// stays open and NoTemporary is returned. `error` receives what went wrong.
static Replaced replaceByTemporary(const std::string &path, const std::string &bytes, FileHandle &old, FileError &error)
{
    const std::string temporary = path + ".new";
    // Whatever lies under that name (left by a save cut short, or put there by someone else) is
    // taken away, never opened: the new file is made afresh, or not at all.
    removeFile(temporary);
    FileHandle made = NoFile;
    error = createNewFile(temporary, old, made);
    if (error)
        return Replaced::NoTemporary;
    error = writeAndClose(made, bytes);
    if (old != NoFile) {
        closeFile(old);
        old = NoFile;
    }
    if (error == 0)
        error = replaceFile(path, temporary);
    if (error == 0)
        return Replaced::Done;
    removeFile(temporary);
    return Replaced::Failed;
}

std::string writeWholeFile(const std::string &path, const std::string &bytes)
{
    FileHandle file = NoFile;
    FileError error = 0;
    // Opened for writing first: a file the player may not write is left alone.
    switch (openExistingFile(path, file, error)) {
    case Found::File:
        break;
    case Found::Missing:
        replaceByTemporary(path, bytes, file, error);
        return fileErrorWords(error);
    case Found::NotAFile:
        return NotAFile;
    case Found::LinkRefused:
        return LinkRefused;
    case Found::Failed:
        return fileErrorWords(error);
    }
    FileKind kind = fileKind(file, path);
    if (kind == FileKind::NotRegular) {
        closeFile(file);
        return NotAFile;
    }
    if (kind == FileKind::OneName && replaceByTemporary(path, bytes, file, error) != Replaced::NoTemporary)
        return fileErrorWords(error);
    // Rewritten in place: a save cut short between writing and cutting leaves the new text whole,
    // followed by a rest of the old one that reading passes over: the settings and the table stop
    // after their last field, and controls.dat names every control before it.
    return fileErrorWords(writeAndClose(file, bytes));
}

std::string withTextLineEnds(const std::string &text)
{
    std::string lines;
    for (char c : text) {
        if (c == '\n')
            lines += TextLineEnd;
        else
            lines += c;
    }
    return lines;
}
