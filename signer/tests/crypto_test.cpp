#include "crypto.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "bignum.h"
#include "test_util.h"

namespace {

using sign_bema::Block;
using sign_bema_test::to_hex;

std::string md5_hex(const std::string& data) {
  sign_bema::Md5 md5;
  md5.update(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
  return to_hex(md5.finish());
}

TEST(Md5, KnownAnswers) {
  const struct {
    std::string input;
    const char* want;
  } cases[] = {
      {"", "D41D8CD98F00B204E9800998ECF8427E"},
      {"a", "0CC175B9C0F1B6A831C399E269772661"},
      {"abc", "900150983CD24FB0D6963F7D28E17F72"},
      {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
      {std::string(1000000, 'a'), "7707D6AE4E027C70EEA2A935C2296F21"},
  };
  for (const auto& c : cases) EXPECT_EQ(md5_hex(c.input), c.want) << c.input.substr(0, 20);
}

TEST(Md5, UnevenPiecesHashLikeOneBuffer) {
  std::string data;
  for (int i = 0; i < 4099; ++i) {
    for (int b = 0; b < 256; ++b) data += static_cast<char>(b);
  }
  sign_bema::Md5 md5;
  const auto* p = reinterpret_cast<const std::uint8_t*>(data.data());
  std::size_t at = 0;
  for (std::size_t piece = 0; at < data.size(); piece = piece * 7 + 13) {
    const std::size_t n = std::min(piece % 100003, data.size() - at);
    md5.update(p + at, n);
    at += n;
  }
  EXPECT_EQ(to_hex(md5.finish()), "5904BA4CC89513DBED12B0D5933E8E3A");
}

TEST(RsaKey, FreshKeysAreFullSizeAndWorkBothWays) {
  Block n1{}, d1{}, n2{}, d2{};
  ASSERT_TRUE(sign_bema::generate_rsa_key(n1, d1));
  ASSERT_TRUE(sign_bema::generate_rsa_key(n2, d2));
  EXPECT_NE(n1, n2);
  EXPECT_NE(d1, d2);
  EXPECT_NE(n1[0] & 0x80, 0) << "modulus shorter than 1024 bits";
  EXPECT_EQ(n1[127] & 1, 1) << "even modulus";

  Block m{};
  m[0] = 0x10;
  m[5] = 0xA5;
  m[127] = 0x01;
  Block e{};
  e[125] = 0x01;
  e[127] = 0x01;
  Block s{}, back{};
  ASSERT_TRUE(sign_bema::rsa_mod_exp(m, d1, n1, s));
  ASSERT_TRUE(sign_bema::rsa_mod_exp(s, e, n1, back));
  EXPECT_EQ(back, m);

  // The platform's operation and the portable one must agree, since a
  // file signed by one build is validated by the other.
  Block portable{};
  ASSERT_TRUE(sign_bema::mod_exp(m.data(), m.size(), d1.data(), d1.size(), n1.data(), n1.size(),
                                 portable.data()));
  EXPECT_EQ(portable, s);
}

}  // namespace
