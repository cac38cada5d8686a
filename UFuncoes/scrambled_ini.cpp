#include "UFuncoes/scrambled_ini.h"

#include "UConst/failure.h"
#include "UConst/last_error.h"
#include "UConst/messages.h"
#include "UConst/text_checks.h"
#include "platform/files.h"

namespace quorix::store {
namespace {

// Two defaults no stored value can equal at once: a key reads back as one of
// them only when it is absent. Asking the profile functions themselves keeps
// the existence test and the lookup in agreement on every name, and sees
// every key of a section however many there are.
const std::string kProbeA = "\x01";
const std::string kProbeB = "\x02";

bool IsProfileSpace(unsigned char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == ' '; }

enum class Part { Section, Key, Value };

[[noreturn]] void Refuse(Part part, std::string_view name, size_t position, unsigned char plain) {
  std::string text(msg::kUnstorableText);
  text += part == Part::Section ? msg::kUnstorableSection
          : part == Part::Key   ? msg::kUnstorableKey
                                : msg::kUnstorableValue;
  text += name;
  text += msg::kUnstorablePosition;
  text += std::to_string(position + 1);
  text += msg::kUnstorableCode;
  text += std::to_string(static_cast<unsigned>(plain));
  throw Failure(text);
}

bool BreaksEverywhere(unsigned char c, Part part) {
  if (c == 0 || c == '\r' || c == '\n') return true;
  return part != Part::Value && (c == '=' || c == '[' || c == ']' || c == ';');
}

bool LostAtAnEnd(unsigned char c, Part part) {
  return IsProfileSpace(c) || (part == Part::Value && (c == '"' || c == '\''));
}

void Check(std::string_view plain, Part part, std::string_view name) {
  const size_t n = plain.size();
  if (part == Part::Value && n >= kReadBufferSize) {
    std::string text(msg::kValueTooLong);
    text += name;
    text += msg::kValueTooLongSize;
    text += std::to_string(n);
    text += msg::kValueTooLongLimit;
    throw Failure(text);
  }
  for (size_t i = 0; i < n; ++i) {
    const unsigned char p = static_cast<unsigned char>(plain[i]);
    const unsigned char s = static_cast<unsigned char>(p + kScrambleOffset);
    if (BreaksEverywhere(s, part) || ((i == 0 || i + 1 == n) && LostAtAnEnd(s, part)))
      Refuse(part, name, i, p);
  }
}

}  // namespace

std::string ScrambleText(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(static_cast<unsigned char>(c) + kScrambleOffset);
  return out;
}

std::string UnscrambleText(std::string_view scrambled) {
  std::string out(scrambled);
  for (char& c : out) c = static_cast<char>(static_cast<unsigned char>(c) - kScrambleOffset);
  return out;
}

void CheckStorable(std::string_view section, std::string_view key, std::string_view value) {
  Check(section, Part::Section, section);
  Check(key, Part::Key, key);
  Check(value, Part::Value, key);
}

ScrambledIni::ScrambledIni(std::string_view iniFileName)
    : fileName_(iniFileName), path_(platform::ResolveProfilePath(fileName_)), profile_(path_) {}

bool ScrambledIni::FileExists() const { return platform::FileExists(path_); }

void ScrambledIni::FailToWrite() const {
  std::string text(msg::kUnableToWrite);
  text += fileName_;
  if (!profile_.failure().empty()) {
    text += "\r\n";
    text += profile_.failure();
  }
  throw Failure(text);
}

bool ScrambledIni::WriteScrambledValue(std::string_view section, std::string_view key,
                                       std::string_view value) {
  CheckStorable(section, key, value);
  if (!profile_.WriteString(ScrambleText(section), ScrambleText(key), ScrambleText(value)))
    FailToWrite();
  return true;
}

bool ScrambledIni::Probe(const std::string& section, const std::string& key, std::string& value) {
  value = profile_.ReadString(section, key, kProbeA, kReadBufferSize);
  if (value != kProbeA) return true;
  value = profile_.ReadString(section, key, kProbeB, kReadBufferSize);
  return value != kProbeB;
}

bool ScrambledIni::HasKey(std::string_view section, std::string_view key) {
  Check(section, Part::Section, section);
  Check(key, Part::Key, key);
  std::string value;
  return Probe(ScrambleText(section), ScrambleText(key), value);
}

void ScrambledIni::DeleteScrambledValue(std::string_view section, std::string_view key) {
  Check(section, Part::Section, section);
  Check(key, Part::Key, key);
  if (!profile_.DeleteKey(ScrambleText(section), ScrambleText(key))) FailToWrite();
}

std::string ScrambledIni::ReadScrambledValue(std::string_view section, std::string_view key,
                                             std::string_view defaultValue) {
  Check(section, Part::Section, section);
  Check(key, Part::Key, key);
  const std::string s = ScrambleText(section), k = ScrambleText(key);
  std::string value;
  if (!Probe(s, k, value)) {
    WriteScrambledValue(section, key, defaultValue);
    value = profile_.ReadString(s, k, ScrambleText(defaultValue), kReadBufferSize);
  }
  return UnscrambleText(value);
}

void ScrambledIni::Commit() {
  if (!profile_.Flush()) FailToWrite();
}

void SetInvalidFile(std::string_view iniFileName) {
  std::string message(msg::kInvalidFile);
  message += iniFileName;
  SetLastError(message);
}

bool RefusedNulFileName(std::string_view iniFileName) {
  try {
    RefuseNul(iniFileName, msg::kOfFileName);
    return false;
  } catch (const Failure& e) {
    SetInvalidFile(Visible(iniFileName), e);
    return true;
  }
}

void SetInvalidFile(std::string_view iniFileName, const std::exception& failure) {
  std::string message(msg::kInvalidFile);
  message += "\r\n";
  message += iniFileName;
  message += "\r\n";
  message += FailureText(failure);
  SetLastError(message);
}

}  // namespace quorix::store
