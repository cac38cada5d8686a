// The POSIX INI engine on arbitrary files, driven by arbitrary calls:
//   - a read never gives more than its buffer holds, a key list never more
//     than its buffer holds;
//   - a value written under names the side-file store can hand over (the
//     texts it refuses, it refuses before the engine sees them) reads back
//     exactly, before and after the file is rewritten;
//   - a rewritten file, parsed afresh, answers every read and key list as
//     the engine answered before it wrote: a write changes its own key only.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "open_faults.h"
#include "platform/profile.h"
#include "support.h"

namespace {

using quorix::platform::ProfileFile;

constexpr std::string_view kHarness = "ini_engine_fuzzer";

bool ProfileSpace(unsigned char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == ' '; }

// What the side-file store may hand the engine as a section or key name.
bool StorableName(std::string_view s) {
  if (s.empty() || ProfileSpace(s.front()) || ProfileSpace(s.back())) return false;
  return s.find_first_of(std::string_view("\0\r\n=[];", 7)) == std::string_view::npos;
}

// ... and as a value.
bool StorableValue(std::string_view s) {
  if (s.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos) return false;
  if (s.empty()) return true;
  for (const unsigned char end :
       {static_cast<unsigned char>(s.front()), static_cast<unsigned char>(s.back())})
    if (ProfileSpace(end) || end == '"' || end == '\'') return false;
  return true;
}

// A section header whose name is empty once trimmed ("[]", "[ ]"), the
// lines split as the engine splits them: at LF, and at CR only where no
// further LF follows.
bool HasEmptySectionHeader(std::string_view file) {
  size_t pos = 0;
  while (pos < file.size()) {
    size_t end = file.find('\n', pos);
    if (end == std::string_view::npos) end = file.find('\r', pos);
    if (end == std::string_view::npos) end = file.size();
    std::string_view line = file.substr(pos, end - pos);
    pos = end + 1;
    while (!line.empty() && ProfileSpace(line.front())) line.remove_prefix(1);
    const size_t close = line.rfind(']');
    if (line.empty() || line[0] != '[' || close == std::string_view::npos || close == 0) continue;
    const std::string_view name = line.substr(1, close - 1);
    if (std::all_of(name.begin(), name.end(), [](char c) { return ProfileSpace(c); })) return true;
  }
  return false;
}

std::string Names(const std::vector<std::string>& names) {
  std::string all;
  for (const std::string& n : names) all += n + '|';
  return all;
}

struct Probe {
  std::string section, key;
};

// Whether the engine takes two probes for the same key: names are compared
// trimmed, A-Z folded.
std::string Folded(std::string_view s) {
  while (!s.empty() && ProfileSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && ProfileSpace(s.back())) s.remove_suffix(1);
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return out;
}
bool SameKey(const Probe& a, const Probe& b) {
  return Folded(a.section) == Folded(b.section) && Folded(a.key) == Folded(b.key);
}

const std::vector<std::string> kNames = {"",    "a",   "A",  " a ", "key", "KEY", "\xB6\xC3\xC2",
                                         "[a]", "a=b", ";c", "x y"};

std::string DrawName(FuzzedDataProvider& in) {
  const size_t pick = in.ConsumeIntegral<uint8_t>();
  if (pick < 128) return kNames[pick % kNames.size()];
  return in.ConsumeRandomLengthString(16);
}

class Run {
 public:
  Run(std::string path, std::string file) : path_(std::move(path)), file_(std::move(file)) {}

  void Go(FuzzedDataProvider& in) {
    ProfileFile profile(path_);
    for (int steps = 0; steps < 32 && in.remaining_bytes() > 0; ++steps) {
      Probe p{DrawName(in), DrawName(in)};
      probes_.push_back(p);
      switch (in.ConsumeIntegral<uint8_t>() % 4) {
        case 0: {
          const size_t buffer = in.ConsumeIntegralInRange<size_t>(0, 4096);
          const std::string value = profile.ReadString(p.section, p.key, DrawName(in), buffer);
          if (value.size() > (buffer ? buffer - 1 : 0))
            fuzz::Violation(kHarness, "a read longer than its buffer");
          break;
        }
        case 1: {
          const size_t buffer = in.ConsumeIntegralInRange<size_t>(0, 4096);
          // Each name ends with a NUL, and the list with one more.
          size_t used = 1;
          for (const std::string& name : profile.KeyNames(p.section, buffer))
            used += name.size() + 1;
          if (used > std::max<size_t>(buffer, 1))
            fuzz::Violation(kHarness, "a key list longer than its buffer");
          break;
        }
        case 2:
          Write(profile, p, in.ConsumeRandomLengthString(64));
          break;
        case 3:
          Flush(profile);
          break;
      }
    }
  }

 private:
  void Write(ProfileFile& profile, const Probe& p, const std::string& value) {
    if (!profile.WriteString(p.section, p.key, value)) fuzz::Violation(kHarness, "a write refused");
    written_.erase(std::remove_if(written_.begin(), written_.end(),
                                  [&](const auto& w) { return SameKey(w.first, p); }),
                   written_.end());
    if (!StorableName(p.section) || !StorableName(p.key) || !StorableValue(value)) {
      faithful_ = false;  // the engine keeps such texts as the profile functions do: altered
      return;
    }
    if (profile.ReadString(p.section, p.key, "\x01", 2048) != value)
      fuzz::Violation(kHarness, "a written value does not read back");
    written_.push_back({p, value});
  }

  void Flush(ProfileFile& profile) {
    if (!profile.Flush()) fuzz::Violation(kHarness, "a flush failed");
    if (!faithful_) return;
    // The rewritten bytes, read by a second engine: under a name of their
    // own, since `profile` keeps its file's lock for as long as it lives.
    std::string bytes;
    if (!fuzz::ReadFile(path_, bytes)) fuzz::Violation(kHarness, "the flushed file cannot be read");
    fuzz::WriteFile(path_ + ".reread", bytes);
    ProfileFile reread(path_ + ".reread");
    for (const auto& [p, value] : written_)
      if (reread.ReadString(p.section, p.key, "\x01", 2048) != value)
        fuzz::Violation(kHarness, "a written value is lost in the file");
    if (fuzz::open_faults::kEmptySectionHeaderDropped && HasEmptySectionHeader(file_)) return;
    for (const Probe& p : probes_) {
      if (profile.ReadString(p.section, p.key, "\x01", 4096) !=
          reread.ReadString(p.section, p.key, "\x01", 4096))
        fuzz::Violation(kHarness,
                        "the rewritten file reads otherwise at [" + p.section + "] " + p.key);
      if (Names(profile.KeyNames(p.section, 16384)) != Names(reread.KeyNames(p.section, 16384)))
        fuzz::Violation(kHarness, "the rewritten file lists other keys in [" + p.section + "]");
    }
  }

  std::string path_, file_;
  std::vector<Probe> probes_;
  std::vector<std::pair<Probe, std::string>> written_;
  bool faithful_ = true;  // every write so far was of storable texts
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = [] {
    const std::string f = fuzz::ScratchFolder() + "/ini";
    fuzz::ResetFolder(f);
    return f;
  }();
  const std::string path = folder + "/engine.ini";
  FuzzedDataProvider in(data, size);
  const std::string file = in.ConsumeRandomLengthString(4096);
  fuzz::WriteFile(path, file);
  Run(path, file).Go(in);
  return 0;
}
