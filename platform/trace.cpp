#include "trace.h"

namespace platform {
namespace {
std::FILE* g_trace = nullptr;
}

TraceLine& TraceLine::add(const char* name, long long value) { return add(name, std::to_string(value)); }

TraceLine& TraceLine::add(const char* name, const std::string& value) {
  if (!s_.empty()) s_ += ' ';
  s_ += name;
  s_ += '=';
  s_ += value;
  return *this;
}

bool trace_open(const std::string& path) {
  trace_close();
  if (path.empty()) return true;
  g_trace = std::fopen(path.c_str(), "w");
  return g_trace != nullptr;
}

bool trace_active() { return g_trace != nullptr; }

void trace_write(const TraceLine& line) {
  if (!g_trace) return;
  std::fputs(line.str().c_str(), g_trace);
  std::fputc('\n', g_trace);
}

void trace_close() {
  if (g_trace) std::fclose(g_trace);
  g_trace = nullptr;
}

}  // namespace platform
