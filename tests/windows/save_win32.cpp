// save_win32.cpp: what the save tests of every system ask of Windows: fresh folders named beyond
// ASCII, the saves run as they are, and files told apart by their index on their volume.
#include <windows.h>

#include "base/save.h"
#include "base/wide_win32.h"
#include "save_cases.h"
#include "windows_support.h"

const char *const SystemLineEnd = "\r\n";

// Windows' own places (a folder in the file's place, names beyond ASCII) are among the shared
// cases; it has no FIFOs, and links and a folder's rights are POSIX's cases.
std::vector<SaveCase> systemSaveCases()
{
    return {};
}

std::string freshSaveFolder()
{
    return freshFolder("Zoë\\Spielstände\\");
}

// Wine runs as the player who started it; a folder it may not write is not laid out here.
std::string saveAsPlayer(const SaveCase &c, const std::string &, const std::string &path, const std::string &bytes)
{
    return c.folderLocked || c.inSaver ? "(not a case for Windows)" : writeWholeFile(path, bytes);
}

unsigned long long fileIdentity(const std::string &path)
{
    HANDLE file = CreateFileW(widePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    BY_HANDLE_FILE_INFORMATION info;
    unsigned long long identity = 0;
    if (GetFileInformationByHandle(file, &info))
        identity = ((static_cast<unsigned long long>(info.nFileIndexHigh) << 32) | info.nFileIndexLow) + 1;
    CloseHandle(file);
    return identity;
}
