// A NUL inside a file name, a folder or a key is data: it never cuts the
// text where it meets the system. Every such text is refused, naming the
// position, before any file is touched.
#include <gtest/gtest.h>

#include <functional>

#include "expected_messages.h"
#include "side_files_support.h"
#include "support.h"

namespace {

using qt::T;

std::string NulAt(size_t position, const std::string& what) {
  return "Caractere nulo (c\xF3"
         "digo 0) na posi\xE7\xE3o " +
         std::to_string(position) + " " + what;
}

TEST(NulInTexts, AreRefusedBeforeAnyFileIsTouched) {
  qt::TempDir dir;
  const std::string cut = dir.file("rep.txt");  // the name a C string would see
  const std::string name = cut + std::string("\0.bak", 5), shown = cut + "\\0.bak";
  const std::string ofName = NulAt(cut.size() + 1, "do nome do arquivo");
  using namespace qt::msg;
  const std::string invalidFile = kInvalidFile + "\r\n";
  const auto& k = qt::Keys();
  std::string key = k.privateKey.str();
  key[99] = '\0';
  double total = 5;
  qt::HouseRead read;
  const struct Case {
    const char* what;
    std::function<quorix_bool()> call;
    std::string message;
  } cases[] = {
      {"finishing",
       [&] {
         qt::OpenSampleReport();
         return quorix_FinalizarPAF(k.publicKey, k.privateKey, T(name), 0);
       },
       kWriteError + shown + "\r\n" + ofName + "\r\nO relat\xF3rio n\xE3o foi gravado em " + shown},
      {"finishing, sign only",
       [&] { return quorix_FinalizarPAF(k.publicKey, k.privateKey, T(name), 1); },
       kWriteError + shown + "\r\n" + ofName},
      {"signing", [&] { return quorix_SignatureFileHash(k.publicKey, k.privateKey, T(name)); },
       kRecordError + ofName},
      {"signing, key", [&] { return quorix_SignatureFileHash(k.publicKey, T(key), T(cut)); },
       kRecordError + NulAt(100, "da chave privada")},
      {"validating", [&] { return quorix_ValidateFilePAF(k.publicKey, k.privateKey, T(name)); },
       invalidFile + ofName},
      {"software house, generating", [&] { return qt::GenerateHouse(qt::SampleHouse(), name); },
       invalidFile + shown + "\r\n" + ofName},
      {"software house, reading",
       [&] {
         qt::GetHouse(name, read);
         return read.result;
       },
       invalidFile + shown + "\r\n" + ofName},
      {"grand total, updating",
       [&] { return quorix_UpdateTotalizadorGeralECF(T("ECF 1"), 1, T(name)); },
       invalidFile + shown + "\r\n" + ofName},
      {"grand total, reading",
       [&] { return quorix_GetInfoTotalizadorECF(T("ECF 1"), &total, T(name)); },
       invalidFile + shown + "\r\n" + ofName},
  };
  for (const auto& c : cases) {
    qt::WriteFile(cut, "kept\r\n");
    EXPECT_EQ(0, c.call()) << c.what;
    EXPECT_EQ(c.message, qt::LastError()) << c.what;
    EXPECT_EQ("kept\r\n", qt::ReadFile(cut)) << c.what;
    EXPECT_EQ(std::vector<std::string>{"rep.txt"}, qt::FolderEntries(dir.path())) << c.what;
  }
  EXPECT_EQ(5, total);
  EXPECT_TRUE(read.files.calls.empty());
}

}  // namespace
