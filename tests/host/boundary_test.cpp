// The host text convention at the boundary: reference counts, constants,
// null texts, out-parameters and the byte-sized boolean slots.
#include <gtest/gtest.h>

#include <cstring>

#include "expected_messages.h"
#include "support.h"

namespace {

using namespace qt::msg;

using qt::HostText;
using qt::T;

// A text block laid out by hand: [count][length][bytes][terminator].
struct RawText {
  RawText(int32_t count, std::string_view bytes, char terminator = '\0') {
    int32_t header[2] = {count, static_cast<int32_t>(bytes.size())};
    std::memcpy(block, header, 8);
    std::memcpy(block + 8, bytes.data(), bytes.size());
    block[8 + bytes.size()] = terminator;
  }
  quorix_text text() const { return block + 8; }
  int32_t count() const {
    int32_t c;
    std::memcpy(&c, block, 4);
    return c;
  }
  alignas(4) char block[64];
};

TEST(Boundary, ArgumentCountsAreRaisedAndRestored) {
  HostText cnpj(qt::kCnpj), name("Loja");
  ASSERT_EQ(1, cnpj.refcount());
  EXPECT_EQ(1, quorix_InicializarPAF(cnpj, nullptr, nullptr, name));
  EXPECT_EQ(1, cnpj.refcount());
  EXPECT_EQ(1, name.refcount());
  // A failing call restores the counts too.
  HostText bad("123");
  EXPECT_EQ(0, quorix_InicializarPAF(bad, nullptr, nullptr, name));
  EXPECT_EQ(1, bad.refcount());
  qt::CloseAnyReport();
}

TEST(Boundary, ConstantsAreNeitherCountedNorFreed) {
  RawText constant(-1, "E1");
  qt::OpenSampleReport();
  EXPECT_EQ(1, quorix_Header(constant.text()));
  EXPECT_EQ(-1, constant.count());
  // Stored into an out-parameter, a constant is copied into a new block.
  HostText out;
  quorix_GenerateMD5(out.out(), constant.text());
  EXPECT_EQ("E1", out.str());
  EXPECT_NE(constant.text(), static_cast<quorix_text>(out));
  EXPECT_EQ(1, out.refcount());
  EXPECT_EQ(-1, constant.count());
  qt::CloseAnyReport();
}

TEST(Boundary, LengthComesFromThePrefixNeverFromTheTerminator) {
  // Embedded NUL inside, no NUL after: exactly the prefixed bytes count.
  RawText text(-1, std::string_view("a\0bc", 4), 'Z');
  HostText out;
  quorix_GenerateMD5(out.out(), text.text());
  EXPECT_EQ(std::string("a\0bc", 4), out.str());
  // Texts handed out end with a NUL after their last byte.
  EXPECT_EQ('\0', static_cast<quorix_text>(out)[4]);
}

TEST(Boundary, NullIsTheEmptyText) {
  HostText out("old");
  quorix_GenerateMD5(out.out(), nullptr);
  EXPECT_EQ(nullptr, static_cast<quorix_text>(out));
  EXPECT_EQ(0, quorix_Header(nullptr));
  EXPECT_EQ(kBadType, qt::LastError());
}

TEST(Boundary, OutParameterReleasesTheOldTextOnce) {
  HostText old("previous");
  char* shared = const_cast<char*>(static_cast<quorix_text>(old));
  // The host holds a second reference: the call drops only the variable's.
  int32_t* count = reinterpret_cast<int32_t*>(shared) - 2;
  ++*count;
  char* variable = shared;
  quorix_GenerateMD5(&variable, T("new"));
  EXPECT_EQ(1, old.refcount());
  ASSERT_NE(nullptr, variable);
  EXPECT_EQ(std::string("new"), std::string(variable, quorix_text_length(variable)));
  EXPECT_EQ(1, quorix_text_refcount(variable));
  quorix_text_release(variable);
}

TEST(Boundary, OutParameterMayAliasAnArgument) {
  HostText text("same");
  char* variable = const_cast<char*>(static_cast<quorix_text>(text));
  int32_t* count = reinterpret_cast<int32_t*>(variable) - 2;
  ++*count;  // the variable's own reference
  quorix_GenerateMD5(&variable, variable);
  EXPECT_EQ(std::string("same"), std::string(variable, quorix_text_length(variable)));
  EXPECT_EQ(1, text.refcount());
  quorix_text_release(variable);
}

TEST(Boundary, OnlyTheLowestByteOfABooleanSlotCounts) {
  qt::TempDir dir;
  const std::string file = dir.file("r.txt");
  const auto& keys = qt::Keys();
  // 0x100: lowest byte 0, so not "sign only": the report is written.
  qt::OpenSampleReport();
  EXPECT_EQ(1, quorix_FinalizarPAF(keys.publicKey, keys.privateKey, T(file), 0x100u))
      << qt::LastError();
  EXPECT_TRUE(qt::Exists(file));
  // 0xFFFFFF01: lowest byte 1, "sign only": an absent file is an error.
  const std::string absent = dir.file("absent.txt");
  EXPECT_EQ(0, quorix_FinalizarPAF(keys.publicKey, keys.privateKey, T(absent), 0xFFFFFF01u));
  EXPECT_EQ("Erro durante a grava\xE7\xE3o do arquivo " + absent, qt::LastError());
}

TEST(Boundary, ResultsAreExactlyOneOrZero) {
  qt::OpenSampleReport();
  EXPECT_EQ(1, static_cast<int>(quorix_Header(T("E1"))));
  EXPECT_EQ(0, static_cast<int>(quorix_Header(T("E"))));
  qt::CloseAnyReport();
}

}  // namespace
