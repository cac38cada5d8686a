#include "support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace qt {

std::string FileFailure(std::string_view verb, const std::string& file, std::string_view reason) {
  return "N\xE3o foi poss\xEDvel " + std::string(verb) + " o arquivo " + file + " (" +
         std::string(reason) + ")";
}

std::string SideFileFailure(const std::string& file, const std::string& failure) {
  return "Arquivo Inv\xE1lido \r\n" + file + "\r\nUnable to write to " + file + "\r\n" + failure;
}

namespace {
int g_counter = 0;
std::string TempRoot() {
#if defined(_WIN32)
  char buf[MAX_PATH];
  const DWORD n = GetTempPathA(sizeof buf, buf);
  std::string s(buf, n);
  if (!s.empty() && s.back() == '\\') s.pop_back();
  return s;
#else
  const char* t = std::getenv("TMPDIR");
  return t && *t ? t : "/tmp";
#endif
}
#if defined(_WIN32)
// The "\\?\" form of a path, which takes folders past MAX_PATH whole.
std::wstring LongPath(const std::string& path) {
  std::wstring wide(path.size(), L'\0');
  wide.resize(
      static_cast<size_t>(MultiByteToWideChar(1252, 0, path.data(), static_cast<int>(path.size()),
                                              wide.data(), static_cast<int>(wide.size()))));
  std::wstring full(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
  full.resize(
      GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
  return L"\\\\?\\" + full;
}

// Removes a folder and all it holds, however long its paths (the C
// runtime's functions stop at MAX_PATH).
bool RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
  bool removed = true;
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        removed = RemoveTree(path) && removed;
      else
        removed = (SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL) &&
                   DeleteFileW(path.c_str())) &&
                  removed;
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  return RemoveDirectoryW(folder.c_str()) && removed;
}
#endif
}  // namespace

TempDir::TempDir() {
#if defined(_WIN32)
  const unsigned long pid = GetCurrentProcessId();
#else
  const unsigned long pid = static_cast<unsigned long>(getpid());
#endif
  // Always a new folder: process numbers come round again (under Wine soon),
  // and a run that was cut short leaves its folders.
  for (;;) {
    path_ = TempRoot() + "/quorix-test-" + std::to_string(pid) + "-" + std::to_string(++g_counter);
#if defined(_WIN32)
    if (CreateDirectoryA(path_.c_str(), nullptr) || GetLastError() != ERROR_ALREADY_EXISTS) break;
#else
    if (mkdir(path_.c_str(), 0700) == 0 || errno != EEXIST) break;
#endif
  }
}

TempDir::~TempDir() {
#if defined(_WIN32)
  const bool failed = !RemoveTree(LongPath(path_));
#else
  std::error_code failed;
  std::filesystem::remove_all(path_, failed);
#endif
  if (failed) std::fprintf(stderr, "could not remove %s\n", path_.c_str());
}

std::string TempDir::file(std::string_view name) const { return path_ + "/" + std::string(name); }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool Exists(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return in.good();
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
#if defined(_WIN32)
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((LongPath(folder) + L"\\*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      char name[MAX_PATH * 2];
      names.emplace_back(name,
                         static_cast<size_t>(WideCharToMultiByte(1252, 0, fd.cFileName, -1, name,
                                                                 sizeof name, nullptr, nullptr)) -
                             1);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
#else
  DIR* d = opendir(folder.c_str());
  while (dirent* e = d ? readdir(d) : nullptr) names.push_back(e->d_name);
  if (d) closedir(d);
#endif
  names.erase(std::remove_if(names.begin(), names.end(),
                             [](const std::string& n) { return n == "." || n == ".."; }),
              names.end());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> ReportLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "last line without CR LF";
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string ProgramDir() {
#if defined(_WIN32)
  char buf[MAX_PATH];
  std::string s(buf, GetModuleFileNameA(nullptr, buf, sizeof buf));
  return s.substr(0, s.find_last_of("\\/"));
#else
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf);
  std::string s(buf, n > 0 ? static_cast<size_t>(n) : 0);
  return s.substr(0, s.rfind('/'));
#endif
}

std::string CopyFileTo(const std::string& from, const std::string& toDir) {
  const std::string name = from.substr(from.find_last_of("\\/") + 1);
  const std::string to = toDir + "/" + name;
  WriteFile(to, ReadFile(from));
#if !defined(_WIN32)
  chmod(to.c_str(), 0755);
#endif
  return to;
}

intptr_t StartProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& workingDir) {
#if defined(_WIN32)
  std::string cmd = "\"" + program + "\"";
  for (const auto& a : args) cmd += " \"" + a + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      workingDir.empty() ? nullptr : workingDir.c_str(), &si, &pi))
    return -1;
  CloseHandle(pi.hThread);
  return reinterpret_cast<intptr_t>(pi.hProcess);
#else
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    if (!workingDir.empty() && chdir(workingDir.c_str()) != 0) _exit(127);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  return pid;
#endif
}

int WaitProgram(intptr_t handle) {
  if (handle == -1) return -1;
#if defined(_WIN32)
  const HANDLE process = reinterpret_cast<HANDLE>(handle);
  WaitForSingleObject(process, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  return static_cast<int>(code);
#else
  int status = 0;
  if (waitpid(static_cast<pid_t>(handle), &status, 0) < 0) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

void KillProgram(intptr_t handle) {
  if (handle == -1) return;
#if defined(_WIN32)
  TerminateProcess(reinterpret_cast<HANDLE>(handle), 9);
#else
  kill(static_cast<pid_t>(handle), SIGKILL);
#endif
  WaitProgram(handle);
}

int RunProgram(const std::string& program, const std::vector<std::string>& args,
               const std::string& workingDir) {
  return WaitProgram(StartProgram(program, args, workingDir));
}

}  // namespace qt
