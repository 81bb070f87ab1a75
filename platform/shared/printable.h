// Text from outside (a file name, a string read from a file) made safe to
// print on a terminal: control characters, C1 controls and bytes that are
// not UTF-8 become \xHH, so that no escape sequence in them can move the
// cursor, erase a line or forge one.
#pragma once

#include <string>

std::string printable(const std::string &text);
