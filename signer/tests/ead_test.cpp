#include "ead.h"

#include <gtest/gtest.h>

#include <cctype>
#include <functional>

#include "sign_bema.h"
#include "test_util.h"

namespace {

namespace fs = std::filesystem;
using sign_bema::Block;
using sign_bema::kEadLineBytes;
using sign_bema::kHexChars;
using sign_bema_test::kKatModulus;
using sign_bema_test::kKatPrivateExponent;
using sign_bema_test::read_file;
using sign_bema_test::TempDir;
using sign_bema_test::to_hex;
using sign_bema_test::write_file;

const std::string kReport = "REPORT LINE 1\r\nREPORT LINE 2\r\n";
// python3: pow(int.from_bytes(b"\x10" + md5(kReport) + bytes(111), "big"), d, n)
const std::string kReportSignature =
    "83135C61340A513D718820A07C9C884E604B4DA0623E9983E200CA3763D940C23CC76CC330BA1BDA413340CB25A7"
    "19573C5756CFE58884EF5B9076912BAEC432E85AB412144EFC38F734C07B0C7AF2D5BE0278F4048ADB46579C616D"
    "B40E99E1B4004DFC6580B88BAF1335B2D52ABBF108B167A706DCB08BE9839CA812230F5E";

bool is_upper_hex(const std::string& s) {
  for (const char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c)) && (c < 'A' || c > 'F')) return false;
  }
  return true;
}

// 256 digits and a sentinel where the caller's terminator would be, which the
// library must not touch.
struct KeyBuffer {
  char text[kHexChars + 1];
  KeyBuffer() { std::fill(std::begin(text), std::end(text), '#'); }
  std::string digits() const { return std::string(text, kHexChars); }
  bool sentinel_intact() const { return text[kHexChars] == '#'; }
};

TEST(KeyText, ParsesEitherCaseAndRejectsAnythingElse) {
  const std::string good = "00" + std::string(kHexChars - 4, 'a') + "fF";
  const struct {
    std::string name;
    std::string text;
    bool ok;
  } cases[] = {
      {"upper", std::string(kHexChars, 'F'), true},
      {"mixed case", good, true},
      {"255 digits", std::string(kHexChars - 1, 'A'), false},
      {"257 digits", std::string(kHexChars + 1, 'A'), false},
      {"empty", "", false},
      {"non-hex first", "G" + std::string(kHexChars - 1, 'A'), false},
      {"non-hex last", std::string(kHexChars - 1, 'A') + "g", false},
      {"space inside", std::string(100, 'A') + " " + std::string(kHexChars - 101, 'A'), false},
      {"trailing newline", std::string(kHexChars - 1, 'A') + "\n", false},
  };
  for (const auto& c : cases) {
    Block b{};
    EXPECT_EQ(sign_bema::parse_hex_block(c.text.c_str(), b), c.ok) << c.name;
  }
  Block b{};
  ASSERT_TRUE(sign_bema::parse_hex_block(good.c_str(), b));
  EXPECT_EQ(b[0], 0x00);
  EXPECT_EQ(b[1], 0xAA);
  EXPECT_EQ(b[127], 0xFF);
  EXPECT_FALSE(sign_bema::parse_hex_block(nullptr, b));
}

TEST(DigestBlock, IsLengthDigestThenZeros) {
  sign_bema::Md5 md5;
  md5.update(reinterpret_cast<const std::uint8_t*>("abc"), 3);
  const Block m = sign_bema::digest_block(md5.finish());
  EXPECT_EQ(to_hex(m), "10900150983CD24FB0D6963F7D28E17F72" + std::string(2 * 111, '0'));
}

TEST(GenKKey, WritesTwoFullSizeUpperHexKeys) {
  KeyBuffer pub, priv;
  ASSERT_EQ(genkkey(pub.text, priv.text), 1);
  EXPECT_TRUE(pub.sentinel_intact());
  EXPECT_TRUE(priv.sentinel_intact());
  EXPECT_TRUE(is_upper_hex(pub.digits())) << pub.digits();
  EXPECT_TRUE(is_upper_hex(priv.digits())) << priv.digits();
  EXPECT_GE(pub.text[0], '8') << "modulus shorter than 1024 bits";
  EXPECT_NE(pub.digits(), priv.digits());
  EXPECT_EQ(genkkey(nullptr, priv.text), 0);
  EXPECT_EQ(genkkey(pub.text, nullptr), 0);
}

class SignedFile : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    KeyBuffer pub, priv, other_pub, other_priv;
    ASSERT_EQ(genkkey(pub.text, priv.text), 1);
    ASSERT_EQ(genkkey(other_pub.text, other_priv.text), 1);
    pub_ = pub.digits();
    priv_ = priv.digits();
    other_pub_ = other_pub.digits();
    other_priv_ = other_priv.digits();
  }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  int32_t sign(const std::string& file, const std::string& pub, const std::string& priv,
               KeyBuffer& sig, int32_t mode = 1) {
    return generateEAD(file.c_str(), pub.c_str(), priv.c_str(), sig.text, mode);
  }
  int32_t sign(const std::string& file) {
    KeyBuffer sig;
    return sign(file, pub_, priv_, sig);
  }
  int32_t validate(const std::string& file, const std::string& pub) {
    return validateFile(file.c_str(), pub.c_str(), priv_.c_str());
  }
  int32_t validate(const std::string& file) { return validate(file, pub_); }

  static std::string pub_, priv_, other_pub_, other_priv_;
  TempDir dir_;
};

std::string SignedFile::pub_, SignedFile::priv_, SignedFile::other_pub_, SignedFile::other_priv_;

TEST_F(SignedFile, KnownAnswerForAFixedKey) {
  const std::string f = path("report.txt");
  write_file(f, kReport);
  KeyBuffer sig;
  ASSERT_EQ(sign(f, kKatModulus, kKatPrivateExponent, sig), 1);
  EXPECT_EQ(read_file(f), kReport + "EAD" + kReportSignature + "\r\n");
  EXPECT_EQ(sig.digits(), kReportSignature);
  EXPECT_TRUE(sig.sentinel_intact());
  EXPECT_EQ(validate(f, kKatModulus), 1);
}

TEST_F(SignedFile, AppendsOneLineAndLeavesTheRestAlone) {
  const std::string f = path("report.txt");
  const std::string content = "header\r\n" + std::string(5000, 'x') + "\r\nfooter\n";
  write_file(f, content);
  KeyBuffer sig;
  ASSERT_GT(sign(f, pub_, priv_, sig), 0);
  const std::string signed_text = read_file(f);
  ASSERT_EQ(signed_text.size(), content.size() + kEadLineBytes);
  EXPECT_EQ(signed_text.substr(0, content.size()), content);
  const std::string line = signed_text.substr(content.size());
  EXPECT_EQ(line.substr(0, 3), "EAD");
  EXPECT_TRUE(is_upper_hex(line.substr(3, kHexChars)));
  EXPECT_EQ(line.substr(3, kHexChars), sig.digits());
  EXPECT_EQ(line.substr(3 + kHexChars), "\r\n");
  EXPECT_EQ(validate(f), 1);
  EXPECT_EQ(validate(f, other_pub_), 0);
}

TEST_F(SignedFile, AnyChangedByteInvalidates) {
  const std::string content = "line one\r\nline two\r\n";
  const std::string f = path("report.txt");
  write_file(f, content);
  ASSERT_EQ(sign(f), 1);
  const std::string good = read_file(f);
  const std::size_t line_at = content.size();
  const struct {
    const char* where;
    std::size_t at;
    char value;
  } cases[] = {
      {"first content byte", 0, 'L'},
      {"middle of the content", 5, 'O'},
      {"LF before the EAD line", line_at - 1, ' '},
      {"E of EAD", line_at, 'e'},
      {"D of EAD", line_at + 2, 'X'},
      {"first signature digit", line_at + 3, good[line_at + 3] == '1' ? '2' : '1'},
      {"last signature digit", line_at + 258, good[line_at + 258] == '1' ? '2' : '1'},
      {"signature digit made non-hex", line_at + 100, 'Z'},
      {"final CR", line_at + 259, '\n'},
      {"final LF", line_at + 260, '\r'},
  };
  for (const auto& c : cases) {
    std::string bad = good;
    bad[c.at] = c.value;
    ASSERT_NE(bad, good) << c.where;
    write_file(f, bad);
    EXPECT_EQ(validate(f), 0) << c.where;
  }
  write_file(f, good);
  EXPECT_EQ(validate(f), 1);
}

TEST_F(SignedFile, LineMustCloseTheFileAndStartALine) {
  const std::string f = path("report.txt");
  write_file(f, kReport);
  ASSERT_EQ(sign(f), 1);
  const std::string good = read_file(f);
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"no EAD line", kReport},
      {"empty file", ""},
      {"last byte cut", good.substr(0, good.size() - 1)},
      {"byte after the line", good + "\n"},
      {"second line after it", good + "x\r\n"},
      {"line without CR", good.substr(0, good.size() - 2) + "\n"},
      {"extra digit", good.substr(0, good.size() - 2) + "0\r\n"},
      {"line not at a line start", "x" + good.substr(kReport.size())},
  };
  for (const auto& c : cases) {
    write_file(f, c.text);
    EXPECT_EQ(validate(f), 0) << c.what;
  }
}

TEST_F(SignedFile, LowerCaseSignatureDigitsAreAccepted) {
  const std::string f = path("report.txt");
  write_file(f, kReport);
  ASSERT_EQ(sign(f), 1);
  std::string text = read_file(f);
  for (std::size_t i = kReport.size() + 3; i < text.size() - 2; ++i) {
    text[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
  }
  write_file(f, text);
  EXPECT_EQ(validate(f), 1);
}

TEST_F(SignedFile, EmptyFileBecomesTheLineAlone) {
  const std::string f = path("empty.txt");
  write_file(f, "");
  KeyBuffer sig;
  ASSERT_EQ(sign(f, pub_, priv_, sig), 1);
  EXPECT_EQ(read_file(f), "EAD" + sig.digits() + "\r\n");
  EXPECT_EQ(validate(f), 1);
}

TEST_F(SignedFile, FailuresLeaveFileAndSignatureUntouched) {
  const std::string f = path("report.txt");
  const std::string key_255 = pub_.substr(1);
  const std::string key_non_hex = "Z" + pub_.substr(1);
  const struct {
    const char* what;
    std::string content;
    std::string pub;
    std::string priv;
    int32_t mode;
  } cases[] = {
      {"public key of 255 digits", kReport, key_255, priv_, 1},
      {"private key of 255 digits", kReport, pub_, priv_.substr(1), 1},
      {"non-hex public key", kReport, key_non_hex, priv_, 1},
      {"non-hex private key", kReport, pub_, "Z" + priv_.substr(1), 1},
      {"empty keys", kReport, "", "", 1},
      {"keys from two pairs", kReport, pub_, other_priv_, 1},
      {"even modulus", kReport, pub_.substr(0, kHexChars - 1) + "2", priv_, 1},
      {"unknown mode", kReport, pub_, priv_, 2},
      {"file not ending with a line feed", "no line end", pub_, priv_, 1},
  };
  for (const auto& c : cases) {
    write_file(f, c.content);
    KeyBuffer sig;
    EXPECT_EQ(sign(f, c.pub, c.priv, sig, c.mode), 0) << c.what;
    EXPECT_EQ(read_file(f), c.content) << c.what;
    EXPECT_EQ(std::string(sig.text, sizeof sig.text), std::string(kHexChars + 1, '#')) << c.what;
  }
  KeyBuffer sig;
  EXPECT_EQ(generateEAD(nullptr, pub_.c_str(), priv_.c_str(), sig.text, 1), 0);
  EXPECT_EQ(generateEAD(f.c_str(), nullptr, priv_.c_str(), sig.text, 1), 0);
  EXPECT_EQ(generateEAD(f.c_str(), pub_.c_str(), priv_.c_str(), nullptr, 1), 0);
  EXPECT_EQ(read_file(f), "no line end");
}

TEST_F(SignedFile, MissingFileIsNeitherSignedNorCreated) {
  const std::string f = path("absent.txt");
  KeyBuffer sig;
  EXPECT_EQ(sign(f, pub_, priv_, sig), 0);
  EXPECT_FALSE(fs::exists(f));
  EXPECT_EQ(validate(f), 0);
  EXPECT_EQ(sign(path("")), 0) << "a directory";
  EXPECT_EQ(validate(path("")), 0) << "a directory";
}

TEST_F(SignedFile, ValidationIgnoresThePrivateKeyButNotThePublicOne) {
  const std::string f = path("report.txt");
  write_file(f, kReport);
  ASSERT_EQ(sign(f), 1);
  EXPECT_EQ(validateFile(f.c_str(), pub_.c_str(), nullptr), 1);
  EXPECT_EQ(validateFile(f.c_str(), pub_.c_str(), "junk"), 1);
  EXPECT_EQ(validateFile(f.c_str(), nullptr, priv_.c_str()), 0);
  EXPECT_EQ(validateFile(f.c_str(), pub_.substr(1).c_str(), priv_.c_str()), 0);
  EXPECT_EQ(validateFile(nullptr, pub_.c_str(), priv_.c_str()), 0);
  // A signature value at or above the modulus is never a valid one, even
  // though it is the same number modulo n.
  std::string text = read_file(f);
  text.replace(kReport.size() + 3, kHexChars, std::string(kHexChars, 'F'));
  write_file(f, text);
  EXPECT_EQ(validate(f), 0);
}

// Sizes around the hashing chunk, where the EAD line and the byte before it
// fall on either side of a chunk boundary. The expected signature is worked
// out from the whole content in memory.
TEST_F(SignedFile, LargeFilesAcrossChunkBoundaries) {
  const std::size_t chunk = sign_bema::kChunkBytes;
  const std::size_t sizes[] = {
      chunk - kEadLineBytes - 1, chunk - kEadLineBytes, chunk - 1, chunk, chunk + 1, 2 * chunk + 7};
  Block n{}, d{};
  ASSERT_TRUE(sign_bema::parse_hex_block(kKatModulus, n));
  ASSERT_TRUE(sign_bema::parse_hex_block(kKatPrivateExponent, d));
  for (const std::size_t size : sizes) {
    std::string content(size, '\0');
    for (std::size_t i = 0; i < size; ++i) content[i] = static_cast<char>((i * 131) >> 3);
    content.back() = '\n';

    sign_bema::Md5 md5;
    md5.update(reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
    Block s{};
    ASSERT_TRUE(sign_bema::rsa_mod_exp(sign_bema::digest_block(md5.finish()), d, n, s));

    const std::string f = path("big.bin");
    write_file(f, content);
    KeyBuffer sig;
    ASSERT_EQ(sign(f, kKatModulus, kKatPrivateExponent, sig), 1) << size;
    EXPECT_EQ(sig.digits(), to_hex(s)) << size;
    EXPECT_EQ(fs::file_size(f), size + kEadLineBytes) << size;
    EXPECT_EQ(validate(f, kKatModulus), 1) << size;
  }
}

}  // namespace
