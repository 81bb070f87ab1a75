// Text between the game's UTF-8 and the UTF-16 of Windows' wide calls.
// Windows only.
#pragma once

#include <string>

std::wstring utf16_of(const std::string &utf8);
std::string utf8_of_utf16(const wchar_t *text, int length = -1);
