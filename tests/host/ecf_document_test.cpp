// Other ECF document lines and payment lines, through the exported entries as
// a host calls them: exact line bytes, the order of the checks, their
// messages and what a call leaves behind.
#include <gtest/gtest.h>

#include "ecf_documents.h"
#include "expected_messages.h"
#include "support.h"

namespace {

using namespace qt;
using namespace qt::ecf;
using namespace qt::msg;

constexpr double k13h05m09s = (13 * 3600 + 5 * 60 + 9) / 86400.0;

// The arguments of one other-document line, valid as they stand.
struct Document {
  std::string type = "E16", serial = "BE091010100011223344", mf = "A", model = "PX-2100 FI EX",
              user = "1", coo = "4570", gnf = "12", grg = "3", cdc = "1", symbol = "rg";
  double endDate = k2008_03_01 + 0.75, endTime = k13h05m09s;

  quorix_bool Call() const {
    return quorix_RelacaoDemaisDoctosEcf(T(type), T(serial), T(mf), T(model), T(user), T(coo),
                                         T(gnf), T(grg), T(cdc), T(symbol), endDate, endTime);
  }
};

const std::string kDocumentLine = std::string("E16") + "BE091010100011223344" + "A" +
                                  "PX-2100 FI EX       " + "01" + "004570" + "000012" +
                                  "000003" +              // 45 user .. 59 GRG
                                  "0001" + "RG" +         // 65 CDC, 69 symbol
                                  "20080301" + "130509";  // 71 date, 79 time

// The arguments of one payment line, valid as they stand.
struct Payment {
  std::string type = "E21", serial = "BE091010100011223344", mf = "A", model = "PX-2100 FI EX",
              user = "1", coo = "4567", ccf = "123", gnf = "",
              method =
                  "Cart\xE3o Cr\xE9"
                  "dito";
  double paid = 101.25;
  quorix_slot reversal = 'n';
  double reversed = 0;

  quorix_bool Call() const {
    return quorix_DetalheDemaisDoctosEcf(T(type), T(serial), T(mf), T(model), T(user), T(coo),
                                         T(ccf), T(gnf), T(method), paid, reversal, reversed);
  }
};

const std::string kPaymentLine = std::string("E21") + "BE091010100011223344" + "A" +
                                 "PX-2100 FI EX       " + "01" + "004567" + "000123" +
                                 "000000" +               // 45 user .. 59 GNF
                                 "CARTAO CREDITO " +      // 65 means of payment
                                 "0000000010125" + "n" +  // 80 paid, 93 reversal indicator
                                 "0000000000000";         // 94 reversed amount

using EcfDocument = qt::OpenReport;

TEST_F(EcfDocument, SampleLinesAreWrittenFieldByField) {
  ASSERT_EQ(84u, kDocumentLine.size());
  ASSERT_EQ(106u, kPaymentLine.size());
  quorix_Header(T("X"));  // leaves a message behind
  ASSERT_EQ(1, Document{}.Call()) << LastError();
  EXPECT_EQ("", LastError());  // emptied at entry
  quorix_Header(T("X"));
  ASSERT_EQ(1, Payment{}.Call()) << LastError();
  EXPECT_EQ("", LastError());
  Document bad;
  bad.cdc = "12345";  // fails only at the length of its line
  EXPECT_EQ(0, bad.Call());
  const auto lines = FinishedLines();
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ(kDocumentLine, lines[0]);
  EXPECT_EQ(kPaymentLine, lines[1]);
}

TEST_F(EcfDocument, DocumentFieldRenderings) {
  const std::vector<LineCase<Document>> cases = {
      {"symbol CM", [](Document& c) { c.symbol = "CM"; }, {Field(69, "CM")}},
      {"symbol rv", [](Document& c) { c.symbol = "rv"; }, {Field(69, "RV")}},
      {"symbol Cc", [](Document& c) { c.symbol = "Cc"; }, {Field(69, "CC")}},
      {"symbol cN", [](Document& c) { c.symbol = "cN"; }, {Field(69, "CN")}},
      {"symbol nc", [](Document& c) { c.symbol = "nc"; }, {Field(69, "NC")}},
      {"symbol Rg", [](Document& c) { c.symbol = "Rg"; }, {Field(69, "RG")}},
      {"symbol rG", [](Document& c) { c.symbol = "rG"; }, {Field(69, "RG")}},
      {"counters of zeros with any symbol",
       [](Document& c) {
         c.coo = c.gnf = c.grg = "000000";
         c.cdc = "";
         c.symbol = "NC";
       },
       {Field(47, std::string(22, '0')), Field(69, "NC")}},
      {"counters as passed",
       [](Document& c) {
         c.coo = " 7";
         c.gnf = "abc";
         c.grg = "123456";
         c.cdc = "x ";
       },
       {Field(47,
              "0000 7"
              "000abc"
              "123456"
              "00x ")}},
      {"time exactly 0", [](Document& c) { c.endTime = 0; }, {Field(79, "000000")}},
      {"time of a full date and time",
       [](Document& c) { c.endTime = k2008_03_01 + 0.5; },
       {Field(79, "120000")}},
      {"user, mf and model rendered",
       [](Document& c) {
         c.user = "";
         c.mf = "b";
         c.model = "Impressora fiscal t\xE9rmica";
       },
       {Field(24, "BIMPRESSORA FISCAL TE"), Field(45, "00")}},
  };
  ExpectAcceptedLines<Document>(cases, kDocumentLine);
}

TEST_F(EcfDocument, DocumentChecksInOrder) {
  const std::vector<RefusalCase<Document>> cases = {
      {"type first",
       [](Document& c) {
         c.type = "E1";
         c.serial = "";
       },
       kBadType + "E1"},
      {"serial before symbol",
       [](Document& c) {
         c.serial = "\t";
         c.symbol = "XX";
       },
       kBadSerial},
      {"blank before the symbol", [](Document& c) { c.symbol = " CM"; }, kBadSymbol + " CM"},
      {"blank after the symbol", [](Document& c) { c.symbol = "CM "; }, kBadSymbol + "CM "},
      {"no symbol", [](Document& c) { c.symbol = ""; }, kBadSymbol},
      {"one letter", [](Document& c) { c.symbol = "C"; }, kBadSymbol + "C"},
      {"unknown symbol", [](Document& c) { c.symbol = "cx"; }, kBadSymbol + "cx"},
      {"symbol with a NUL", [](Document& c) { c.symbol = std::string("CM\0", 3); },
       kBadSymbol + std::string("CM\0", 3)},
      {"symbol before the period",
       [](Document& c) {
         c.symbol = "ZZ";
         c.endDate = 0;
       },
       kBadSymbol + "ZZ"},
      {"zero date", [](Document& c) { c.endDate = 0; }, kBadPeriod},
      {"negative date", [](Document& c) { c.endDate = -3; }, kBadPeriod},
      {"negative time", [](Document& c) { c.endTime = -0.0001; }, kBadPeriod},
      {"date not a number", [](Document& c) { c.endDate = kNaN; }, kBadPeriod},
      {"time not a number", [](Document& c) { c.endTime = kNaN; }, kBadPeriod},
      {"date past year 9999", [](Document& c) { c.endDate = 2958466; }, kDateOutOfRange},
      {"time past year 9999", [](Document& c) { c.endTime = 1e7; }, kDateOutOfRange},
      {"time infinite", [](Document& c) { c.endTime = kInf; }, kNotANumber},
  };
  ExpectRefusals<Document>(cases);
  EXPECT_TRUE(FinishedLines().empty());  // no failure left a line behind
}

TEST_F(EcfDocument, DocumentLinesThatComeOutTooLong) {
  const std::vector<LineCase<Document>> cases = {
      {"COO of 7", [](Document& c) { c.coo = "1234567"; }, {{47, 6, "1234567"}}},
      {"GNF of 7", [](Document& c) { c.gnf = "1234567"; }, {{53, 6, "1234567"}}},
      {"GRG of 7", [](Document& c) { c.grg = "1234567"; }, {{59, 6, "1234567"}}},
      {"CDC of 5", [](Document& c) { c.cdc = "12345"; }, {{65, 4, "12345"}}},
      {"type with a blank", [](Document& c) { c.type = "E16 "; }, {{1, 3, "E16 "}}},
  };
  ExpectLayoutRefusals<Document>(cases, kDocumentLine, 85);
}

TEST_F(EcfDocument, PaymentFieldRenderings) {
  const std::vector<LineCase<Payment>> cases = {
      {"means made of blanks",
       [](Payment& c) { c.method = "   "; },
       {Field(65, std::string(15, ' '))}},
      {"means cut at 15",
       [](Payment& c) { c.method = " Transfer\xEAncia banc\xE1ria"; },
       {Field(65, "TRANSFERENCIA B")}},
      {"reversal indicator as passed", [](Payment& c) { c.reversal = 's'; }, {Field(93, "s")}},
      {"blank reversal indicator", [](Payment& c) { c.reversal = ' '; }, {Field(93, " ")}},
      {"accented reversal indicator", [](Payment& c) { c.reversal = 0xE9; }, {Field(93, "\xE9")}},
      {"only the lowest byte of the slot",
       [](Payment& c) { c.reversal = 0xABCDEF00u | 'S'; },
       {Field(93, "S")}},
      {"NUL indicator written as a blank",
       [](Payment& c) { c.reversal = 0xFFFFFF00u; },
       {Field(93, " ")}},
      {"line break indicator written as a blank",
       [](Payment& c) { c.reversal = '\n'; },
       {Field(93, " ")}},
      {"reversed more than paid",
       [](Payment& c) {
         c.paid = 0.01;
         c.reversed = 99999999999.99;
       },
       {Field(80, "0000000000001"), Field(94, std::string(13, '9'))}},
      {"counters as passed",
       [](Payment& c) {
         c.coo = "";
         c.ccf = "1 ";
         c.gnf = "987654";
       },
       {Field(47,
              "000000"
              "00001 "
              "987654")}},
  };
  ExpectAcceptedLines<Payment>(cases, kPaymentLine);
}

TEST_F(EcfDocument, PaymentChecksInOrder) {
  const std::vector<RefusalCase<Payment>> cases = {
      {"type first",
       [](Payment& c) {
         c.type = "E2";
         c.serial = "";
       },
       kBadType + "E2"},
      {"serial before values",
       [](Payment& c) {
         c.serial = " ";
         c.method = "";
       },
       kBadSerial},
      {"amounts not numbers",
       [](Payment& c) {
         c.paid = kNaN;
         c.reversed = kNaN;
       },
       kPaymentValues + "Cart\xE3o Cr\xE9"
                        "dito\r\nValor Pagto   : NAN\r\nValor Estorno : NAN"},
      {"paid infinite", [](Payment& c) { c.paid = kInf; }, kNotANumber},
      {"reversed infinite", [](Payment& c) { c.reversed = kInf; }, kNotANumber},
  };
  ExpectRefusals<Payment>(cases);
  // Messages that show values: their text starts as below in every setting.
  qt::ExpectRefusalsStartingWith<Payment>({
      {[](Payment& c) { c.method = ""; }, kPaymentValues + "\r\nValor Pagto   : "},
      {[](Payment& c) { c.paid = 0; }, kPaymentValues + "Cart\xE3o Cr\xE9"
                                                        "dito\r\n"},
      {[](Payment& c) { c.reversed = -0.001; }, kPaymentValues + "Cart\xE3o Cr\xE9"
                                                                 "dito\r\n"},
  });
  EXPECT_TRUE(FinishedLines().empty());
}

TEST_F(EcfDocument, PaymentLinesThatComeOutTooLong) {
  const std::vector<LineCase<Payment>> cases = {
      {"COO of 7", [](Payment& c) { c.coo = "1234567"; }, {{47, 6, "1234567"}}},
      {"CCF of 7", [](Payment& c) { c.ccf = "1234567"; }, {{53, 6, "1234567"}}},
      {"GNF of 7", [](Payment& c) { c.gnf = "1234567"; }, {{59, 6, "1234567"}}},
      {"paid 10^11", [](Payment& c) { c.paid = 1e11; }, {{80, 13, "10000000000000"}}},
      {"reversed 10^11", [](Payment& c) { c.reversed = 1e11; }, {{94, 13, "10000000000000"}}},
  };
  ExpectLayoutRefusals<Payment>(cases, kPaymentLine, 107);
}

TEST_F(EcfDocument, BothNeedAnOpenReport) {
  qt::ExpectRefusedWithNoReport({
      {"document", qt::SampleCall<Document>, kNoTaxpayer},
      {"payment", qt::SampleCall<Payment>, kNoTaxpayer},
  });
}

// The payment value message, with the amounts as the user's regional
// settings show them (written below as in pt-BR).
void PaymentValueMessages() {
  qt::CloseAnyReport();
  qt::OpenSampleReport();
  const struct Case {
    const char* method;
    double paid, reversed;
    std::string values;
  } cases[] = {
      {"", 1234.5, 0, "1.234,50|0,00"},
      {"Dinheiro", 0, 0, "0,00|0,00"},
      {"Dinheiro", -1234567.891, 0.5, "-1.234.567,89|0,50"},
      {" cheque ", 10, -0.001, "10,00|-0,00"},
      {"Vale", -1e-300, -2, "-0,00|-2,00"},
  };
  for (const auto& c : cases) {
    Payment payment;
    payment.method = c.method;
    payment.paid = c.paid;
    payment.reversed = c.reversed;
    EXPECT_EQ(0, payment.Call());
    EXPECT_EQ(kPaymentValues + c.method +
                  Regionalized("\r\nValor Pagto   : #\r\nValor Estorno : #", c.values),
              LastError());
  }
  qt::CloseAnyReport();
}

QUORIX_TEST_IN_EVERY_REGIONAL(PaymentValueMessages, PaymentValueMessages)

}  // namespace
