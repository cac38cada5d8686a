// The scrambled INI store: the byte transform, which texts it refuses, and
// the two primitives' effects on the file.
#include "UFuncoes/scrambled_ini.h"

#include <gtest/gtest.h>

#include "UConst/failure.h"
#include "side_files_support.h"
#include "support.h"

namespace {

using quorix::store::CheckStorable;
using quorix::store::ScrambledIni;
using quorix::store::ScrambleText;
using quorix::store::UnscrambleText;

std::string AllBytes() {
  std::string s;
  for (int b = 0; b < 256; ++b) s.push_back(static_cast<char>(b));
  return s;
}

// What CheckStorable raises, or "" when it accepts.
std::string Refusal(std::string_view section, std::string_view key, std::string_view value) {
  try {
    CheckStorable(section, key, value);
  } catch (const quorix::Failure& f) {
    return f.what();
  }
  return {};
}

TEST(ScrambledText, MovesEveryByteByTheOffsetAndBack) {
  const std::string all = AllBytes();
  const std::string scrambled = ScrambleText(all);
  ASSERT_EQ(256u, scrambled.size());
  for (int b = 0; b < 256; ++b) EXPECT_EQ(static_cast<char>((b + 117) % 256), scrambled[b]) << b;
  EXPECT_EQ(all, UnscrambleText(scrambled));
  EXPECT_EQ("", ScrambleText(""));
  EXPECT_EQ("\xB8\xC3\xC5\xBF", ScrambleText("CNPJ"));
}

TEST(ScrambledText, EveryLetterAndPrintableCharacterIsStorableAnywhere) {
  std::string letters;
  for (int c = 32; c <= 126; ++c) letters.push_back(static_cast<char>(c));
  for (const char c : std::string("\x83\x8A\x8C\x8E\x9A\x9C\x9E\x9F\xAA\xB5\xBA"))
    letters.push_back(c);
  for (int c = 0xC0; c <= 0xFF; ++c) letters.push_back(static_cast<char>(c));
  for (const char c : letters) {
    const std::string one(1, c);
    EXPECT_EQ("", Refusal("S", "K", one)) << static_cast<int>(static_cast<unsigned char>(c));
    EXPECT_EQ("", Refusal("S", "K", "a" + one + "b"));
  }
  // Names of printable ASCII (serial numbers, the keys) are always storable.
  const std::string printable = letters.substr(0, 95);
  for (const char c : printable) {
    const std::string one(1, c);
    EXPECT_EQ("", Refusal(one, one, "")) << c;
  }
  EXPECT_EQ("", Refusal("IDENTIFICACAO EMPRESA", "FILE AUX4", ""));
  EXPECT_EQ("", Refusal("BE0909SC55610000123", "TOTALIZADOR GERAL", "1234,5"));
}

TEST(ScrambledText, RefusesWhatTheLayoutWouldAlter) {
  const std::string code = std::string(", caractere de c\xF3") + "digo ";
  const std::string value =
      "Texto que o arquivo n\xE3o guarda intacto: valor da chave K, posi\xE7\xE3o ";
  const std::string key = "Texto que o arquivo n\xE3o guarda intacto: chave ";
  const std::string section = "Texto que o arquivo n\xE3o guarda intacto: se\xE7\xE3o ";
  struct Case {
    std::string section, key, value, refusal;
  } cases[] = {
      // NUL, LF and CR anywhere in a value
      {"S", "K", "ab\x8B", value + "3" + code + "139"},
      {"S", "K", "a\x95z", value + "2" + code + "149"},
      {"S", "K", "a\x98", value + "2" + code + "152"},
      // white space and quotes at either end, not inside
      {"S", "K", "\xABx", value + "1" + code + "171"},
      {"S", "K", "x\x94", value + "2" + code + "148"},
      {"S", "K", "x\xA5", value + "2" + code + "165"},
      {"S", "K", "\xADx", value + "1" + code + "173"},
      {"S", "K", "x\xB2", value + "2" + code + "178"},
      {"S", "K", "x\xAB\x94\xA5\xAD\xB2y", ""},
      // in names also "=", "[", "]" and ";"
      {"S", "a\xC8", "", key + "a\xC8, posi\xE7\xE3o 2" + code + "200"},
      {"S", "\xC6", "", key + "\xC6, posi\xE7\xE3o 1" + code + "198"},
      {"x\xE6y", "K", "", section + "x\xE6y, posi\xE7\xE3o 2" + code + "230"},
      {"\xE8", "K", "", section + "\xE8, posi\xE7\xE3o 1" + code + "232"},
      {"S", "x\xABy", "", ""},
      {"S", "x\xAB", "", key + "x\xAB, posi\xE7\xE3o 2" + code + "171"},
      // the section is looked at first, then the key, then the value
      {"\xE8", "\xC8", "\x8B", section + "\xE8, posi\xE7\xE3o 1" + code + "232"},
      {"S", "\xC8", "\x8B", key + "\xC8, posi\xE7\xE3o 1" + code + "200"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.refusal, Refusal(c.section, c.key, c.value)) << c.value;
}

class Store : public testing::Test {
 protected:
  qt::TempDir dir_;
  std::string Plain(const std::string& file) { return qt::PlainLayout(qt::ReadFile(file)); }
};

TEST_F(Store, ReadingAnAbsentKeyStoresItsDefaultFirst) {
  const std::string file = dir_.file("side.ini");
  {
    ScrambledIni ini(file);
    EXPECT_EQ("ISENTO", ini.ReadScrambledValue("IDENTIFICACAO EMPRESA", "INSCESTADUAL", "ISENTO"));
    ini.Commit();
  }
  EXPECT_EQ(
      "[\xBE\xB9\xBA\xC3\xC9\xBE\xBB\xBE\xB8\xB6\xB8\xB6\xC4\x95\xBA\xC2\xC5\xC7\xBA\xC8\xB6]\r\n"
      "\xBE\xC3\xC8\xB8\xBA\xC8\xC9\xB6\xB9\xCA\xB6\xC1=\xBE\xC8\xBA\xC3\xC9\xC4\r\n",
      qt::ReadFile(file));
  // The key is there now: its stored value wins over a different default.
  ScrambledIni again(file);
  EXPECT_EQ("ISENTO", again.ReadScrambledValue("IDENTIFICACAO EMPRESA", "INSCESTADUAL", "other"));
}

TEST_F(Store, APresentKeyIsNeverOverwrittenByItsDefault) {
  const std::string file = dir_.file("present.ini");
  qt::WriteFile(file, qt::ScrambledLayout("[S]\nempty=\nkey=stored\n"));
  {
    ScrambledIni ini(file);
    EXPECT_EQ("", ini.ReadScrambledValue("S", "empty", "default"));
    EXPECT_EQ("stored", ini.ReadScrambledValue("S", "key", "default"));
    EXPECT_EQ("default", ini.ReadScrambledValue("S", "new", "default"));
    ini.Commit();
  }
  EXPECT_EQ("[S]\nempty=\nkey=stored\nnew=default\n", Plain(file));
}

TEST_F(Store, ValuesRoundTripIntactOrAreRefusedWhole) {
  const std::string file = dir_.file("values.ini");
  const std::string texts[] = {
      "Jo\xE3o da Silva \"J\xE1\" d'\xC1vila",  // quotes and blanks inside
      "=[];#",
      "\t\x01\x7F\x80\x81\x8D\x8F\x90\x9D\xA0\xFF",
      std::string(2047, 'z'),
  };
  {
    ScrambledIni ini(file);
    for (size_t i = 0; i < 4; ++i)
      ASSERT_TRUE(ini.WriteScrambledValue("S", "K" + std::to_string(i), texts[i]));
    ini.Commit();
  }
  ScrambledIni ini(file);
  for (size_t i = 0; i < 4; ++i)
    EXPECT_EQ(texts[i], ini.ReadScrambledValue("S", "K" + std::to_string(i), "?"));

  const std::string before = qt::ReadFile(file);
  EXPECT_THROW(ini.WriteScrambledValue("S", "K0", "refused\x95"), quorix::Failure);
  EXPECT_THROW(ini.ReadScrambledValue("S\xE8", "K0", ""), quorix::Failure);
  ini.Commit();
  EXPECT_EQ(before, qt::ReadFile(file));
}

TEST_F(Store, LongValuesReadBackCutTo2047Bytes) {
  // Written by another program: the read gives back what its buffer holds.
  const std::string file = dir_.file("long.ini");
  const std::string value(2500, 'a');
  qt::WriteFile(file, qt::ScrambledLayout("[S]\nK=" + value + "\n"));
  EXPECT_EQ(value.substr(0, 2047), ScrambledIni(file).ReadScrambledValue("S", "K", ""));

  // What would come back cut is refused on writing, and the file kept.
  ScrambledIni ini(file);
  ini.WriteScrambledValue("S", "FITS", std::string(2047, 'b'));
  for (const size_t size : {size_t{2048}, size_t{3000}}) {
    try {
      ini.WriteScrambledValue("S", "K", std::string(size, 'c'));
      ADD_FAILURE() << size << " bytes stored";
    } catch (const quorix::Failure& f) {
      EXPECT_EQ("Valor longo demais para o arquivo na chave K: " + std::to_string(size) +
                    " bytes (o limite \xE9 2047)",
                std::string(f.what()));
    }
  }
  ini.Commit();
  EXPECT_EQ("[S]\nK=" + value + "\nFITS=" + std::string(2047, 'b') + "\n", Plain(file));
}

TEST_F(Store, EveryKeyOfALargeSectionIsSeen) {
  // More key names than a 16,384-byte listing holds: a key beyond it must
  // not be taken for absent and overwritten with its default.
  const std::string file = dir_.file("large.ini");
  std::string plain = "[S]\n";
  for (int i = 0; i < 900; ++i) plain += "KEY NAME NUMBER " + std::to_string(1000 + i) + "=v\n";
  qt::WriteFile(file, qt::ScrambledLayout(plain));
  {
    ScrambledIni ini(file);
    EXPECT_EQ("v", ini.ReadScrambledValue("S", "KEY NAME NUMBER 1899", ""));
    ini.Commit();
  }
  EXPECT_EQ(plain, Plain(file));
}

TEST_F(Store, AFileThatCannotBeWrittenIsReportedByItsName) {
  const std::string file = dir_.file("missing-folder/side.ini");
  ScrambledIni ini(file);
  try {
    ini.WriteScrambledValue("S", "K", "v");
    ini.Commit();
    FAIL() << "written into a missing folder";
  } catch (const quorix::Failure& f) {
    EXPECT_EQ(
        "Unable to write to " + file + "\r\n" + qt::FileFailure("criar", file, qt::kNoSuchFolder),
        std::string(f.what()));
  }
  ScrambledIni reading(file);
  EXPECT_THROW(
      {
        reading.ReadScrambledValue("S", "K", "default");
        reading.Commit();
      },
      quorix::Failure);
}

TEST_F(Store, ABareFileNameIsTakenFromTheCurrentFolder) {
  qt::CurrentDir here(dir_.path());
  {
    ScrambledIni ini("bare.ini");
    EXPECT_FALSE(ini.FileExists());
    ini.WriteScrambledValue("S", "K", "v");
    ini.Commit();
    EXPECT_TRUE(ini.FileExists());
  }
  EXPECT_EQ("[S]\nK=v\n", Plain(dir_.file("bare.ini")));
  EXPECT_EQ("v", ScrambledIni("bare.ini").ReadScrambledValue("S", "K", ""));
}

}  // namespace
