// File names and the program's own file access. A file name stays what the
// user typed: on Linux its bytes, on Windows its wide characters (the
// program's own files are opened with the wide functions). Only where the
// library opens a file is the name turned into the bytes its file functions
// take.
#ifndef QUORIX_CLI_NATIVE_H
#define QUORIX_CLI_NATIVE_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace quorix::cli {

class Path {
 public:
  // `utf8`: as on the command line (on Linux any bytes, used unchanged).
  explicit Path(std::string utf8);

  const std::string& shown() const { return shown_; }
  // The name as the library takes it: on Linux Windows-1252 (the library
  // gives the system UTF-8 again); on Windows the system's ANSI code page,
  // the one the library's "A" functions use. A name that cannot be held so
  // is refused.
  std::string ForLibrary() const;
  // This path as a folder, followed by `name`.
  Path Join(std::string_view nameUtf8) const;
#if defined(_WIN32)
  const std::wstring& wide() const { return wide_; }
#endif

 private:
  std::string shown_;
#if defined(_WIN32)
  std::wstring wide_;
#endif
};

bool Exists(const Path& path);

// The whole file; a Failure names the file and the reason.
std::string ReadWholeFile(const Path& path);
// The file in pieces, for files of any size.
void ReadInPieces(const Path& path, const std::function<void(const std::uint8_t*, size_t)>& take);
// The last `count` bytes (fewer when the file is shorter).
std::string ReadTail(const Path& path, size_t count);
// Creates a new file that only its owner may read or write (POSIX mode 0600;
// on Windows an access list granting only the current user) and writes
// `bytes`. An existing file is never replaced; a failure leaves no file.
void CreateOwnerOnlyFile(const Path& path, std::string_view bytes);
// Replaces the file at `path` with `bytes` (platform/files.h): a failure
// leaves the old file as it was and no temporary file.
void WriteWholeFile(const Path& path, std::string_view bytes);
void RemoveFile(const Path& path);

// A file open for reading: what each system gives the reading functions
// above. Opening refuses a folder; every failure is a Failure naming the file.
class InputFile {
 public:
  explicit InputFile(const Path& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  std::uint64_t Size();
  void Seek(std::uint64_t offset);
  size_t Read(std::uint8_t* buf, size_t len);  // 0 at the end of the file

 private:
  const Path& path_;
  std::intptr_t handle_;
};

#if defined(_WIN32)
std::string Utf8FromWide(std::wstring_view wide, std::string_view what);
std::wstring WideFromUtf8(std::string_view utf8);
#endif

}  // namespace quorix::cli

#endif
