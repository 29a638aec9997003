// Small text helpers shared by the platform's parsers.
#pragma once
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <string>

namespace platform::detail {

inline std::string lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// A whole decimal number filling the string; false for empty, partial or out-of-range text.
inline bool to_long(const std::string& s, long& v) {
  if (s.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long r = std::strtol(s.c_str(), &end, 10);
  if (errno != 0 || *end != 0) return false;
  v = r;
  return true;
}

}  // namespace platform::detail
