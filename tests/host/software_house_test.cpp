// Software-house data through the two exports, as a host uses them: what the
// file holds afterwards, what comes back, and the messages of each failure.

#include <gtest/gtest.h>

#include "expected_messages.h"
#include "side_files_support.h"
#include "support.h"

namespace {

using namespace qt::msg;

using qt::HouseFile;
using qt::HouseRead;
using qt::LastError;
using qt::T;

// The plain layout of a file written from the data: each list is ended by an
// empty entry, so that reading it back writes nothing.
std::string PlainKeys(const HouseFile& h) {
  static const char* const keys[] = {"CNPJ",     "INSCESTADUAL", "INSCMUNICIPAL", "RAZAOSOCIAL",
                                     "ENDERECO", "TELEFONE",     "CONTATO",       "SOFTWARE",
                                     "VERSAO",   "FILE",         "MD5",           "VERSAO ER",
                                     "LAUDO"};
  std::string out = "[IDENTIFICACAO EMPRESA]\n";
  for (size_t i = 0; i < 13; ++i) out += std::string(keys[i]) + "=" + h.texts[i] + "\n";
  for (size_t i = 0; i < h.auxFiles.size(); ++i)
    out += "FILE AUX" + std::to_string(i) + "=" + h.auxFiles[i] + "\n";
  out += "FILE AUX" + std::to_string(h.auxFiles.size()) + "=\n";
  for (size_t i = 0; i < h.auxFilesMd5.size(); ++i)
    out += "MD5 AUX" + std::to_string(i) + "=" + h.auxFilesMd5[i] + "\n";
  out += "MD5 AUX" + std::to_string(h.auxFilesMd5.size()) + "=\n";
  return out;
}

class SoftwareHouse : public testing::Test {
 protected:
  std::string Plain(const std::string& file) { return qt::PlainLayout(qt::ReadFile(file)); }
  qt::TempDir dir_;
};

TEST_F(SoftwareHouse, WhatIsGeneratedComesBackUnchanged) {
  struct Case {
    const char* name;
    HouseFile data;
  } cases[] = {
      {"sample", qt::SampleHouse()},
      {"empty lists", {qt::SampleHouse().texts, {}, {}}},
      {"lists of their own lengths",
       {qt::SampleHouse().texts, {"a.dll", "b.dll"}, {"1", "2", "3", "4", "5"}}},
      {"empty texts", {std::vector<std::string>(13), {"x"}, {}}},
      {"lower case, inner blanks, accents",
       {std::vector<std::string>(13, "a  b \xE7\xE3o \xC9 \"q\" d'x"), {"p q"}, {"r s"}}},
  };
  for (const auto& c : cases) {
    const std::string file = dir_.file(std::string(c.name) + ".ini");
    ASSERT_EQ(1, qt::GenerateHouse(c.data, file)) << c.name << ": " << LastError();
    EXPECT_EQ(PlainKeys(c.data), Plain(file)) << c.name;

    HouseRead read;
    qt::GetHouse(file, read);
    ASSERT_EQ(1, read.result) << c.name << ": " << LastError();
    EXPECT_EQ(c.data.texts, read.data.texts) << c.name;
    EXPECT_EQ(c.data.auxFiles, read.data.auxFiles) << c.name;
    EXPECT_EQ(c.data.auxFilesMd5, read.data.auxFilesMd5) << c.name;
    // Each list is emptied once, then filled in order.
    std::vector<std::string> calls{"clear"};
    for (const auto& f : c.data.auxFiles) calls.push_back("+" + f);
    EXPECT_EQ(calls, read.files.calls) << c.name;

    // Reading found every key and each list's end: it wrote nothing.
    EXPECT_EQ(PlainKeys(c.data), Plain(file)) << c.name;
  }
}

TEST_F(SoftwareHouse, GeneratingReplacesTheListsWhole) {
  const std::string file = dir_.file("lists.ini");
  HouseFile h = qt::SampleHouse();
  h.auxFiles = {"a", "b", "c", "d", "e"};
  ASSERT_EQ(1, qt::GenerateHouse(h, file));
  HouseRead five;
  qt::GetHouse(file, five);  // reading changes nothing
  h.auxFiles = {"new", "two"};
  h.auxFilesMd5 = {};
  ASSERT_EQ(1, qt::GenerateHouse(h, file)) << LastError();
  EXPECT_EQ(PlainKeys(h), Plain(file));  // no entry of the longer lists is left
  HouseRead read;
  qt::GetHouse(file, read);
  ASSERT_EQ(1, read.result);
  EXPECT_EQ(h.auxFiles, read.data.auxFiles);
  EXPECT_TRUE(read.data.auxFilesMd5.empty());

  // An empty entry would end the list on reading: it is refused, by list and index.
  const std::string before = qt::ReadFile(file);
  struct Case {
    std::vector<std::string> files, digests;
    std::string refusal;
  } cases[] = {
      {{"first", "", "third"}, {}, "Entrada vazia na lista FILE AUX, \xEDndice 1"},
      {{"x"}, {""}, "Entrada vazia na lista MD5 AUX, \xEDndice 0"},
  };
  for (const auto& c : cases) {
    HouseFile bad = qt::SampleHouse();
    bad.auxFiles = c.files;
    bad.auxFilesMd5 = c.digests;
    EXPECT_EQ(0, qt::GenerateHouse(bad, file));
    EXPECT_EQ(kInvalidFile + "\r\n" + file + "\r\n" + c.refusal, LastError());
    EXPECT_EQ(before, qt::ReadFile(file));
  }
}

// A host list may call back into the library while it is being filled: what
// it was handed stays valid and complete.
TEST_F(SoftwareHouse, AListThatCallsBackIntoTheLibrarySeesWholeEntries) {
  const std::string file = dir_.file("house.ini"), other = dir_.file("other.ini");
  HouseFile h = qt::SampleHouse(), longer = qt::SampleHouse();
  h.auxFiles = {"first auxiliary file, long enough for the heap.dll",
                "second auxiliary file, long enough for the heap.dll"};
  longer.auxFiles.assign(40, "an entry of another file, long enough for the heap");
  ASSERT_EQ(1, qt::GenerateHouse(h, file));
  ASSERT_EQ(1, qt::GenerateHouse(longer, other));
  const std::function<void()> callbacks[] = {
      [] { qt::CloseAnyReport(); },  // empties the library's copy of the data
      [&] {
        HouseRead nested;
        qt::GetHouse(other, nested);
        EXPECT_EQ(1, nested.result);
      },
  };
  for (const auto& callback : callbacks) {
    HouseRead read;
    read.files.onAppend = callback;
    read.digests.onAppend = callback;
    qt::GetHouse(file, read);
    EXPECT_EQ(1, read.result) << LastError();
    EXPECT_EQ(h.auxFiles, read.data.auxFiles);
    EXPECT_EQ(h.auxFilesMd5, read.data.auxFilesMd5);
  }
}

TEST_F(SoftwareHouse, AnEmptyFileReadsAsTheDefaultsAndKeepsThem) {
  const std::string file = dir_.file("empty.ini");
  qt::WriteFile(file, "");
  HouseRead read;
  qt::GetHouse(file, read);
  ASSERT_EQ(1, read.result) << LastError();
  HouseFile defaults{std::vector<std::string>(13), {}, {}};
  defaults.texts[1] = defaults.texts[2] = "ISENTO";
  defaults.texts[12] = "AAAAAA";
  EXPECT_EQ(defaults.texts, read.data.texts);
  EXPECT_EQ(std::vector<std::string>{"clear"}, read.files.calls);
  EXPECT_EQ(std::vector<std::string>{"clear"}, read.digests.calls);
  EXPECT_EQ(PlainKeys(defaults), Plain(file));
}

TEST_F(SoftwareHouse, FailuresAndTheirMessages) {
  const std::string missing = dir_.file("missing.ini");
  const std::string noFolder = dir_.file("no-folder/house.ini");
  const std::string file = dir_.file("house.ini");
  ASSERT_EQ(1, qt::GenerateHouse(qt::SampleHouse(), file));
  HouseFile refused = qt::SampleHouse(), tooLong = qt::SampleHouse();
  refused.auxFilesMd5[1] = "ends in a line feed\x95";
  tooLong.texts[3] = std::string(3000, 'N');
  struct Case {
    const char* what;
    std::function<quorix_bool()> call;
    std::string message;
  } cases[] = {
      {"generate, no file name", [&] { return qt::GenerateHouse(qt::SampleHouse(), ""); },
       kInvalidFile},
      {"generate, missing folder", [&] { return qt::GenerateHouse(qt::SampleHouse(), noFolder); },
       qt::SideFileFailure(noFolder, qt::FileFailure("criar", noFolder, qt::kNoSuchFolder))},
      {"generate, a text the file would alter", [&] { return qt::GenerateHouse(refused, file); },
       kInvalidFile + "\r\n" + file + "\r\n" + qt::Unstorable("valor da chave MD5 AUX1", 20, 149)},
      {"generate, a value longer than a read gives back",
       [&] { return qt::GenerateHouse(tooLong, file); },
       kInvalidFile + "\r\n" + file +
           "\r\nValor longo demais para o arquivo na chave RAZAOSOCIAL: 3000 bytes (o limite \xE9 "
           "2047)"},
      {"get, no file name",
       [&] {
         HouseRead r;
         qt::GetHouse("", r);
         return r.result;
       },
       kInvalidFile},
      {"get, no such file",
       [&] {
         HouseRead r;
         qt::GetHouse(missing, r);
         return r.result;
       },
       kInvalidFile + missing},
  };
  for (const auto& c : cases) {
    const std::string before = qt::ReadFile(file);
    EXPECT_EQ(0, c.call()) << c.what;
    EXPECT_EQ(c.message, LastError()) << c.what;
    EXPECT_EQ(before, qt::ReadFile(file)) << c.what << ": the file changed";
  }
  EXPECT_FALSE(qt::Exists(missing));
  EXPECT_FALSE(qt::Exists(noFolder));
}

TEST_F(SoftwareHouse, GetOnAMissingFileTouchesNothing) {
  qt::HostText cnpj("kept");
  qt::RecordingList files;
  EXPECT_EQ(
      0, quorix_GetDataSoftwareHouse(cnpj.out(), nullptr, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                     files.get(), nullptr, T(dir_.file("none.ini"))));
  EXPECT_EQ("kept", cnpj.str());
  EXPECT_TRUE(files.calls.empty());
}

TEST_F(SoftwareHouse, AHostListThatFailsEndsTheCall) {
  const std::string file = dir_.file("house.ini");
  ASSERT_EQ(1, qt::GenerateHouse(qt::SampleHouse(), file));
  const std::string prefix = kInvalidFile + "\r\n" + file + "\r\n";
  struct Case {
    const char* what;
    int appendAt;
    bool clear;
    const char* text;
    std::vector<std::string> fileCalls, digestCalls;
    std::string message;
  } cases[] = {
      {"append with its message",
       1,
       false,
       "EOutOfResources: lista cheia",
       {"clear", "+relatorios.dll", "+tef.dll"},
       {},
       prefix + "EOutOfResources: lista cheia"},
      {"append without a message",
       0,
       false,
       "",
       {"clear", "+relatorios.dll"},
       {},
       prefix + "A lista do host recusou o texto relatorios.dll"},
      {"clear", -1, true, "", {"clear"}, {}, prefix + "A lista do host n\xE3o foi esvaziada"},
  };
  for (const auto& c : cases) {
    HouseRead read;
    read.files.refuseAppendAt = c.appendAt;
    read.files.refuseClear = c.clear;
    read.files.refusalText = c.text;
    qt::GetHouse(file, read);
    EXPECT_EQ(0, read.result) << c.what;
    EXPECT_EQ(c.message, LastError()) << c.what;
    EXPECT_EQ(c.fileCalls, read.files.calls) << c.what;
    EXPECT_EQ(c.digestCalls, read.digests.calls) << c.what;
    // The texts were handed over before the lists.
    EXPECT_EQ(qt::SampleHouse().texts, read.data.texts) << c.what;
  }

  // A list without its functions is refused; a null list is skipped.
  HouseRead incomplete;
  incomplete.files.mutableList()->append = nullptr;
  qt::GetHouse(file, incomplete);
  EXPECT_EQ(0, incomplete.result);
  EXPECT_EQ(prefix + std::string("Lista do host sem as fun\xE7\xF5") + "es clear e append",
            LastError());

  qt::HostText md5;
  EXPECT_EQ(1, quorix_GetDataSoftwareHouse(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                           nullptr, nullptr, nullptr, nullptr, md5.out(), nullptr,
                                           nullptr, nullptr, nullptr, T(file)));
  EXPECT_EQ(qt::SampleHouse().texts[10], md5.str());
}

TEST_F(SoftwareHouse, ArrayArgumentsFollowTheTextConvention) {
  const std::string file = dir_.file("counts.ini");
  qt::HostText a("a.dll"), b("b.dll");
  quorix_text list[] = {a, b};
  qt::HostText none;
  EXPECT_EQ(
      1, quorix_GenerateDataSoftwareHouse(none, none, none, none, none, none, none, none, none,
                                          none, none, none, none, list, 1, nullptr, -1, T(file)));
  EXPECT_EQ(1, a.refcount());
  EXPECT_EQ(1, b.refcount());
  HouseRead read;
  qt::GetHouse(file, read);
  EXPECT_EQ((std::vector<std::string>{"a.dll", "b.dll"}), read.data.auxFiles);

  // A last index with no array behind it is refused before anything is written.
  const std::string other = dir_.file("null.ini");
  EXPECT_EQ(0, quorix_GenerateDataSoftwareHouse(none, none, none, none, none, none, none, none,
                                                none, none, none, none, none, nullptr, 0, nullptr,
                                                -1, T(other)));
  EXPECT_EQ("Lista inv\xE1lida: ponteiro nulo com \xFAltimo \xEDndice 0", LastError());
  EXPECT_FALSE(qt::Exists(other));
}

TEST_F(SoftwareHouse, SuccessLeavesTheLastErrorMessageInPlace) {
  const std::string file = dir_.file("keep.ini");
  EXPECT_EQ(0, quorix_Header(T("X")));
  const std::string message = LastError();
  ASSERT_EQ(1, qt::GenerateHouse(qt::SampleHouse(), file));
  HouseRead read;
  qt::GetHouse(file, read);
  ASSERT_EQ(1, read.result);
  EXPECT_EQ(message, LastError());
}

TEST_F(SoftwareHouse, ABareFileNameIsTheCurrentFolders) {
  qt::CurrentDir here(dir_.path());
  ASSERT_EQ(1, qt::GenerateHouse(qt::SampleHouse(), "bare.ini")) << LastError();
  EXPECT_EQ(PlainKeys(qt::SampleHouse()), Plain(dir_.file("bare.ini")));
  HouseRead read;
  qt::GetHouse("bare.ini", read);
  EXPECT_EQ(1, read.result) << LastError();
}

}  // namespace
