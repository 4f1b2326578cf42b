// platform_win32.cpp: the system calls of the game on Windows: its own path, its folders, files read safely, the pieces of a save and folder locks, every name in UTF-16.
#include "base/platform.h"

#include <windows.h>
#include <shlobj.h>

#include <filesystem>
#include <vector>

#include "base/wide_win32.h"

std::wstring widePath(const std::string &path)
{
    if (path.empty())
        return std::wstring();
    int length = MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), &wide[0], length);
    return wide;
}

std::string utf8Path(const std::wstring &path)
{
    if (path.empty())
        return std::string();
    int length = WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), &narrow[0], length, nullptr, nullptr);
    return narrow;
}

// The system's words for an error number, without the full stop and line end; empty for none.
static std::string failure(DWORD error)
{
    if (error == ERROR_SUCCESS)
        return std::string();
    wchar_t *words = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, reinterpret_cast<wchar_t *>(&words), 0, nullptr);
    std::wstring text = length && words ? std::wstring(words, length) : L"error " + std::to_wstring(error);
    LocalFree(words);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L'.' || text.back() == L' '))
        text.pop_back();
    return utf8Path(text);
}

std::string executablePath()
{
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::string();
        if (length < path.size())
            return utf8Path(std::wstring(path.data(), length));
        if (path.size() >= 32768)
            return std::string();
        path.resize(path.size() * 2);
    }
}

std::string programPath(const std::string &argv0)
{
    std::string own = executablePath();
    return own.empty() ? argv0 : own;
}

// Windows has shortcuts, not links that the file system follows for the game.
std::string linkTarget(const std::string &path)
{
    return path;
}

bool folderWritable(const std::string &folder)
{
    // The folder's rights are in its access list, which only an attempt reads reliably: a file
    // made there and gone again when it is closed.
    std::wstring probe = widePath(folder) + L"tavirel-" + std::to_wstring(GetCurrentProcessId()) + L".probe";
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

// Whether `path` is a folder of its own, no reparse point leading elsewhere.
static bool plainFolder(const std::wstring &path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The player's roaming application data folder: %APPDATA%, else what the system records for it.
static std::wstring applicationData()
{
    wchar_t value[32768];
    DWORD length = GetEnvironmentVariableW(L"APPDATA", value, 32768);
    // Only absolute folders count: a drive's root or a share, never the working folder.
    if (length > 2 && length < 32768 && (value[1] == L':' || (value[0] == L'\\' && value[1] == L'\\')))
        return value;
    wchar_t *known = nullptr;
    std::wstring folder;
    if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &known) == S_OK && known)
        folder = known;
    CoTaskMemFree(known);
    return folder;
}

std::string userDataFolder()
{
    std::wstring data = applicationData();
    if (data.empty())
        return std::string();
    if (data.back() != L'\\')
        data += L'\\';
    std::wstring folder = data + L"Tavirel";
    CreateDirectoryW(folder.c_str(), nullptr);
    std::string own = utf8Path(folder) + "\\";
    return plainFolder(folder) && folderWritable(own) ? own : std::string();
}

// Opens the file at `path` as itself, never through a reparse point (a link or junction put in
// its place), and shared so that other games may read and save meanwhile.
static HANDLE openKept(const std::wstring &path, DWORD access, DWORD creation)
{
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       creation, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// Whether the open handle is a regular file: on a disk, no folder, no reparse point; `links`
// receives its number of names.
static bool regularFile(HANDLE file, DWORD &links)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &info))
        return false;
    links = info.nNumberOfLinks;
    return !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE));
}

bool readKeptFile(const std::string &path, size_t bound, std::string &text)
{
    text.clear();
    HANDLE file = openKept(widePath(path), GENERIC_READ, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD links = 0;
    bool regular = regularFile(file, links);
    if (regular)
        text.resize(bound);
    size_t done = 0;
    while (regular && done < bound) {
        DWORD want = static_cast<DWORD>(bound - done < 0x10000000 ? bound - done : 0x10000000);
        DWORD got = 0;
        if (!ReadFile(file, &text[done], want, &got, nullptr) || got == 0)
            break;
        done += got;
    }
    text.resize(done);
    CloseHandle(file);
    return regular;
}

const char PathSeparator = '\\';
const char TextLineEnd[] = "\r\n";

std::string fileErrorWords(FileError error)
{
    return failure(static_cast<DWORD>(error));
}

static HANDLE handleOf(FileHandle file)
{
    return reinterpret_cast<HANDLE>(file);
}

static FileError lastError()
{
    return static_cast<FileError>(GetLastError());
}

Found openExistingFile(const std::string &path, FileHandle &file, FileError &error)
{
    std::wstring name = widePath(path);
    HANDLE opened = openKept(name, GENERIC_WRITE, OPEN_EXISTING);
    error = opened == INVALID_HANDLE_VALUE ? lastError() : 0;
    // A read-only file is refused as Windows refuses it, also where the system underneath would
    // let it be written (Wine run by root).
    BY_HANDLE_FILE_INFORMATION info;
    if (opened != INVALID_HANDLE_VALUE && GetFileInformationByHandle(opened, &info) &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY)) {
        CloseHandle(opened);
        opened = INVALID_HANDLE_VALUE;
        error = ERROR_ACCESS_DENIED;
    }
    file = opened == INVALID_HANDLE_VALUE ? NoFile : reinterpret_cast<FileHandle>(opened);
    if (file != NoFile)
        return Found::File;
    if (error == ERROR_FILE_NOT_FOUND)
        return Found::Missing;
    // A folder refuses to be opened for writing; its attributes tell it from a file the player
    // may not write.
    DWORD attributes = GetFileAttributesW(name.c_str());
    bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    return folder ? Found::NotAFile : Found::Failed;
}

// A file reached through a link is a reparse point, which regularFile refuses: only other names
// count here.
FileKind fileKind(FileHandle file, const std::string &)
{
    DWORD links = 0;
    if (!regularFile(handleOf(file), links))
        return FileKind::NotRegular;
    return links == 1 ? FileKind::OneName : FileKind::SeveralNames;
}

// The new file's rights come from its folder; ReplaceFileW gives it the old file's.
FileError createNewFile(const std::string &path, FileHandle, FileHandle &file)
{
    HANDLE made = CreateFileW(widePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    file = made == INVALID_HANDLE_VALUE ? NoFile : reinterpret_cast<FileHandle>(made);
    return file == NoFile ? lastError() : 0;
}

FileError writeFromStart(FileHandle file, const std::string &bytes)
{
    LARGE_INTEGER start = {};
    if (!SetFilePointerEx(handleOf(file), start, nullptr, FILE_BEGIN))
        return lastError();
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD want = static_cast<DWORD>(bytes.size() - done < 0x10000000 ? bytes.size() - done : 0x10000000);
        DWORD written = 0;
        if (!WriteFile(handleOf(file), bytes.data() + done, want, &written, nullptr))
            return lastError();
        if (written == 0)
            return ERROR_WRITE_FAULT;
        done += written;
    }
    return SetEndOfFile(handleOf(file)) ? 0 : lastError();
}

FileError flushFile(FileHandle file)
{
    return FlushFileBuffers(handleOf(file)) ? 0 : lastError();
}

FileError closeFile(FileHandle file)
{
    return CloseHandle(handleOf(file)) ? 0 : lastError();
}

FileError replaceFile(const std::string &path, const std::string &replacement)
{
    std::wstring name = widePath(path), with = widePath(replacement);
    // ReplaceFileW keeps the old file's rights and attributes; where there is no old file (or it
    // refuses), the new one is moved into its place.
    if (ReplaceFileW(name.c_str(), with.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return 0;
    if (MoveFileExW(with.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    return lastError();
}

bool removeFile(const std::string &path)
{
    return DeleteFileW(widePath(path).c_str()) != 0;
}

// The folder locks held, by the number lockFolder gave out for them.
static const int LockSlots = 8;
static HANDLE heldLocks[LockSlots];

int lockFolder(const std::string &folder)
{
    int slot = 0;
    while (slot < LockSlots && heldLocks[slot])
        slot++;
    if (slot == LockSlots)
        return -1;
    // A lock file of its own, which the games sharing the folder lock whole.
    std::wstring name = widePath(folder) + L"tavirel.lock";
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    DWORD links = 0;
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    if (!regularFile(file, links)) {
        CloseHandle(file);
        return -1;
    }
    for (int waited = 0; waited < 2000; waited += 10) {
        OVERLAPPED whole = {};
        if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole)) {
            heldLocks[slot] = file;
            return slot;
        }
        if (GetLastError() != ERROR_LOCK_VIOLATION && GetLastError() != ERROR_IO_PENDING)
            break;
        Sleep(10);
    }
    CloseHandle(file);
    return -1;
}

void unlockFolder(int handle)
{
    if (handle < 0 || handle >= LockSlots || !heldLocks[handle])
        return;
    // Closing the file lets its lock go.
    CloseHandle(heldLocks[handle]);
    heldLocks[handle] = nullptr;
}

bool openLogFile(std::ofstream &log, const std::string &path)
{
    if (log.is_open())
        log.close();
    log.clear();
    std::wstring name = widePath(path);
    // Held open, unshared for deleting and renaming, while the stream opens it: the name then
    // leads to the very file checked here. The stream is in text mode: its lines end in CR LF,
    // as Windows' text files do.
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD links = 0;
    if (regularFile(file, links) && SetEndOfFile(file))
        log.open(std::filesystem::path(name), std::ios::out | std::ios::trunc);
    CloseHandle(file);
    return log.is_open();
}

std::FILE *openForReading(const std::string &path)
{
    return _wfopen(widePath(path).c_str(), L"rb");
}

void tellPlayer(const std::string &sentence)
{
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    DWORD written = 0;
    std::string line = sentence + "\r\n";
    if (error && error != INVALID_HANDLE_VALUE &&
        WriteFile(error, line.data(), static_cast<DWORD>(line.size()), &written, nullptr))
        return;
    MessageBoxW(nullptr, widePath(sentence).c_str(), L"Tavirel", MB_OK | MB_ICONERROR);
}

// A Windows game has no terminal to hang up and no SIGHUP, SIGQUIT or SIGPIPE, and SDL's window
// turns its closing (the close button, the task manager's "end task") into a quit of its own:
// nothing more to watch for.
void watchForEndings(void (*)(const std::string &))
{
}

std::string endingNoticed()
{
    return std::string();
}
