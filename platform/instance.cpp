// Single-instance guard over an abstract Unix socket: the first copy listens,
// a second one connects, says "raise" and ends.
#include "instance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstddef>
#include <cstring>

namespace platform {
namespace {

int g_listen = -1;

socklen_t make_address(const std::string& name, sockaddr_un& addr) {
  std::memset(&addr, 0, sizeof addr);
  addr.sun_family = AF_UNIX;
  // Abstract namespace: a leading NUL, then the name and the user id.
  std::string key = name + "." + std::to_string(::getuid());
  size_t n = std::min(key.size(), sizeof addr.sun_path - 2);
  std::memcpy(addr.sun_path + 1, key.data(), n);
  return socklen_t(offsetof(sockaddr_un, sun_path) + 1 + n);
}

}  // namespace

bool acquire_single_instance(const std::string& name) {
  if (g_listen >= 0) return true;
  sockaddr_un addr;
  socklen_t len = make_address(name, addr);
  int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (s < 0) return true;  // no sockets: nothing to guard with, run anyway
  if (::bind(s, reinterpret_cast<sockaddr*>(&addr), len) == 0 && ::listen(s, 4) == 0) {
    g_listen = s;
    return true;
  }
  ::close(s);
  if (errno != EADDRINUSE) return true;
  // Another copy holds the name: ask it to come forward.
  int c = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (c >= 0) {
    if (::connect(c, reinterpret_cast<sockaddr*>(&addr), len) == 0) {
      const char msg[] = "raise";
      ssize_t ignored = ::write(c, msg, sizeof msg - 1);
      (void)ignored;
    }
    ::close(c);
  }
  return false;
}

void release_single_instance() {
  if (g_listen >= 0) ::close(g_listen);
  g_listen = -1;
}

bool single_instance_raise_requested() {
  if (g_listen < 0) return false;
  bool raised = false;
  for (;;) {
    int c = ::accept4(g_listen, nullptr, nullptr, SOCK_CLOEXEC);
    if (c < 0) break;
    raised = true;
    ::close(c);
  }
  return raised;
}

}  // namespace platform
