// Files and folders with Windows-style, case-insensitive paths.
#include "files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {
namespace {

std::string g_program_folder;

bool same_nocase(const std::string& a, const char* b) {
  size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (std::tolower(x) != std::tolower(y)) return false;
  }
  return true;
}

bool stat_path(const std::string& path, struct stat& st) { return ::stat(path.c_str(), &st) == 0; }

}  // namespace

std::string program_path() {
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  buf[n] = 0;
  return buf;
}

std::string program_folder() {
  if (!g_program_folder.empty()) return g_program_folder;
  std::string p = program_path();
  size_t slash = p.rfind('/');
  return slash == std::string::npos ? std::string("./") : p.substr(0, slash + 1);
}

void set_program_folder(const std::string& folder) {
  g_program_folder = folder;
  if (!g_program_folder.empty() && g_program_folder.back() != '/') g_program_folder += '/';
}

std::string resolve_path(const std::string& path) {
  std::string p = path;
  std::replace(p.begin(), p.end(), '\\', '/');
  if (p.empty()) return p;
  struct stat st;
  if (stat_path(p, st)) return p;  // exact spelling exists

  // Walk component by component, matching each against the folder's entries.
  std::string out = p[0] == '/' ? "/" : "";
  size_t pos = p[0] == '/' ? 1 : 0;
  bool lost = false;  // once a component is missing the rest is kept as given
  while (pos <= p.size()) {
    size_t next = p.find('/', pos);
    if (next == std::string::npos) next = p.size();
    std::string part = p.substr(pos, next - pos);
    pos = next + 1;
    if (part.empty()) continue;
    std::string dir = out.empty() ? "." : out;
    std::string chosen = part;
    if (!lost && part != "." && part != "..") {
      std::string exact = (out.empty() ? "" : (out.back() == '/' ? out : out + "/")) + part;
      if (!stat_path(exact, st)) {
        bool found = false;
        if (DIR* d = ::opendir(dir.c_str())) {
          while (dirent* e = ::readdir(d)) {
            if (same_nocase(part, e->d_name)) {
              chosen = e->d_name;
              found = true;
              break;
            }
          }
          ::closedir(d);
        }
        if (!found) lost = true;
      }
    }
    if (!out.empty() && out.back() != '/') out += '/';
    out += chosen;
    if (next == p.size()) break;
  }
  if (!p.empty() && p.back() == '/' && (out.empty() || out.back() != '/')) out += '/';
  return out;
}

bool file_exists(const std::string& path) {
  struct stat st;
  return stat_path(resolve_path(path), st) && S_ISREG(st.st_mode);
}

bool folder_exists(const std::string& path) {
  struct stat st;
  return stat_path(resolve_path(path), st) && S_ISDIR(st.st_mode);
}

bool make_folder(const std::string& path) {
  if (folder_exists(path)) return true;
  std::string p = resolve_path(path);
  return ::mkdir(p.c_str(), 0777) == 0 || folder_exists(path);
}

bool remove_file(const std::string& path) { return ::unlink(resolve_path(path).c_str()) == 0; }

bool rename_file(const std::string& from, const std::string& to) {
  return ::rename(resolve_path(from).c_str(), resolve_path(to).c_str()) == 0;
}

bool copy_file(const std::string& from, const std::string& to) {
  std::vector<uint8_t> data;
  if (!read_file(from, data)) return false;
  return write_file_atomic(to, data);
}

long file_size(const std::string& path) {
  struct stat st;
  if (!stat_path(resolve_path(path), st) || !S_ISREG(st.st_mode)) return -1;
  return long(st.st_size);
}

std::vector<std::string> list_folder(const std::string& folder) {
  std::vector<std::string> names;
  std::string dir = resolve_path(folder);
  if (dir.empty()) dir = ".";
  if (DIR* d = ::opendir(dir.c_str())) {
    while (dirent* e = ::readdir(d)) {
      std::string full = dir + (dir.back() == '/' ? "" : "/") + e->d_name;
      struct stat st;
      if (stat_path(full, st) && S_ISREG(st.st_mode)) names.push_back(e->d_name);
    }
    ::closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool read_file(const std::string& path, std::vector<uint8_t>& out, size_t max_bytes) {
  out.clear();
  std::string p = resolve_path(path);
  int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || size_t(st.st_size) > max_bytes) {
    ::close(fd);
    return false;
  }
  out.resize(size_t(st.st_size));
  size_t got = 0;
  while (got < out.size()) {
    ssize_t n = ::read(fd, out.data() + got, out.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += size_t(n);
  }
  ::close(fd);
  out.resize(got);
  return got == size_t(st.st_size);
}

bool write_file_atomic(const std::string& path, const void* data, size_t size, std::string* error) {
  std::string target = resolve_path(path);
  std::string tmp = target + ".tmp-" + std::to_string(::getpid());
  auto fail = [&](const char* what) {
    if (error) *error = std::string(what) + " \"" + target + "\": " + std::strerror(errno);
    return false;
  };
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return fail("cannot create");
  const uint8_t* p = static_cast<const uint8_t*>(data);
  size_t done = 0;
  while (done < size) {
    ssize_t n = ::write(fd, p + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      int e = errno;
      ::close(fd);
      ::unlink(tmp.c_str());
      errno = e;
      return fail("cannot write");
    }
    done += size_t(n);
  }
  if (::fsync(fd) != 0 && errno != EINVAL) {
    int e = errno;
    ::close(fd);
    ::unlink(tmp.c_str());
    errno = e;
    return fail("cannot flush");
  }
  if (::close(fd) != 0) {
    int e = errno;
    ::unlink(tmp.c_str());
    errno = e;
    return fail("cannot close");
  }
  if (::rename(tmp.c_str(), target.c_str()) != 0) {
    int e = errno;
    ::unlink(tmp.c_str());
    errno = e;
    return fail("cannot replace");
  }
  return true;
}

}  // namespace platform
