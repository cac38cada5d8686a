#include "support.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace fuzz {

void Violation(std::string_view harness, std::string_view what) {
  std::fprintf(stderr, "\n==== %.*s: invariant broken ====\n%.*s\n",
               static_cast<int>(harness.size()), harness.data(), static_cast<int>(what.size()),
               what.data());
  std::fflush(stderr);
  std::abort();
}

void RemoveTree(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) return;
  if (S_ISDIR(st.st_mode)) {
    if (DIR* dir = ::opendir(path.c_str())) {
      while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") RemoveTree(path + "/" + name);
      }
      ::closedir(dir);
    }
    ::rmdir(path.c_str());
  } else {
    ::unlink(path.c_str());
  }
}

namespace {

std::string MakeScratchFolder() {
  struct stat st;
  const char* base = std::getenv("TMPDIR");
  std::string folder = base && *base                                         ? base
                       : ::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm"
                                                                             : "/tmp";
  folder += "/quorix-fuzz.XXXXXX";
  if (!::mkdtemp(folder.data())) Violation("support", "no scratch folder");
  return folder;
}

void ListInto(const std::string& root, const std::string& relative, std::vector<std::string>& out) {
  DIR* dir = ::opendir((root + relative).c_str());
  if (!dir) return;
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    const std::string path = relative + "/" + name;
    out.push_back(path.substr(1));
    struct stat st;
    if (::lstat((root + path).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) ListInto(root, path, out);
  }
  ::closedir(dir);
}

}  // namespace

const std::string& ScratchFolder() {
  static const std::string folder = [] {
    std::string f = MakeScratchFolder();
    std::atexit([] { RemoveTree(ScratchFolder()); });
    return f;
  }();
  return folder;
}

void ResetFolder(const std::string& path) {
  // The folder itself stays: it may be a process's current folder.
  if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST)
    Violation("support", "cannot create " + path);
  for (const std::string& entry : ListTree(path))
    if (entry.find('/') == std::string::npos) RemoveTree(path + "/" + entry);
}

std::vector<std::string> ListTree(const std::string& folder) {
  std::vector<std::string> entries;
  ListInto(folder, "", entries);
  std::sort(entries.begin(), entries.end());
  return entries;
}

bool ReadFile(const std::string& path, std::string& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bytes.clear();
  char buf[65536];
  ssize_t n;
  while ((n = ::read(fd, buf, sizeof buf)) > 0) bytes.append(buf, static_cast<size_t>(n));
  ::close(fd);
  return n == 0;
}

void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) Violation("support", "cannot write " + path);
}

}  // namespace fuzz
