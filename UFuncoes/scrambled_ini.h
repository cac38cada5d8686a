// The scrambled INI store behind both side files: every section name, key
// and value reaches the file with each byte moved up by one fixed offset, so
// that the files cannot be read or edited as plain text.
//
// The offset is 117. Every printable ASCII character and every letter of
// Windows-1252 then scrambles to a byte that an INI value keeps intact
// anywhere (never NUL, CR, LF, white space or a quote), and names made of
// printable ASCII never scramble into "=", "[", "]", ";" or white space.
// What would still be altered is refused before anything is written.
#pragma once

#include <exception>
#include <string>
#include <string_view>

#include "platform/profile.h"

namespace quorix::store {

inline constexpr unsigned char kScrambleOffset = 117;
// A value read back is cut to what a buffer of this size holds, NUL included.
inline constexpr size_t kReadBufferSize = 2048;

std::string ScrambleText(std::string_view text);
std::string UnscrambleText(std::string_view scrambled);

// Raises a Failure naming the text and the first byte that the INI layout
// would alter: in a value a NUL, CR or LF anywhere, or white space or a quote
// at either end; in a section name or key also "=", "[", "]" or ";" anywhere.
// A value longer than a read gives back is refused too, naming the limit.
void CheckStorable(std::string_view section, std::string_view key, std::string_view value);

// One side file for the length of one operation. Writes reach the file at
// the latest when Commit is called.
class ScrambledIni {
 public:
  explicit ScrambledIni(std::string_view iniFileName);

  // A file (not a folder) of that name exists.
  bool FileExists() const;

  // Stores value under key in section. A text that cannot be stored intact
  // is refused with a Failure; so is a write the platform refuses ("Unable to
  // write to " + the file name).
  bool WriteScrambledValue(std::string_view section, std::string_view key, std::string_view value);

  // The key is in the section, with any value (the empty one included).
  bool HasKey(std::string_view section, std::string_view key);

  // Removes the key; raises "Unable to write to ..." when the file cannot
  // be written.
  void DeleteScrambledValue(std::string_view section, std::string_view key);

  // The stored value, or defaultValue after storing it when the key is absent.
  std::string ReadScrambledValue(std::string_view section, std::string_view key,
                                 std::string_view defaultValue);

  // Writes everything still pending; raises "Unable to write to ..." on failure.
  void Commit();

 private:
  [[noreturn]] void FailToWrite() const;
  // The stored value of a present key.
  bool Probe(const std::string& section, const std::string& key, std::string& value);

  std::string fileName_;  // as the host gave it, for messages
  std::string path_;      // as the platform is given it
  platform::ProfileFile profile_;
};

// The side files' failure messages: "Arquivo Inválido " + the file name, and
// with a failure's text: "Arquivo Inválido " CR LF file CR LF text.
void SetInvalidFile(std::string_view iniFileName);
void SetInvalidFile(std::string_view iniFileName, const std::exception& failure);

// A side file's name holding a NUL would name another file: true, with
// "Arquivo Inválido " CR LF name CR LF the NUL's position as the last error
// message, before any file is touched.
bool RefusedNulFileName(std::string_view iniFileName);

}  // namespace quorix::store
