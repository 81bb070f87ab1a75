// Files by their names in UTF-8, the same way on every system: opened in
// binary (no newline or end-of-file byte is ever translated), by wide names
// on Windows, a new file made only where there is none, and a file put in
// another's place whole.
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>

// The characters that end a folder's name in a path.
#ifdef _WIN32
constexpr const char *FOLDER_SEPARATORS = "/\\";
#else
constexpr const char *FOLDER_SEPARATORS = "/";
#endif

// As fopen (give the mode its 'b': the file is read or written as it is).
std::FILE *open_file(const std::string &path, const char *mode);
// A descriptor for reading that never waits (a FIFO, a device), or -1 with
// errno.
int open_for_reading(const std::string &path);
// A file made for writing only where no file of that name is, or nullptr
// with errno.
std::FILE *create_new_file(const std::string &path);

enum class FileKind { None, Regular, Folder, Other };
// What the name stands for; None (with errno) when it cannot be told.
FileKind file_kind(const std::string &path);

// Whether both names stand for one existing file (by device and inode,
// whatever links or folders lead to it).
bool same_file(const std::string &a, const std::string &b);

// Everything written to the file on the disk: 0, or errno.
int sync_file(std::FILE *file);
// `from` takes the place of `to`, whole and at once, through to the disk:
// 0, or errno.
int replace_file(const std::string &from, const std::string &to);
int remove_file(const std::string &path);

// The longest name, in bytes, that a file in the folder may have.
size_t longest_file_name(const std::string &folder);
// Whether the last name of the path is no longer than its folder allows
// (in the system's own units: bytes, or UTF-16 on Windows).
bool file_name_fits(const std::string &path);
// This process's number, for names of its own.
long process_number();

// A name in UTF-8 as the library of paths takes it, and back.
std::filesystem::path path_of(const std::string &utf8);
std::string utf8_of(const std::filesystem::path &path);
