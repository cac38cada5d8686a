// File services: the only place where the library touches the file system.
// Failures raise a Failure with a Portuguese text naming the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorix::platform {

struct ByteRange {
  const char* data;
  size_t size;
};

// True when a file (not a folder) exists at the path.
bool FileExists(const std::string& path);

// Deletes the file; raises a Failure when it exists and cannot be deleted.
void DeleteFileAt(const std::string& path);

// Creates (or truncates) the file and writes the ranges in order, as large
// writes. `next` is called until it returns a range of size 0.
template <class NextRange>
void WriteFileFromRanges(const std::string& path, NextRange&& next);

// Implementation detail of WriteFileFromRanges.
class OutputFile {
 public:
  explicit OutputFile(const std::string& path);  // create or truncate
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  void Write(const char* data, size_t size);
  void Close();  // reports a failure to flush; the destructor does not

 private:
  std::string path_;
  intptr_t handle_;
};

template <class NextRange>
void WriteFileFromRanges(const std::string& path, NextRange&& next) {
  OutputFile file(path);
  for (ByteRange r = next(); r.size != 0; r = next()) file.Write(r.data, r.size);
  file.Close();
}

}  // namespace quorix::platform
