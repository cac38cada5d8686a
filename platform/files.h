// File services: the only place where the library touches the file system.
// Failures raise a Failure with a Portuguese text naming the file and why:
// "Não foi possível gravar o arquivo <file> (disco cheio)".
//
// Every file the library writes replaces its target whole: the bytes go to a
// temporary file in the same folder, named after the target, which is
// renamed over the target once complete and on the device. A failure leaves
// the target as it was and removes the temporary file; one left by a crash
// is taken over and reused by the next write of the same target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_faults.h"

namespace quorix::platform {

struct ByteRange {
  const char* data;
  size_t size;
};

// True when a file (not a folder) exists at the path. A path holding a NUL
// names no file.
bool FileExists(const std::string& path);

// The temporary file that stands in for target while it is being replaced.
inline constexpr std::string_view kTemporarySuffix = ".quorix-tmp";
inline std::string TemporaryPathFor(const std::string& target) {
  return target + std::string(kTemporarySuffix);
}

// One replacement of a file. The constructor refuses a target that is a
// folder or cannot be written, and creates the temporary file. Write, then
// Close (the bytes reach the device; the temporary file may then be opened
// by name, e.g. to be signed), then Commit. Destroyed before Commit, it
// removes the temporary file and the target stays as it was.
class FileReplacement {
 public:
  explicit FileReplacement(const std::string& target);
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  void Write(const char* data, size_t size);
  void Close();
  void Commit();
  const std::string& temporaryPath() const { return temp_; }

 private:
  std::string shown_;   // the target as the caller named it, for messages
  std::string target_;  // the file actually replaced (a link's target)
  std::string temp_;
  intptr_t handle_ = -1;  // the temporary file, open for writing
  intptr_t lock_ = -1;    // POSIX: holds the temporary file's lock until the end
  bool committed_ = false;
};

// Replaces the file at path with the ranges `next` gives until one of size 0.
template <class NextRange>
void ReplaceFileWith(const std::string& path, NextRange&& next) {
  FileReplacement file(path);
  for (ByteRange r = next(); r.size != 0; r = next()) file.Write(r.data, r.size);
  file.Close();
  file.Commit();
}

inline void ReplaceFileWithBytes(const std::string& path, std::string_view bytes) {
  bool done = false;
  ReplaceFileWith(path, [&] {
    const ByteRange r{bytes.data(), done ? 0 : bytes.size()};
    done = true;
    return r;
  });
}

// The failure text of a file operation: what + file + " (" + reason + ")",
// the reason in Portuguese for the failures a host can act upon. The error
// is errno on POSIX and GetLastError's code on Windows.
std::string FileFailureText(std::string_view what, const std::string& file, int nativeError);
// The native error a seam fault stands for (0 when none is armed for op).
int TakeNativeFault(FileOp op);

// Per platform: the kind of a native error, the native error of a seam
// fault, and the system's own text for an error of no kind of ours.
enum class FileError {
  Other,
  DiskFull,
  IoError,
  AccessDenied,
  ReadOnly,
  NotFound,
  IsFolder,
  InUse
};
FileError ClassifyError(int nativeError);
int NativeError(FileFault fault);
std::string OtherErrorText(int nativeError);

}  // namespace quorix::platform
