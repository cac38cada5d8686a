// The Windows profile functions, called as they are; they keep no handle
// open between calls, so there is nothing to flush.
#include "platform/profile.h"

#include <windows.h>

namespace quorix::platform {

struct ProfileFile::Engine {};

std::string ResolveProfilePath(const std::string& path) {
  if (path.empty() || path.find_first_of("\\/") != std::string::npos) return path;
  if (path.size() >= 2 && path[1] == ':') return path;  // drive-relative: not the Windows folder
  char buf[MAX_PATH];
  const DWORD n = GetFullPathNameA(path.c_str(), sizeof buf, buf, nullptr);
  if (n == 0 || n >= sizeof buf) return ".\\" + path;
  return std::string(buf, n);
}

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)) {}
ProfileFile::~ProfileFile() = default;

bool ProfileFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()) !=
         0;
}

std::string ProfileFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, size_t bufferSize) {
  if (bufferSize == 0) return {};
  std::string buf(bufferSize, '\0');
  const DWORD n =
      GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buf.data(),
                               static_cast<DWORD>(bufferSize), path_.c_str());
  buf.resize(n < bufferSize ? n : bufferSize - 1);
  return buf;
}

std::vector<std::string> ProfileFile::KeyNames(const std::string& section, size_t bufferSize) {
  std::vector<std::string> names;
  if (bufferSize < 3) return names;
  std::string buf(bufferSize, '\0');
  const DWORD n = GetPrivateProfileStringA(section.c_str(), nullptr, "", buf.data(),
                                           static_cast<DWORD>(bufferSize), path_.c_str());
  size_t start = 0;
  for (size_t i = 0; i < n && i < bufferSize; ++i) {
    if (buf[i] != '\0') continue;
    names.emplace_back(buf, start, i - start);
    start = i + 1;
  }
  if (start < n && n < bufferSize) names.emplace_back(buf, start, n - start);
  return names;
}

bool ProfileFile::Flush() { return true; }

}  // namespace quorix::platform
