// Files and folders: the program folder, case-insensitive look-up of the
// Windows-style paths the games build, and whole-file writes that go to a
// temporary name and rename into place.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

std::string program_folder();              // folder of the executable, with trailing '/'
void set_program_folder(const std::string& folder);  // tests and tools
std::string program_path();                // full path of the executable

// Converts '\' to '/' and finds each existing component ignoring case; parts
// that do not exist are kept as given.
std::string resolve_path(const std::string& path);
bool file_exists(const std::string& path);  // regular file, case-insensitive
bool folder_exists(const std::string& path);
bool make_folder(const std::string& path);  // true if it exists afterwards
bool remove_file(const std::string& path);
bool rename_file(const std::string& from, const std::string& to);
bool copy_file(const std::string& from, const std::string& to);
long file_size(const std::string& path);   // -1 when missing
std::vector<std::string> list_folder(const std::string& folder);  // file names, sorted

// Reads a whole file (at most max_bytes; larger files fail). False when missing or unreadable.
bool read_file(const std::string& path, std::vector<uint8_t>& out, size_t max_bytes = 256u << 20);
// Writes to "<path>.tmp-<pid>", flushes, then renames over path. On failure the
// old file is untouched and error says why.
bool write_file_atomic(const std::string& path, const void* data, size_t size,
                       std::string* error = nullptr);
inline bool write_file_atomic(const std::string& path, const std::vector<uint8_t>& data,
                              std::string* error = nullptr) {
  return write_file_atomic(path, data.data(), data.size(), error);
}

}  // namespace platform
