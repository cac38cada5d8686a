#include "side_files_support.h"

#include <gtest/gtest.h>

#include <memory>

#include "UFuncoes/scrambled_ini.h"
#include "support.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace qt {

RecordingList::RecordingList() : list_{this, &Clear, &Append} {}

std::vector<std::string> RecordingList::entries() const { return contents_; }

quorix_bool QUORIX_CALL RecordingList::Clear(void* context, char** error) {
  auto* self = static_cast<RecordingList*>(context);
  EXPECT_NE(nullptr, error);
  EXPECT_EQ(nullptr, *error);
  self->calls.push_back("clear");
  if (self->refuseClear) {
    if (!self->refusalText.empty()) *error = quorix_text_from(self->refusalText.c_str());
    return 0;
  }
  self->contents_.clear();
  return 1;
}

quorix_bool QUORIX_CALL RecordingList::Append(void* context, quorix_text text, char** error) {
  auto* self = static_cast<RecordingList*>(context);
  EXPECT_NE(nullptr, error);
  EXPECT_EQ(nullptr, *error);
  const std::string entry = text ? std::string(text, quorix_text_length(text)) : std::string();
  if (text) {
    EXPECT_EQ('\0', text[entry.size()]);
    EXPECT_GE(quorix_text_refcount(text), 1);
  }
  if (self->onAppend) self->onAppend();
  // The text handed over lives until this call returns, whatever ran meanwhile.
  EXPECT_EQ(entry, text ? std::string(text, quorix_text_length(text)) : std::string());
  self->calls.push_back("+" + entry);
  if (self->refuseAppendAt == static_cast<int>(self->contents_.size())) {
    if (!self->refusalText.empty()) *error = quorix_text_from(self->refusalText.c_str());
    return 0;
  }
  self->contents_.push_back(entry);
  return 1;
}

std::string PlainLayout(const std::string& bytes) {
  std::string out;
  for (const std::string& line : ReportLines(bytes)) {
    if (!line.empty() && line.front() == '[' && line.back() == ']') {
      out += "[" + quorix::store::UnscrambleText(line.substr(1, line.size() - 2)) + "]\n";
      continue;
    }
    const size_t eq = line.find('=');
    out += quorix::store::UnscrambleText(line.substr(0, eq));
    if (eq != std::string::npos) out += "=" + quorix::store::UnscrambleText(line.substr(eq + 1));
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
      out += "[" + quorix::store::ScrambleText(line.substr(1, line.size() - 2)) + "]\r\n";
      continue;
    }
    const size_t eq = line.find('=');
    out += quorix::store::ScrambleText(line.substr(0, eq));
    if (eq != std::string::npos) out += "=" + quorix::store::ScrambleText(line.substr(eq + 1));
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

quorix_bool GenerateHouse(const HouseFile& d, const std::string& file) {
  std::vector<std::unique_ptr<HostText>> keep;
  auto text = [&](const std::string& s) {
    keep.push_back(std::make_unique<HostText>(s));
    return static_cast<quorix_text>(*keep.back());
  };
  std::vector<quorix_text> t;
  for (size_t i = 0; i < 13; ++i) t.push_back(text(i < d.texts.size() ? d.texts[i] : ""));
  std::vector<quorix_text> files, digests;
  for (const auto& s : d.auxFiles) files.push_back(text(s));
  for (const auto& s : d.auxFilesMd5) digests.push_back(text(s));
  return quorix_GenerateDataSoftwareHouse(t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8],
                                          t[9], t[10], t[11], t[12], files.data(),
                                          static_cast<int32_t>(files.size()) - 1, digests.data(),
                                          static_cast<int32_t>(digests.size()) - 1, text(file));
}

void GetHouse(const std::string& file, HouseRead& read) {
  HostText out[13];
  read.result = quorix_GetDataSoftwareHouse(
      out[0].out(), out[1].out(), out[2].out(), out[3].out(), out[4].out(), out[5].out(),
      out[6].out(), out[7].out(), out[8].out(), out[9].out(), out[10].out(), out[11].out(),
      out[12].out(), read.files.get(), read.digests.get(), T(file));
  read.data.texts.clear();
  for (const auto& o : out) read.data.texts.push_back(o.str());
  read.data.auxFiles = read.files.entries();
  read.data.auxFilesMd5 = read.digests.entries();
}

}  // namespace qt
