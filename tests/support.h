// Host-side helpers for the tests: texts in the host's form, the last error
// message, scratch folders and files, and child processes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "quorix.h"

namespace qt {

// A host text variable: owns one reference, released at the end of scope.
class HostText {
 public:
  HostText() = default;
  explicit HostText(std::string_view s)
      : p_(quorix_text_new(s.data(), static_cast<int32_t>(s.size()))) {}
  ~HostText() { quorix_text_release(p_); }
  HostText(const HostText&) = delete;
  HostText& operator=(const HostText&) = delete;
  operator quorix_text() const { return p_; }
  char** out() { return &p_; }
  std::string str() const { return p_ ? std::string(p_, quorix_text_length(p_)) : std::string(); }
  int32_t refcount() const { return quorix_text_refcount(p_); }

 private:
  char* p_ = nullptr;
};

// Texts made for one call, kept alive until the end of the statement.
struct T {
  explicit T(std::string_view s) : text(s) {}
  operator quorix_text() const { return text; }
  HostText text;
};

std::string LastError();

// The file services' failure text:
// "Não foi possível <verb> o arquivo <file> (<reason>)".
std::string FileFailure(std::string_view verb, const std::string& file, std::string_view reason);
// A side file's write failure as the exports report it.
std::string SideFileFailure(const std::string& file, const std::string& failure);
inline constexpr const char* kNoSuchFolder = "pasta ou arquivo inexistente";

// Sample taxpayers.
inline constexpr const char* kCnpj = "11.222.333/0001-81";
inline constexpr const char* kCnpjDigits = "11222333000181";
inline constexpr const char* kCpf = "529.982.247-25";

// Opens a report for the sample taxpayer; fails the test otherwise.
void OpenSampleReport();

// Closes whatever report is open, so that each test starts closed.
void CloseAnyReport();

// Finishes the open report into a scratch file and gives its lines without
// the signature line.
std::vector<std::string> FinishedLines();

// A fresh folder under the system's temporary folder, removed at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string file(std::string_view name) const;

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, std::string_view bytes);
bool Exists(const std::string& path);
// The names in a folder (without "." and ".."), sorted.
std::vector<std::string> FolderEntries(const std::string& folder);

// Splits a report file into its lines, checking that each ends in CR LF.
std::vector<std::string> ReportLines(const std::string& bytes);

// Folder of the running test program (where the libraries are built).
std::string ProgramDir();
std::string CopyFileTo(const std::string& from, const std::string& toDir);
// Runs a program and waits; returns its exit code (-1 when it could not start).
int RunProgram(const std::string& program, const std::vector<std::string>& args,
               const std::string& workingDir);
// The same in two steps, for programs that run at the same time: Start gives
// a handle (-1 when the program could not start), Wait its exit code.
intptr_t StartProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& workingDir);
int WaitProgram(intptr_t handle);
// Kills a started program at once, as a power cut or the task manager would,
// and waits for its end.
void KillProgram(intptr_t handle);

// A valid 256-character key pair from the signing library.
struct KeyPair {
  HostText publicKey, privateKey;
};
const KeyPair& Keys();

}  // namespace qt
