// File services: the only place where the library touches the file system.
// Failures raise a Failure with a Portuguese text naming the file and why:
// "Não foi possível gravar o arquivo <file> (disco cheio)".
//
// A file name is a Windows-1252 text like every other text of the library:
// on Linux it reaches the system as UTF-8, so that the same call names the
// same file on both builds.
//
// Every file the library writes replaces its target whole, under the
// target's lock: the bytes go to a temporary file in the same folder, which
// is renamed over the target once complete and on the device. A failure
// leaves the target as it was and removes the temporary file; one left by a
// crash is taken over and reused by the next write of the same target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_faults.h"

namespace quorix::platform {

struct ByteRange {
  const char* data;
  size_t size;
};

// The system's form of a host's file name. Refuses (with a Failure) the
// empty name, a NUL and, on Linux, a byte Windows-1252 leaves undefined.
std::string SystemPath(std::string_view name);

// True when a file (not a folder) exists at the path (the host's name). A
// name the system cannot be given names no file.
bool FileExists(std::string_view name);

// The name of an existing file (in the system's form) for the functions that
// take Windows-1252 names up to MAX_PATH (the signing library, the Windows
// profile functions): the path itself, or on Windows, for a longer one, the
// file's short name where the volume keeps short names.
std::string PathForOutsideLibrary(const std::string& path);

// The library's own files beside a target (a name in the system's form):
// its lock and its temporary file. Short, so that every target the system
// accepts leaves room for them; two targets of one folder share them only
// in the rare case of equal hashes, which makes them take turns, no more.
std::string LockPathFor(const std::string& target);
std::string TemporaryPathFor(const std::string& target);

// How long a writer waits for another writer of the same file (in this or
// another process) to finish before it gives up.
inline constexpr int kLockWaitMilliseconds = 20000;

// The turn of one writer on one file: held from before the file is read to
// after it is replaced, so that two programs updating one file never lose
// each other's updates. Taken from the host's name (the lock belongs to the
// file a link points to). A writer that waits longer than waitMilliseconds
// fails, naming the file. A reader (forReading) goes on without the lock
// where the folder cannot hold one: nothing can replace a file there.
class FileLock {
 public:
  explicit FileLock(std::string_view name, bool forReading = false,
                    int waitMilliseconds = kLockWaitMilliseconds);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  bool held() const { return handle_ != -1; }
  // The host's name, for messages.
  const std::string& shown() const { return shown_; }
  // The file that is replaced, in the system's form.
  const std::string& target() const { return target_; }

 private:
  std::string shown_, target_, lock_;
  intptr_t handle_ = -1;
};

// One replacement of a file. The constructor refuses a target that is a
// folder or cannot be written, takes the target's lock (unless the caller
// holds it) and creates the temporary file. Write, then Close (the bytes
// reach the device; the temporary file may then be opened by name, e.g. to
// be signed), then Commit. Destroyed before Commit, it removes the
// temporary file and the target stays as it was.
class FileReplacement {
 public:
  explicit FileReplacement(std::string_view target);
  explicit FileReplacement(const FileLock& held);
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  void Write(const char* data, size_t size);
  void Close();
  void Commit();
  // In the system's form.
  const std::string& temporaryPath() const { return temp_; }

 private:
  void Open(const FileLock& lock);

  std::unique_ptr<FileLock> own_;  // when the caller holds no lock
  std::string shown_;              // the target as the caller named it, for messages
  std::string target_;             // the file actually replaced (a link's target)
  std::string temp_;
  intptr_t handle_ = -1;  // the temporary file, open for writing
  bool committed_ = false;
};

// Replaces the file at path with the ranges `next` gives until one of size 0.
template <class Target, class NextRange>
void ReplaceFileWith(const Target& target, NextRange&& next) {
  FileReplacement file(target);
  for (ByteRange r = next(); r.size != 0; r = next()) file.Write(r.data, r.size);
  file.Close();
  file.Commit();
}

// target: the host's name, or the FileLock the caller holds.
template <class Target>
void ReplaceFileWithBytes(const Target& target, std::string_view bytes) {
  bool done = false;
  ReplaceFileWith(target, [&] {
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
  InUse,
  NameTooLong,
  InvalidName,
  TooManyFiles,
  OutOfMemory,
  LinkLoop,
  NotReady,
  Network
};
FileError ClassifyError(int nativeError);
int NativeError(FileFault fault);
std::string OtherErrorText(int nativeError);
// How one attempt at a file's lock ended: taken (or given up, for a reader
// that goes on without it), held by another writer, or to be made again at
// once (the lock file lost its name meanwhile).
enum class LockAttempt { Taken, Busy, Again };
// Repeats `attempt` until it ends Taken, pausing 1, 2, 4, then 8 ms after
// each Busy; a writer still waiting after waitMilliseconds fails, naming
// `shown`.
void WaitForLock(const std::string& shown, int waitMilliseconds,
                 const std::function<LockAttempt()>& attempt);
// FNV-1a of the name, in hexadecimal: the tag of the files beside a target.
std::string NameTag(std::string_view name);

}  // namespace quorix::platform
