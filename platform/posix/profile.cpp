// Our own INI engine, laid out and read the way the Windows profile functions
// do it (Wine's behaviour is the reference the shared tests hold both builds to).
#include "platform/profile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <unordered_map>

#include "UConst/failure.h"
#include "platform/files.h"

namespace quorix::platform {
namespace {

// The profile functions' white space: tab to CR, the DOS end-of-file mark and the blank.
bool IsProfileSpace(char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == ' '; }

std::string_view TrimLeading(std::string_view s) {
  while (!s.empty() && IsProfileSpace(s.front())) s.remove_prefix(1);
  return s;
}

std::string_view TrimSpace(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsProfileSpace(s[b])) ++b;
  while (e > b && IsProfileSpace(s[e - 1])) --e;
  return s.substr(b, e - b);
}

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

std::string Folded(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = FoldCase(c);
  return out;
}

struct Entry {
  std::string name;
  std::string value;
  bool hasValue = false;  // a line without "=" is listed nowhere and reads as absent
};

struct Section {
  std::string name;
  std::vector<Entry> entries;
  // Folded key name -> first entry of that name; built on first lookup.
  std::unordered_map<std::string, size_t> index;
  bool indexed = false;

  Entry* Find(const std::string& foldedKey) {
    if (!indexed) {
      for (size_t i = 0; i < entries.size(); ++i)
        index.emplace(Folded(TrimSpace(entries[i].name)), i);
      indexed = true;
    }
    const auto it = index.find(foldedKey);
    return it == index.end() ? nullptr : &entries[it->second];
  }
  Entry& Add(std::string keyName, const std::string& foldedKey) {
    entries.push_back(Entry{std::move(keyName), {}, false});
    if (indexed) index.emplace(foldedKey, entries.size() - 1);
    return entries.back();
  }
};

bool ReadWholeFile(const std::string& path, std::string& bytes, bool& exists) {
  bytes.clear();
  exists = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR;
  exists = true;
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    bytes.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return true;
}

}  // namespace

struct ProfileFile::Engine {
  std::vector<Section> sections;  // sections[0]: lines before the first header
  // Held from before the file is read until the engine is done with it.
  std::unique_ptr<FileLock> lock;
  bool loaded = false;
  bool readable = true;  // an unreadable file is never replaced
  bool dirty = false;

  // Why the lock could not be had: the file is then read but never written.
  std::string lockFailure;

  void Load(const std::string& path) {
    if (loaded) return;
    loaded = true;
    sections.push_back(Section{});
    std::string target;
    try {
      lock = std::make_unique<FileLock>(path, true);
      target = lock->target();
    } catch (const std::exception& e) {
      lockFailure = FailureText(e);
      try {
        target = SystemPath(path);
      } catch (const std::exception&) {
        readable = false;
        return;
      }
    }
    std::string bytes;
    bool exists = false;
    readable = ReadWholeFile(target, bytes, exists);
    if (!readable) return;
    Parse(bytes);
  }

  void Parse(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
      // A line ends at LF; only a file without any further LF ends lines at CR.
      size_t end = text.find('\n', pos);
      if (end == std::string_view::npos) end = text.find('\r', pos);
      const size_t next = end == std::string_view::npos ? text.size() : end + 1;
      const std::string_view line =
          TrimSpace(text.substr(pos, (end == std::string_view::npos ? text.size() : end) - pos));
      pos = next;
      if (line.empty()) continue;
      const size_t close = line[0] == '[' ? line.rfind(']') : std::string_view::npos;
      if (close != std::string_view::npos && close > 0) {
        sections.push_back(
            Section{std::string(TrimSpace(line.substr(1, close - 1))), {}, {}, false});
        continue;
      }
      // Anything else, a header without its "]" included, is a key line.
      Entry e;
      const size_t eq = line.find('=');
      if (eq == std::string_view::npos) {
        e.name.assign(line);
      } else {
        e.name.assign(TrimSpace(line.substr(0, eq)));
        e.value.assign(TrimSpace(line.substr(eq + 1)));
        e.hasValue = true;
      }
      sections.back().entries.push_back(std::move(e));
    }
  }

  // Names are compared trimmed: a name written with trailing white space
  // keeps it in the file, but reads back without it.
  Section* FindSection(std::string_view name) {
    const std::string folded = Folded(TrimSpace(name));
    // sections[0] is unnamed and only reachable by the empty name.
    for (Section& s : sections)
      if (Folded(TrimSpace(s.name)) == folded) return &s;
    return nullptr;
  }

  std::string Serialize() const {
    std::string out;
    for (const Section& s : sections) {
      if (!s.name.empty()) {
        out += '[';
        out += s.name;
        out += "]\r\n";
      }
      for (const Entry& e : s.entries) {
        out += e.name;
        if (e.hasValue) {
          out += '=';
          out += e.value;
        }
        out += "\r\n";
      }
    }
    return out;
  }
};

std::string ResolveProfilePath(const std::string& path) { return path; }

ProfileFile::ProfileFile(std::string path) : path_(std::move(path)), engine_(new Engine) {}
ProfileFile::~ProfileFile() = default;

bool ProfileFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
  Engine& e = *engine_;
  e.Load(path_);
  // Leading white space of names and values is dropped on writing, trailing
  // white space goes into the file, as the profile functions do it; the
  // store never hands over such texts.
  Section* s = e.FindSection(section);
  if (!s) {
    e.sections.push_back(Section{std::string(TrimLeading(section)), {}, {}, false});
    s = &e.sections.back();
  }
  const std::string folded = Folded(TrimSpace(key));
  Entry* entry = s->Find(folded);
  if (!entry) entry = &s->Add(std::string(TrimLeading(key)), folded);
  const std::string_view v = TrimLeading(value);
  if (entry->hasValue && entry->value == v) return true;
  entry->value.assign(v);
  entry->hasValue = true;
  e.dirty = true;
  return true;
}

std::string ProfileFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, size_t bufferSize) {
  if (bufferSize == 0) return {};
  const size_t room = bufferSize - 1;
  Engine& e = *engine_;
  e.Load(path_);
  Section* s = e.FindSection(section);
  Entry* entry = s ? s->Find(Folded(TrimSpace(key))) : nullptr;
  if (!entry || !entry->hasValue) {
    std::string_view def = defaultValue;
    while (!def.empty() && def.back() == ' ') def.remove_suffix(1);
    return std::string(def.substr(0, room));
  }
  std::string_view v = TrimSpace(entry->value);
  bool quoted = false;
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    quoted = true;
    v.remove_prefix(1);
  }
  std::string out(v.substr(0, room));
  // The closing quote goes only when the value fitted the buffer, as in the
  // profile functions (which then also lose one more byte of a value that
  // exactly filled it).
  if (quoted && bufferSize >= v.size() && !out.empty()) out.pop_back();
  return out;
}

std::vector<std::string> ProfileFile::KeyNames(const std::string& section, size_t bufferSize) {
  std::vector<std::string> names;
  Engine& e = *engine_;
  e.Load(path_);
  Section* s = e.FindSection(section);
  if (!s || bufferSize < 3) return names;
  // Names and their NULs fill at most bufferSize - 2 bytes; the last name
  // that does not fit is cut there.
  size_t room = bufferSize - 2;
  for (const Entry& entry : s->entries) {
    const std::string_view name = TrimSpace(entry.name);
    if (!entry.hasValue || name.empty() || name[0] == ';') continue;
    if (room == 0) break;
    if (name.size() + 1 <= room) {
      names.emplace_back(name);
      room -= name.size() + 1;
    } else {
      names.emplace_back(name.substr(0, room));
      break;
    }
  }
  return names;
}

bool ProfileFile::DeleteKey(const std::string& section, const std::string& key) {
  Engine& e = *engine_;
  e.Load(path_);
  Section* s = e.FindSection(section);
  const std::string folded = Folded(TrimSpace(key));
  if (!s || !s->Find(folded)) return true;
  auto& entries = s->entries;
  for (size_t i = entries.size(); i-- > 0;)
    if (Folded(TrimSpace(entries[i].name)) == folded) entries.erase(entries.begin() + i);
  s->index.clear();
  s->indexed = false;
  e.dirty = true;
  return true;
}

bool ProfileFile::Flush() {
  Engine& e = *engine_;
  if (!e.dirty) return true;
  failure_ = e.lockFailure;
  if (!e.readable || !e.lockFailure.empty()) return false;
  try {
    ReplaceFileWithBytes(*e.lock, e.Serialize());
  } catch (const std::exception& failure) {
    failure_ = failure.what();
    return false;
  }
  e.dirty = false;
  return true;
}

}  // namespace quorix::platform
