// The profile (INI) store: the only way the library reaches its side files.
// Windows goes through WritePrivateProfileStringA / GetPrivateProfileStringA;
// POSIX through our own engine, which reads and writes the same layout:
//
//   [section]            names are trimmed and matched without regard to the
//   key=value            case of A-Z; values are trimmed of blanks, tabs and
//                        the other white space, and one pair of matching
//                        quotes around a value is removed on reading
//
// lines end in CR LF, new sections go to the end of the file and new keys to
// the end of their section. The engine parses the file once per ProfileFile.
// On both builds the writes of one ProfileFile go to a temporary file named
// after the target (POSIX: the engine's own copy in memory, written out by
// Flush; Windows: a copy of the file that the profile functions change), and
// Flush renames it over the target: a failure leaves the file as it was.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorix::platform {

// A bare file name is taken from the current folder: the Windows profile
// functions would look for it in the Windows folder, where the library's
// file-exists tests do not.
std::string ResolveProfilePath(const std::string& path);

// One INI file for the length of one library operation; nothing is kept
// between operations.
class ProfileFile {
 public:
  explicit ProfileFile(std::string path);
  ~ProfileFile();
  ProfileFile(const ProfileFile&) = delete;
  ProfileFile& operator=(const ProfileFile&) = delete;

  // Stores value under key in section, creating file, section or key as
  // needed. False when the file cannot be written (POSIX: reported by Flush).
  bool WriteString(const std::string& section, const std::string& key, const std::string& value);

  // The value of key in section, or defaultValue when the file, the section
  // or the key is missing; at most bufferSize - 1 bytes.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue, size_t bufferSize);

  // The section's key names in file order, as GetPrivateProfileStringA lists
  // them into a buffer of bufferSize bytes (each name and the list end by a NUL).
  std::vector<std::string> KeyNames(const std::string& section, size_t bufferSize);

  // Removes key from section; nothing happens when it is absent.
  bool DeleteKey(const std::string& section, const std::string& key);

  // Writes what WriteString and DeleteKey left pending. False when the file
  // cannot be written.
  bool Flush();

  // Why the last write failed: the file services' text naming the file and
  // the reason (empty when the platform gave none).
  const std::string& failure() const { return failure_; }

 private:
  struct Engine;
  std::string path_;
  std::string failure_;
  std::unique_ptr<Engine> engine_;
};

}  // namespace quorix::platform
