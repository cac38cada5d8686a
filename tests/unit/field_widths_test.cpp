// Every field comes out exactly its width, or the line is refused: for every
// record kind, each field whose rendering can come out longer or shorter than
// its width is made so, alone and beside a field made shorter, and the line
// is refused with the layout message and the line as assembled.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "UConst/last_error.h"
#include "UConst/messages.h"
#include "UPAF/process_state.h"
#include "UPAF/record_frame.h"
#include "UPAF/report.h"
#include "support.h"

namespace {

using namespace quorix::upaf;

// One call's arguments, texts kept alive beside the values.
struct Call {
  std::vector<std::string> texts;
  std::vector<Arg> args;

  explicit Call(const RecordKind& kind) : texts(kind.params.size), args(kind.params.size) {
    for (size_t p = 0; p < kind.params.size; ++p) {
      switch (kind.params[p].kind) {
        case ParamKind::Text:
          texts[p] = "12";
          break;
        case ParamKind::Date:
          args[p] = Arg::Real(39508);  // 2008-03-01
          break;
        case ParamKind::Time:
          args[p] = Arg::Real(0.5);
          break;
        case ParamKind::Real:
          args[p] = Arg::Real(1);
          break;
        case ParamKind::Integer:
          args[p] = Arg::Integer(1);
          break;
        case ParamKind::Character:
          args[p] = Arg::Character('T');
          break;
      }
    }
    for (const Field& f : kind.layout)
      if (f.kind == FieldKind::RecordType || f.kind == FieldKind::AsPassed)
        texts[static_cast<size_t>(f.source.index)] = std::string(static_cast<size_t>(f.width), 'N');
    // A type no line has: the totals line's count stays 0 whatever came before.
    if (kind.frame.secondType >= 0) texts[static_cast<size_t>(kind.frame.secondType)] = "ZZ";
  }
  bool Run(const RecordKind& kind) {
    for (size_t p = 0; p < texts.size(); ++p)
      if (kind.params[p].kind == ParamKind::Text) args[p] = Arg::Text(texts[p]);
    return AssembleRecord(kind, Args(args.data(), args.size()));
  }
};

// A change of one field's argument and what the line then holds there.
struct Off {
  size_t field;
  std::string written;
};

// Makes field `i` come out one character longer (or, `shorter`, empty).
bool MakeOff(const RecordKind& kind, size_t i, bool shorter, Call& call, Off& off) {
  const Field& f = kind.layout[i];
  const size_t p = static_cast<size_t>(f.source.index);
  const size_t width = static_cast<size_t>(f.width);
  const std::string ones = "1" + std::string(width, '0');
  off.field = i;
  switch (f.kind) {
    case FieldKind::AsPassed:
      call.texts[p] = off.written = shorter ? "" : std::string(width + 1, 'N');
      return true;
    case FieldKind::RecordType:
      if (shorter) return false;
      call.texts[p] += ' ';  // the type check trims, the line keeps it
      off.written = call.texts[p];
      return true;
    case FieldKind::Counter:
    case FieldKind::Code:
      if (shorter) return false;
      call.texts[p] = off.written = std::string(width + 1, '7');
      return true;
    case FieldKind::Number:
    case FieldKind::NumberByCount:
    case FieldKind::SignedAmount: {
      if (shorter) return false;
      const int decimals = f.kind == FieldKind::SignedAmount ? 2
                           : f.kind == FieldKind::Number
                               ? f.decimals
                               : static_cast<int>(quorix::rules::DecimalsForCount(1));
      call.args[p] = Arg::Real(std::pow(10.0, f.width - decimals));
      off.written = ones;
      return true;
    }
    case FieldKind::Integer:
      if (shorter) return false;
      call.args[p] = Arg::Integer(static_cast<int32_t>(std::pow(10.0, f.width)));
      off.written = ones;
      return true;
    default:
      return false;  // always its width; the totals line's count is tested with its builder
  }
}

std::string Placed(std::string line, const RecordKind& kind, std::vector<Off> offs) {
  // From the right, so that earlier positions hold.
  for (auto o = offs.rbegin(); o != offs.rend(); ++o)
    line.replace(Position(kind.layout, o->field) - 1,
                 static_cast<size_t>(kind.layout[o->field].width), o->written);
  return line;
}

constexpr size_t kExpectedCases = 73;

TEST(FieldWidths, EveryFieldOfEveryKindIsHeldToItsWidth) {
  ASSERT_TRUE(OpenReport(qt::kCnpj, "110.042.490.114", "", "Empresa Exemplo"))
      << quorix::LastErrorMessage();
  size_t cases = 0;
  for (const RecordKind* k : kRecordKinds) {
    // The kind's own checks are the builders' tests' business.
    RecordKind kind = *k;
    kind.frame.checks = {};
    kind.frame = kind.frame.Without(Step::LoadSoftwareHouse);
    SCOPED_TRACE(std::string(kind.exportName()));
    Call sample(kind);
    ASSERT_TRUE(sample.Run(kind)) << quorix::LastErrorMessage();
    const std::string line(Process().report->Line(Process().report->LineCount() - 1));
    ASSERT_EQ(kind.lineLength, line.size());

    std::vector<Off> shorts;
    for (size_t i = 0; i < kind.layout.size; ++i) {
      Call call(kind);
      Off off;
      if (MakeOff(kind, i, true, call, off)) shorts.push_back(off);
    }
    for (size_t i = 0; i < kind.layout.size; ++i)
      for (bool shorter : {false, true}) {
        Call alone(kind);
        Off off;
        if (!MakeOff(kind, i, shorter, alone, off)) continue;
        SCOPED_TRACE(std::string(kind.layout[i].name) + (shorter ? ", shorter" : ", longer"));
        const size_t lines = Process().report->LineCount();
        EXPECT_FALSE(alone.Run(kind));
        EXPECT_EQ(std::string(quorix::msg::kInvalidLayout) + Placed(line, kind, {off}),
                  quorix::LastErrorMessage());
        ++cases;
        // Beside a field made shorter, the line has its length again.
        for (const Off& s : shorts) {
          if (s.field == i || shorter) continue;
          Call both(kind);
          Off first, second;
          MakeOff(kind, std::min(i, s.field), s.field < i, both, first);
          MakeOff(kind, std::max(i, s.field), s.field > i, both, second);
          EXPECT_FALSE(both.Run(kind));
          const std::string placed = Placed(line, kind, {first, second});
          EXPECT_EQ(kind.lineLength, placed.size());
          EXPECT_EQ(std::string(quorix::msg::kInvalidLayout) + placed, quorix::LastErrorMessage());
          ++cases;
        }
        EXPECT_EQ(lines, Process().report->LineCount());
      }
  }
  // Every record type, counter, code, number and integer made longer, the
  // Reduction Z list's flag longer and shorter, and that list's longer fields
  // beside the shorter flag: a change of a table shows here.
  EXPECT_EQ(kExpectedCases, cases);
  CloseReport(false);
}

}  // namespace

#if QUORIX_ROOM_CHECKS
// The sanitizer build stops at a rendering that writes past the room its kind
// gave it, before anything reads those bytes.
void ThirtyDigits(std::string& line, const Args&) { line.append(30, '9'); }
constexpr Param kTypeOnly[] = {{"recordType", ParamKind::Text}};
constexpr Field kOverrunningLayout[] = {RecordType(2), LineCount(ThirtyDigits, 6, "contagem")};

TEST(FieldWidthsDeathTest, ARenderingPastItsRoomStopsTheSanitizerBuild) {
  const RecordKind kind{RecordId::Totally,
                        "teste",
                        2,
                        8,
                        kTypeOnly,
                        kOverrunningLayout,
                        Frame{}.WithoutTaxpayerCheck()};
  const Arg args[] = {Arg::Text("T9")};
  // In the report buffer, whose spare bytes AddressSanitizer cannot tell apart.
  EXPECT_DEATH(
      {
        OpenReport(qt::kCnpj, "", "", "Empresa Exemplo");
        AssembleRecord(kind, Args(args, 1));
      },
      "\"contagem\" wrote 30 bytes in a room of 24 \\(width 6\\)");
}
#endif
