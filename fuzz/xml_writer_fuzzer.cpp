// quorix_GenarateFileXml on arbitrary developer names, moduli and exponents,
// with the target folder named in each of the ways a host may name it. Each
// call runs inside a sandbox folder of this process, the target folder below
// it being the current folder during the call; after every call the whole
// sandbox is listed:
//   - success leaves exactly target/<name>.xml besides what was there, and
//     the file holds the two declaration lines, the three values escaped
//     (nothing but the five entities and numeric references after an "&",
//     no raw "<" or ">", no byte above 0x7F) and the closing lines;
//   - a refusal says why and leaves the sandbox as it was, an older file
//     of that name included.
#include <fcntl.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support.h"

namespace {

constexpr std::string_view kHarness = "xml_writer_fuzzer";

struct Sandbox {
  std::string root, target;
};

const Sandbox& Box() {
  static const Sandbox box = [] {
    Sandbox b{fuzz::ScratchFolder() + "/xml", {}};
    b.target = b.root + "/target";
    fuzz::ResetFolder(b.root);
    fuzz::ResetFolder(b.target);
    return b;
  }();
  return box;
}

// The value as the file must show it once its references are read: the
// five entities give their character, a numeric reference any byte above 0x7F.
std::string Reference(std::string_view value) {
  std::string out;
  for (const unsigned char c : value) out.push_back(c >= 0x80 ? '\x80' : static_cast<char>(c));
  return out;
}

bool ReadEscaped(std::string_view escaped, std::string& out) {
  out.clear();
  for (size_t i = 0; i < escaped.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(escaped[i]);
    if (c == '<' || c == '>' || c >= 0x80 || (c < 0x20 && c != '\t')) return false;
    if (c != '&') {
      out.push_back(static_cast<char>(c));
      continue;
    }
    const size_t end = escaped.find(';', i);
    if (end == std::string_view::npos) return false;
    const std::string_view entity = escaped.substr(i + 1, end - i - 1);
    i = end;
    if (entity == "amp")
      out.push_back('&');
    else if (entity == "lt")
      out.push_back('<');
    else if (entity == "gt")
      out.push_back('>');
    else if (entity == "quot")
      out.push_back('"');
    else if (entity == "apos")
      out.push_back('\'');
    else if (entity.size() >= 2 && entity[0] == '#' &&
             entity.find_first_not_of("0123456789", 1) == std::string_view::npos)
      out.push_back('\x80');
    else
      return false;
  }
  return true;
}

// Cuts `before`, then the value up to `after`, off the front of rest.
bool Element(std::string_view& rest, std::string_view before, std::string_view after,
             std::string_view expected) {
  if (rest.substr(0, before.size()) != before) return false;
  rest.remove_prefix(before.size());
  const size_t end = rest.find(after);
  if (end == std::string_view::npos) return false;
  std::string value;
  if (!ReadEscaped(rest.substr(0, end), value) || value != Reference(expected)) return false;
  rest.remove_prefix(end + after.size());
  return true;
}

void CheckFile(const std::string& path, const std::string& name, const std::string& modulus,
               const std::string& exponent) {
  std::string bytes;
  if (!fuzz::ReadFile(path, bytes)) fuzz::Violation(kHarness, "the written file cannot be read");
  std::string_view rest = bytes;
  if (!Element(rest, "<?xml version=\"1.0\"?> \r\n<empresa_desenvolvedora> \r\n     <nome>",
               "</nome> \r\n", name) ||
      !Element(rest, "     <chave> \r\n                <modulo>", "</modulo> \r\n", modulus) ||
      !Element(rest, "                     <expoente_publico>", "</expoente_publico> \r\n",
               exponent) ||
      rest != "     </chave> \r\n</empresa_desenvolvedora> \r\n\r\n")
    fuzz::Violation(kHarness, "the file is not the escaped public-key file:\n" + bytes);
}

// The bytes 0x80-0x9F of Windows-1252 as code points; 0 where undefined.
constexpr char16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool Defined(unsigned char b) { return b < 0x80 || b >= 0xA0 || kHigh[b - 0x80] != 0; }

// The name the file gets on Linux: the library's Windows-1252 name as UTF-8.
std::string SystemName(const std::string& name) {
  std::string out;
  for (const char ch : name) {
    const unsigned char b = static_cast<unsigned char>(ch);
    const unsigned c = b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : b;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | c >> 6);
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | c >> 12);
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// A name that can stand for one file of its own in the target folder.
bool OneFileName(const std::string& name) {
  return name.find('/') == std::string::npos && name.find('\0') == std::string::npos &&
         std::all_of(name.begin(), name.end(), [](char c) { return Defined(c); }) &&
         SystemName(name).size() < 200;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Sandbox& box = Box();
  FuzzedDataProvider in(data, size);
  const uint8_t how = in.ConsumeIntegral<uint8_t>();
  const std::string name = in.ConsumeRandomLengthString(64);
  const std::string modulus = in.ConsumeRandomLengthString(300);
  const std::string exponent = in.ConsumeRandomLengthString(16);
  const std::string folder = how % 4 == 0   ? box.target
                             : how % 4 == 1 ? box.target + "/"
                             : how % 4 == 2 ? std::string()
                                            : "../target";
  const std::string expected = "target/" + SystemName(name) + ".xml";
  const std::string old = "an older file\r\n";
  const bool older = how & 4 && OneFileName(name);
  if (older) fuzz::WriteFile(box.target + "/" + SystemName(name) + ".xml", old);
  const std::vector<std::string> before = fuzz::ListTree(box.root);

  const fuzz::HostText n(name), m(modulus), f(folder), e(exponent);
  // Relative names resolve inside the sandbox, where the listing sees them;
  // the current folder is libFuzzer's again before it reads or writes a file.
  const int home = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (home < 0 || ::chdir(box.target.c_str()) != 0) fuzz::Violation(kHarness, "no target folder");
  const bool ok = quorix_GenarateFileXml(n, m, f, e);
  if (::fchdir(home) != 0) fuzz::Violation(kHarness, "cannot return to the current folder");
  ::close(home);
  if (!n.Damage().empty() || !m.Damage().empty() || !f.Damage().empty() || !e.Damage().empty())
    fuzz::Violation(kHarness, "quorix_GenarateFileXml changed its arguments");

  const std::vector<std::string> after = fuzz::ListTree(box.root);
  if (ok) {
    if (after != std::vector<std::string>{"target", expected})
      fuzz::Violation(kHarness, "a written name left the folder or more than its file: " + name);
    CheckFile(box.root + "/" + expected, name, modulus, exponent);
  } else {
    if (fuzz::LastError(kHarness).empty()) fuzz::Violation(kHarness, "a refusal without a message");
    if (after != before) fuzz::Violation(kHarness, "a refused name changed the folder: " + name);
    std::string bytes;
    if (older &&
        (!fuzz::ReadFile(box.target + "/" + SystemName(name) + ".xml", bytes) || bytes != old))
      fuzz::Violation(kHarness, "a refused name damaged the older file: " + name);
  }
  fuzz::ResetFolder(box.target);
  return 0;
}
