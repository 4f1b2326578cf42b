// wide_win32.h: the game's UTF-8 paths as Windows' UTF-16 names and back (base/platform_win32.cpp).
#pragma once

#include <string>

std::wstring widePath(const std::string &path);
std::string utf8Path(const std::wstring &path);
