// windows_support.cpp: fresh folders, whole files, and this test program run again as a child.
#include "windows_support.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/wide_win32.h"

namespace fs = std::filesystem;

std::string freshFolder(const std::string &name)
{
    static int made = 0;
    // Wine gives its processes the same few numbers run after run: the time tells the runs apart,
    // as what one leaves (a read-only file) may not be removed.
    fs::path folder = fs::temp_directory_path() / ("tavirel-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                                                   std::to_string(GetTickCount64()) + "-" + std::to_string(++made));
    folder /= fs::u8path(name);
    fs::create_directories(folder);
    std::string path = folder.u8string();
    return path.back() == '\\' ? path : path + "\\";
}

std::string readWhole(const std::string &path)
{
    std::ifstream in(fs::u8path(path), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeWhole(const std::string &path, const std::string &text)
{
    std::ofstream out(fs::u8path(path), std::ios::binary | std::ios::trunc);
    out << text;
}

bool exists(const std::string &path)
{
    std::error_code error;
    return fs::exists(fs::u8path(path), error);
}

std::string crLf(const std::string &text)
{
    std::string lines;
    for (char c : text)
        lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return lines;
}

void copyGameInto(const std::string &folder)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    fs::path program(self);
    fs::path target = fs::u8path(folder);
    fs::copy_file(program, target / program.filename(), fs::copy_options::overwrite_existing);
    for (const auto &entry : fs::directory_iterator(program.parent_path()))
        if (entry.path().extension() == ".dll")
            fs::copy_file(entry.path(), target / entry.path().filename(), fs::copy_options::overwrite_existing);
    fs::copy(fs::u8path(std::string(TAVIREL_SOURCE_DIR) + "/media"), target / "media", fs::copy_options::recursive);
}

void *startChild(const std::string &exe, const std::string &filter, const std::vector<std::string> &environment)
{
    for (const std::string &setting : environment) {
        size_t cut = setting.find('=');
        SetEnvironmentVariableW(widePath(setting.substr(0, cut)).c_str(), widePath(setting.substr(cut + 1)).c_str());
    }
    std::wstring command = L"\"" + widePath(exe) + L"\" --gtest_filter=" + widePath(filter);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    // The child has its copy of the environment: this process's goes back as it was.
    for (const std::string &setting : environment)
        SetEnvironmentVariableW(widePath(setting.substr(0, setting.find('='))).c_str(), nullptr);
    if (!started)
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

int waitForChild(void *child)
{
    if (!child)
        return -1;
    DWORD status = static_cast<DWORD>(-1);
    if (WaitForSingleObject(child, 60000) != WAIT_OBJECT_0)
        TerminateProcess(child, 1);
    else
        GetExitCodeProcess(child, &status);
    CloseHandle(child);
    return static_cast<int>(status);
}

std::string environment(const char *name)
{
    wchar_t value[32768];
    DWORD length = GetEnvironmentVariableW(widePath(name).c_str(), value, 32768);
    return length && length < 32768 ? utf8Path(std::wstring(value, length)) : std::string();
}
