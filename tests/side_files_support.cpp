#include "side_files_support.h"

#include <gtest/gtest.h>

#include "support.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace qt {
namespace {

// The side files move every byte of a name or value by this much (modulo 256).
constexpr unsigned char kScrambleOffset = 117;

std::string Scrambled(std::string_view plain) {
  std::string text(plain);
  for (char& c : text) c = static_cast<char>(static_cast<unsigned char>(c) + kScrambleOffset);
  return text;
}
std::string Unscrambled(std::string_view scrambled) {
  std::string text(scrambled);
  for (char& c : text) c = static_cast<char>(static_cast<unsigned char>(c) - kScrambleOffset);
  return text;
}

}  // namespace

std::string PlainLayout(const std::string& bytes) {
  std::string out;
  for (const std::string& line : ReportLines(bytes)) {
    if (!line.empty() && line.front() == '[' && line.back() == ']') {
      out += "[" + Unscrambled(line.substr(1, line.size() - 2)) + "]\n";
      continue;
    }
    const size_t eq = line.find('=');
    out += Unscrambled(line.substr(0, eq));
    if (eq != std::string::npos) out += "=" + Unscrambled(line.substr(eq + 1));
    out += "\n";
  }
  return out;
}

std::string ScrambledLayout(const std::string& plain) {
  std::string out;
  size_t start = 0;
  while (start < plain.size()) {
    size_t end = plain.find('\n', start);
    if (end == std::string::npos) end = plain.size();
    const std::string line = plain.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.front() == '[' && line.back() == ']') {
      out += "[" + Scrambled(line.substr(1, line.size() - 2)) + "]\r\n";
      continue;
    }
    const size_t eq = line.find('=');
    out += Scrambled(line.substr(0, eq));
    if (eq != std::string::npos) out += "=" + Scrambled(line.substr(eq + 1));
    out += "\r\n";
  }
  return out;
}

CurrentDir::CurrentDir(const std::string& folder) {
#if defined(_WIN32)
  char buf[MAX_PATH];
  saved_.assign(buf, GetCurrentDirectoryA(sizeof buf, buf));
  EXPECT_TRUE(SetCurrentDirectoryA(folder.c_str())) << folder;
#else
  char buf[4096];
  if (getcwd(buf, sizeof buf)) saved_ = buf;
  EXPECT_EQ(0, chdir(folder.c_str())) << folder;
#endif
}

CurrentDir::~CurrentDir() {
#if defined(_WIN32)
  SetCurrentDirectoryA(saved_.c_str());
#else
  if (chdir(saved_.c_str()) != 0) ADD_FAILURE() << "could not return to " << saved_;
#endif
}

std::string Unstorable(const std::string& where, int position, int code) {
  return "Texto que o arquivo n\xE3o guarda intacto: " + where + ", posi\xE7\xE3o " +
         std::to_string(position) + ", caractere de c\xF3" + "digo " + std::to_string(code);
}

const char* const kHouseTexts[13] = {
    "11.222.333/0001-81",
    "110.042.490.114",
    "",
    "Software House Exemplo Ltda",
    "Rua das Flores, 100 - S\xE3o Paulo",
    "(11) 5555-1234",
    "Jo\xE3o da Silva",
    "Caixa R\xE1pida PDV",
    "2.1.0",
    "caixa.exe",
    "0123456789abcdef0123456789abcdef",
    "01.06",
    "LAUDO-123",
};

HouseFile SampleHouse() {
  HouseFile h;
  h.texts.assign(std::begin(kHouseTexts), std::end(kHouseTexts));
  h.auxFiles = {"relatorios.dll", "tef.dll"};
  h.auxFilesMd5 = {"aaaabbbbccccddddeeeeffff00001111", "22223333444455556666777788889999"};
  return h;
}

}  // namespace qt
