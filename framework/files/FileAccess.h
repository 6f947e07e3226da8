#pragma once
// Private to the files library: the small file helpers it shares. Paths are
// native byte strings.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace fw::detail {

// The native path as the standard library wants it (UTF-8 on Windows).
std::filesystem::path ToFsPath(const std::string& path);
// A path the library can hand to the system: not empty, no NUL byte.
bool UsablePath(const std::string& path);
std::FILE* OpenFile(const std::string& path, const char* mode);
// Reads a whole regular file of at most `limit` bytes.
bool ReadWholeFile(const std::string& path, std::string& out, std::uint64_t limit);
bool IsDirectory(const std::string& path);
bool IsRegularFile(const std::string& path);
bool ExistsOnDisk(const std::string& path);

}  // namespace fw::detail
