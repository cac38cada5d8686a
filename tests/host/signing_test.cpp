// Key pairs, signing and validation through the signing library, and a host
// that runs without it.
#include <gtest/gtest.h>

#include "expected_messages.h"
#include "support.h"

namespace {

using namespace qt::msg;

using qt::LastError;
using qt::T;

const std::string kRecordError = "Erro durante o processo de gera\xE7\xE3o do Registro Chave";

bool IsUpperHex(const std::string& s) {
  return s.find_first_not_of("0123456789ABCDEF") == std::string::npos;
}

TEST(Signing, GeneratedKeysAre256HexCharacters) {
  qt::HostText pub("old public"), priv("old private");
  ASSERT_EQ(1, quorix_GenerateKeys(pub.out(), priv.out())) << LastError();
  EXPECT_EQ(256u, pub.str().size());
  EXPECT_EQ(256u, priv.str().size());
  EXPECT_TRUE(IsUpperHex(pub.str())) << pub.str();
  EXPECT_TRUE(IsUpperHex(priv.str())) << priv.str();
  EXPECT_NE(qt::Keys().publicKey.str(), pub.str());  // a new pair each time
}

TEST(Signing, SignedFileValidatesUntilTouched) {
  qt::TempDir dir;
  const auto& k = qt::Keys();
  const std::string file = dir.file("any.txt");
  const std::string content = "linha 1\r\nlinha 2\r\n";
  qt::WriteFile(file, content);
  ASSERT_EQ(1, quorix_SignatureFileHash(k.publicKey, k.privateKey, T(file))) << LastError();
  const std::string signed_ = qt::ReadFile(file);
  ASSERT_EQ(content.size() + 3 + 256 + 2, signed_.size());
  EXPECT_EQ(content, signed_.substr(0, content.size()));
  EXPECT_EQ(1, quorix_ValidateFilePAF(k.publicKey, k.privateKey, T(file)));

  // One changed byte, or another key, and the file no longer validates.
  std::string tampered = signed_;
  tampered[3] = 'X';
  qt::WriteFile(file, tampered);
  EXPECT_EQ(0, quorix_ValidateFilePAF(k.publicKey, k.privateKey, T(file)));
  EXPECT_EQ(kInvalidFile, LastError());
  qt::WriteFile(file, signed_);
  qt::HostText otherPub, otherPriv;
  ASSERT_EQ(1, quorix_GenerateKeys(otherPub.out(), otherPriv.out()));
  EXPECT_EQ(0, quorix_ValidateFilePAF(otherPub, otherPriv, T(file)));
  EXPECT_EQ(1, quorix_ValidateFilePAF(k.publicKey, k.privateKey, T(file)));
}

TEST(Signing, FailuresAndTheirMessages) {
  qt::TempDir dir;
  const auto& k = qt::Keys();
  const std::string missing = dir.file("missing.txt");
  EXPECT_EQ(0, quorix_ValidateFilePAF(k.publicKey, k.privateKey, T(missing)));
  EXPECT_EQ(kInvalidFile, LastError());
  EXPECT_EQ(0, quorix_ValidateFilePAF(k.publicKey, k.privateKey, T(dir.path())));  // a folder
  EXPECT_EQ(kInvalidFile, LastError());

  EXPECT_EQ(0, quorix_SignatureFileHash(k.publicKey, k.privateKey, T(missing)));
  EXPECT_EQ(kRecordError + "\r\nErro de execu\xE7\xE3o do comando", LastError());
  EXPECT_FALSE(qt::Exists(missing));

  // A successful call leaves an older message in place.
  ASSERT_EQ(1, quorix_GenerateKeys(qt::HostText().out(), qt::HostText().out()));
  EXPECT_EQ(kRecordError + "\r\nErro de execu\xE7\xE3o do comando", LastError());
}

TEST(Signing, GenerateMD5HandsBackItsInput) {
  qt::HostText digest("previous");
  quorix_GenerateMD5(digest.out(), T("abc"));
  EXPECT_EQ("abc", digest.str());
  quorix_GenerateMD5(digest.out(), T(""));
  EXPECT_EQ("", digest.str());
}

TEST(Signing, AHostWithoutTheSigningLibraryKeepsWorking) {
  qt::TempDir dir;
  const std::string bin = qt::ProgramDir();
#if defined(_WIN32)
  qt::CopyFileTo(bin + "/quorix.dll", dir.path());
  const std::string probe = qt::CopyFileTo(bin + "/quorix_nosigner_probe.exe", dir.path());
#else
  qt::CopyFileTo(bin + "/libquorix.so.1", dir.path());
  const std::string probe = qt::CopyFileTo(bin + "/quorix_nosigner_probe", dir.path());
#endif
  EXPECT_EQ(0, qt::RunProgram(probe, {}, dir.path()));
}

}  // namespace
