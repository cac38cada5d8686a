// The developer's public-key XML file: its exact bytes, where it goes, and
// the names and values it refuses.
#include <gtest/gtest.h>

#include <cstdio>

#include "expected_messages.h"
#include "side_files_support.h"
#include "support.h"

#if defined(_WIN32)
constexpr char kSep = '\\';
#else
constexpr char kSep = '/';
#endif

namespace {

using namespace qt::msg;

using qt::LastError;
using qt::T;

std::string Xml(const std::string& name, const std::string& modulus, const std::string& exponent) {
  return "<?xml version=\"1.0\"?> \r\n<empresa_desenvolvedora> \r\n     <nome>" + name +
         "</nome> \r\n     <chave> \r\n                <modulo>" + modulus +
         "</modulo> \r\n                     <expoente_publico>" + exponent +
         "</expoente_publico> \r\n     </chave> \r\n</empresa_desenvolvedora> \r\n\r\n";
}

TEST(PublicKeyXml, WritesTheFileInTheFolder) {
  qt::TempDir dir;
  struct Case {
    std::string folder;  // as passed
    const char* name;
  } cases[] = {
      {dir.path(), "Software House"},   // a separator is added
      {dir.path() + kSep, "Trailing"},  // none is added to one already there
      {dir.path(), ""},                 // an empty name makes ".xml"
  };
  for (const auto& c : cases) {
    EXPECT_EQ(1, quorix_GenarateFileXml(T(c.name), T("A1B2"), T(c.folder), T("010001")))
        << LastError();
    EXPECT_EQ(Xml(c.name, "A1B2", "010001"), qt::ReadFile(dir.file(std::string(c.name) + ".xml")))
        << c.name;
  }
  // An earlier, longer file is replaced, not appended to.
  qt::WriteFile(dir.file("Old.xml"), std::string(1000, 'x'));
  ASSERT_EQ(1, quorix_GenarateFileXml(T("Old"), T("FF"), T(dir.path()), T("3")));
  EXPECT_EQ(Xml("Old", "FF", "3"), qt::ReadFile(dir.file("Old.xml")));
}

TEST(PublicKeyXml, ValuesAreEscapedSoTheFileIsAlwaysWellFormed) {
  qt::TempDir dir;
  struct Case {
    const char* value;
    const char* written;
  } cases[] = {
      {"A&B <C> \"D\" 'E'", "A&amp;B &lt;C&gt; &quot;D&quot; &apos;E&apos;"},
      {"S\xE3o Jos\xE9", "S&#227;o Jos&#233;"},
      {"\x80\x81\x9F\xA0\xFF", "&#8364;&#129;&#376;&#160;&#255;"},
      {"tab\there", "tab\there"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(1, quorix_GenarateFileXml(T("dev"), T(c.value), T(dir.path()), T(c.value)))
        << LastError();
    EXPECT_EQ(Xml("dev", c.written, c.written), qt::ReadFile(dir.file("dev.xml"))) << c.value;
  }
  ASSERT_EQ(1, quorix_GenarateFileXml(T("Caf\xE9 & Cia"), T("1"), T(dir.path()), T("2")));
  // A Windows-1252 name is the same file on both builds (UTF-8 on Linux).
#if defined(_WIN32)
  const std::string named = dir.file("Caf\xE9 & Cia.xml");
#else
  const std::string named = dir.file("Caf\xC3\xA9 & Cia.xml");
#endif
  EXPECT_EQ(Xml("Caf&#233; &amp; Cia", "1", "2"), qt::ReadFile(named));
}

TEST(PublicKeyXml, RefusesWhatWouldLeaveTheFolderOrBreakTheFile) {
  qt::TempDir dir;
  const std::string badName = "Nome do desenvolvedor inv\xE1lido como nome de arquivo: ";
  const std::string control = "Caractere de controle, que o XML n\xE3o admite, no elemento ";
  struct Case {
    std::string name, modulus, exponent, message, folder = {};  // empty: the scratch folder
  } cases[] = {
      {"../escape", "1", "2", badName + "../escape"},
      {"a\\b", "1", "2", badName + "a\\b"},
      {"..", "1", "2", badName + ".."},
      {"c:x", "1", "2", badName + "c:x"},
      {"con", "1", "2", badName + "con"},
      {"Lpt1.old", "1", "2", badName + "Lpt1.old"},
      {std::string("nul\0x", 5), "1", "2", badName + "nul\\0x"},
      {"dev", "1\r\n2", "2", control + "modulo"},
      {"dev", "1", std::string("\0", 1), control + "expoente_publico"},
      {"dev", "1", "2", "Pasta inv\xE1lida: " + dir.path() + "\\0x",
       dir.path() + std::string("\0x", 2)},
  };
  for (const auto& c : cases) {
    const std::string folder = c.folder.empty() ? dir.path() : c.folder;
    EXPECT_EQ(0, quorix_GenarateFileXml(T(c.name), T(c.modulus), T(folder), T(c.exponent)));
    EXPECT_EQ(c.message, LastError());
  }
  EXPECT_FALSE(qt::Exists(dir.file("dev.xml")));
  // Names that only begin like a device are plain names.
  EXPECT_EQ(1, quorix_GenarateFileXml(T("Console"), T("1"), T(dir.path()), T("2")));
  EXPECT_EQ(1, quorix_GenarateFileXml(T("COM10"), T("1"), T(dir.path()), T("2")));
  EXPECT_FALSE(qt::Exists(dir.path() + "/../escape.xml"));
}

TEST(PublicKeyXml, AMissingFolderIsReportedAndNotCreated) {
  qt::TempDir dir;
  const std::string folder = dir.file("missing");
  EXPECT_EQ(0, quorix_GenarateFileXml(T("dev"), T("1"), T(folder), T("2")));
  const std::string prefix = kCannotCreateFile + folder + kSep + "dev.xml (";
  EXPECT_EQ(prefix, LastError().substr(0, prefix.size()));
  EXPECT_FALSE(qt::Exists(folder));
}

TEST(PublicKeyXml, SuccessLeavesTheLastErrorMessageInPlace) {
  qt::TempDir dir;
  EXPECT_EQ(0, quorix_Header(T("X")));
  ASSERT_EQ(1, quorix_GenarateFileXml(T("dev"), T("1"), T(dir.path()), T("2")));
  EXPECT_EQ(kBadType + "X", LastError());
}

TEST(PublicKeyXml, AnEmptyFolderIsTheDefaultOne) {
#if defined(_WIN32)
  const std::string file = "c:\\quorix-xml-default-test.xml";
  ASSERT_EQ(1, quorix_GenarateFileXml(T("quorix-xml-default-test"), T("1"), T(""), T("2")));
  EXPECT_EQ(Xml("quorix-xml-default-test", "1", "2"), qt::ReadFile(file));
  std::remove(file.c_str());
#else
  qt::TempDir dir;
  qt::CurrentDir here(dir.path());
  ASSERT_EQ(1, quorix_GenarateFileXml(T("here"), T("1"), T(""), T("2")));
  EXPECT_EQ(Xml("here", "1", "2"), qt::ReadFile(dir.file("here.xml")));
#endif
}

}  // namespace
