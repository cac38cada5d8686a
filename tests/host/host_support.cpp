// The helpers that call the library as a host does: the last error message,
// reports, keys, the software-house file and the host lists.
#include <gtest/gtest.h>

#include <memory>

#include "side_files_support.h"
#include "support.h"

namespace qt {

std::string LastError() {
  HostText message;
  quorix_GetMessageError(message.out());
  return message.str();
}

void OpenSampleReport() {
  ASSERT_EQ(1, quorix_InicializarPAF(T(kCnpj), T("110.042.490.114"), T("12345"),
                                     T("Padaria Exemplo Ltda")))
      << LastError();
}

void CloseAnyReport() {
  // Bad keys: nothing is written, and the clean-up always runs.
  quorix_FinalizarPAF(nullptr, nullptr, nullptr, 0);
}

std::vector<std::string> FinishedLines() {
  TempDir dir;
  const std::string file = dir.file("report.txt");
  EXPECT_EQ(1, quorix_FinalizarPAF(Keys().publicKey, Keys().privateKey, T(file), 0)) << LastError();
  std::vector<std::string> lines = ReportLines(ReadFile(file));
  EXPECT_FALSE(lines.empty());
  if (lines.empty()) return lines;
  EXPECT_EQ("EAD", lines.back().substr(0, 3));
  lines.pop_back();
  return lines;
}

const KeyPair& Keys() {
  static KeyPair* keys = [] {
    auto* k = new KeyPair;
    EXPECT_EQ(1, quorix_GenerateKeys(k->publicKey.out(), k->privateKey.out())) << LastError();
    return k;
  }();
  return *keys;
}

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
