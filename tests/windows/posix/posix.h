// What of POSIX the tests use and MinGW lacks, included before every
// source of unit_tests.exe: setenv and unsetenv over the C runtime's
// environment (an empty value unsets, as the game takes it), pipe() by the
// runtime's pipes, and no FIFOs (the tests that make one are left out).
#pragma once
#include <fcntl.h>
#include <io.h>
#include <stdlib.h>
inline int setenv(const char *name, const char *value, int) { return _putenv_s(name, value); }
inline int unsetenv(const char *name) { return _putenv_s(name, ""); }
inline int pipe(int ends[2]) { return _pipe(ends, 1 << 16, _O_BINARY); }
inline int mkfifo(const char *, int) { return -1; }
