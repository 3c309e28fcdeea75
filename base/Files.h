#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

enum class FileRead { Missing, Read, Unreadable, Damaged };

// The directory a file is in: "." for a bare name.
std::string DirectoryOfFile(const std::string& path);
// Reads a regular file of at most maxBytes into out, without blocking. Anything else (a pipe, a device,
// a bigger file) reads as Damaged.
FileRead ReadRegularFile(const std::string& path, size_t maxBytes, std::string& out);
// Writes the file whole and atomically with the given mode: a crash at any moment leaves either the old
// file or the new one.
bool ReplaceFile(const std::string& path, const std::string& text, mode_t mode);
