#include "bignum.h"

#include <gtest/gtest.h>

#include "test_util.h"

#ifndef _WIN32
#include <openssl/bn.h>
#include <openssl/rand.h>
#endif

namespace {

using sign_bema_test::from_hex;
using sign_bema_test::to_hex;

// The result as hex without leading zeros ("0" for zero), or "FAIL".
std::string power(const std::string& base, const std::string& exp, const std::string& mod) {
  const auto b = from_hex(base), e = from_hex(exp), m = from_hex(mod);
  std::vector<std::uint8_t> out(m.size(), 0xAA);
  if (!sign_bema::mod_exp(b.data(), b.size(), e.data(), e.size(), m.data(), m.size(), out.data())) {
    return "FAIL";
  }
  const std::string hex = to_hex(out);
  const auto first = hex.find_first_not_of('0');
  return first == std::string::npos ? "0" : hex.substr(first);
}

struct PowCase {
  std::string base;
  std::string exp;
  std::string mod;
  std::string want;
};

// Expected values from python3's pow(base, exp, mod).
TEST(ModExp, KnownAnswers) {
  const PowCase cases[] = {
      {"04", "0D", "01F1", "1BD"},
      {"02", "0A", "03FF", "1"},
      {"00", "05", "07", "0"},
      {"05", "00", "07", "1"},
      {"05", "", "07", "1"},
      {"06", "01", "07", "6"},
      // One full limb: every carry out of the top limb matters.
      {"FFFFFFFE", "02", "FFFFFFFF", "1"},
      {"0123456789ABCDEF", "010001", "FFFFFFFFFFFFFFC5", "D3097250901A4710"},
      {"10000000000000000000003039", "7FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFD",
       "7FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", "6EC289858F7127EF8FD042964DCE6565"},
      // 2^1024 - 1: all limbs saturated.
      {"8" + std::string(247, '0') + "DEADBEEF", "010001", std::string(256, 'F'),
       "1FAB38DAE92F12BA31D5D7D38341E8747E532495A4F405ABB863BF670F690BBC44C8AE57ED0927F87DDCD52E35"
       "EA797D5C40CC095758F1724414F43CFB6B7A8740C38D3D0FE9CAB95D25BBD0E2FFFE023FC6556FAC5E5D748E99"
       "5C5577765220DBDDC36E436BFB983BE4F67D1C2DD80659F8DD79F20F814312A4D2E783E33A20"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(power(c.base, c.exp, c.mod), c.want) << c.base << "^" << c.exp << " mod " << c.mod;
  }
}

TEST(ModExp, Fixed1024BitPrivateKeyOperationAndItsInverse) {
  const std::string m =
      "0FF89A9A2E825CE1158D003D9A0B2361AED09B824CA87FC2BFB637DD5BAE2D26683447C10CC8AF11DD4EABBD1F"
      "CFB9809823BEB1E6BA3AD74DE45321AD915A36B37523A53B4A3EE20463513755AC0ECD5E6A0A2EDD70E34DC1D7"
      "7CFFB7DECC0C5D96CF7F265BEDA9CF0C26EF4243ED52566BF9D7C55A45F8D1A6E55E9B9B1325";
  const std::string s =
      "6A4F5C90ABBCF8D9F95EB53CC0687BC4259ACDA99D289E51764E4962A788715723A867391F24EFA639C2A6E7BF"
      "7301BB7DA0CD7854F7D1B55789C0E3AACD5B51DB04906BC23FFC4091829FC41E476792D3CCCC53E161DB34D04E"
      "8ABB8DF7124AE5E747C1AE600EC7D188E5786E057E00E4F1EE9A100C8A5CCCBB957D46FD2890";
  EXPECT_EQ(power(m, sign_bema_test::kKatPrivateExponent, sign_bema_test::kKatModulus), s);
  EXPECT_EQ(power(s, "010001", sign_bema_test::kKatModulus), m.substr(1));
}

TEST(ModExp, ResultIsZeroFilledToTheModulusLength) {
  const auto b = from_hex("02"), e = from_hex("03"), m = from_hex("0000000B");
  std::vector<std::uint8_t> out(m.size(), 0xAA);
  ASSERT_TRUE(
      sign_bema::mod_exp(b.data(), b.size(), e.data(), e.size(), m.data(), m.size(), out.data()));
  EXPECT_EQ(to_hex(out), "00000008");
}

TEST(ModExp, RejectsWhatMontgomeryCannotOrShouldNotCompute) {
  const PowCase cases[] = {
      {"02", "03", "0A", "FAIL"},          // even modulus
      {"00", "03", "01", "FAIL"},          // modulus 1
      {"00", "03", "0000", "FAIL"},        // modulus 0
      {"07", "03", "07", "FAIL"},          // base == modulus
      {"0100000007", "03", "07", "FAIL"},  // base wider than the modulus
      {"08", "03", "07", "FAIL"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(power(c.base, c.exp, c.mod), c.want) << c.base << " mod " << c.mod;
  }
}

#ifndef _WIN32
// The portable code against OpenSSL on random operands of many sizes,
// 1024-bit ones most of all.
TEST(ModExp, AgreesWithOpenSslOnRandomOperands) {
  BN_CTX* ctx = BN_CTX_new();
  ASSERT_NE(ctx, nullptr);
  for (int round = 0; round < 300; ++round) {
    std::uint8_t pick = 0;
    ASSERT_EQ(RAND_bytes(&pick, 1), 1);
    const int mod_bytes = round < 200 ? 128 : 1 + pick % 160;
    std::vector<std::uint8_t> m(mod_bytes), b(mod_bytes), e(mod_bytes);
    ASSERT_EQ(RAND_bytes(m.data(), mod_bytes), 1);
    ASSERT_EQ(RAND_bytes(b.data(), mod_bytes), 1);
    ASSERT_EQ(RAND_bytes(e.data(), mod_bytes), 1);
    m.back() |= 1;
    m.front() |= 0x80;
    b.front() &= 0x7F;  // keeps base < modulus

    BIGNUM* bn_b = BN_bin2bn(b.data(), mod_bytes, nullptr);
    BIGNUM* bn_e = BN_bin2bn(e.data(), mod_bytes, nullptr);
    BIGNUM* bn_m = BN_bin2bn(m.data(), mod_bytes, nullptr);
    BIGNUM* bn_r = BN_new();
    ASSERT_EQ(BN_mod_exp(bn_r, bn_b, bn_e, bn_m, ctx), 1);
    std::vector<std::uint8_t> want(mod_bytes), got(mod_bytes);
    ASSERT_EQ(BN_bn2binpad(bn_r, want.data(), mod_bytes), mod_bytes);
    BN_free(bn_b);
    BN_free(bn_e);
    BN_free(bn_m);
    BN_free(bn_r);

    ASSERT_TRUE(
        sign_bema::mod_exp(b.data(), b.size(), e.data(), e.size(), m.data(), m.size(), got.data()));
    ASSERT_EQ(to_hex(got), to_hex(want))
        << "modulus " << to_hex(m) << " base " << to_hex(b) << " exponent " << to_hex(e);
  }
  BN_CTX_free(ctx);
}
#endif

}  // namespace
