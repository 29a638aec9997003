// --trace: one line per frame of "name=value" pairs separated by blanks.
#pragma once
#include <cstdio>
#include <string>

namespace platform {

class TraceLine {
 public:
  TraceLine& add(const char* name, long long value);
  TraceLine& add(const char* name, const std::string& value);
  const std::string& str() const { return s_; }

 private:
  std::string s_;
};

bool trace_open(const std::string& path);  // no-op (true) for an empty path
bool trace_active();
void trace_write(const TraceLine& line);
void trace_close();

}  // namespace platform
