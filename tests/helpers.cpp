// helpers.cpp: temporary program folders and files for the tests.
#include "helpers.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>

std::string makeTempDir()
{
    char pattern[] = "/tmp/tavirel-test-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    return std::string(pattern) + "/";
}

void writeFile(const std::string &path, const std::string &contents)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool fileExists(const std::string &path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

void copyMedia(const std::string &dir)
{
    std::string command = std::string("cp -r '") + TAVIREL_SOURCE_DIR + "/media' '" + dir + "'";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("copying media failed");
}
