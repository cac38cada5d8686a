#include "UPAF/record_frame.h"

#include <cmath>
#include <exception>
#include <new>

#include "UConst/failure.h"
#include "UConst/last_error.h"
#include "UConst/messages.h"
#include "UPAF/process_state.h"
#include "UPAF/record_process.h"

namespace quorix::upaf {
namespace {

bool TypeLengthOk(std::string_view type, size_t length) {
  const std::string_view trimmed = rules::detail::Trimmed(type);
  return !trimmed.empty() && trimmed.size() == length;
}

}  // namespace

namespace {

// The layout's room and rendering for a kind without compiled code: the
// same per field, with the kind picked at run time.
size_t LayoutRoom(const RecordKind& kind, const Args& args) {
  size_t room = 0;
  for (const Field& f : kind.layout)
    room += WithKind(f.kind, [&](auto k) { return decltype(k)::Room(f, args); });
  return room;
}

char* RenderLayout(char* at, const RecordKind& kind, const Args& args, RenderNotes& notesOut,
                   bool& widthsHold) {
  RenderNotes notes = notesOut;
  size_t offWidth = 0;
  for (const Field& f : kind.layout)
    at = WithKind(f.kind,
                  [&](auto k) { return RenderField<decltype(k)>(at, f, args, notes, offWidth); });
  notesOut = notes;
  widthsHold = offWidth == 0;
  return at;
}

}  // namespace

namespace {

// The library's process as the kinds' own code sees it.
class LibraryProcess final : public RecordProcess {
 public:
  void SetMessage(std::string_view message) override { SetLastError(message); }
  const ReportBuffer* Report() const override { return Process().report.get(); }
  std::string_view Stored(Source source) override {
    if (source.kind == SourceKind::SoftwareHouse)
      return Process().softwareHouse.texts[static_cast<size_t>(source.index)];
    const Taxpayer& t = Process().taxpayer;
    switch (source.index) {
      case 0:
        return t.cnpjCpf;
      case 1:
        return t.stateRegistration;
      case 2:
        return t.municipalRegistration;
      default:
        return t.companyName;
    }
  }
  // The kept rendering, in a few steps: the rest stays out of its way.
  char* PutTaxpayerItem(char* at, const Field& f) override {
    const Taxpayer& t = Process().taxpayer;
    const Taxpayer::Rendered& r = t.rendered[f.source.index];
    if (r.key == Taxpayer::Rendered::Key(f.width, f.justify, f.fill) && t.judgedValid)
      return rules::PutAsPassed(at, r.bytes);
    return RenderTaxpayerItem(at, f);
  }
  [[gnu::noinline]] char* RenderTaxpayerItem(char* at, const Field& f) {
    Taxpayer& t = Process().taxpayer;
    Taxpayer::Rendered& r = t.rendered[f.source.index];
    const int32_t key = Taxpayer::Rendered::Key(f.width, f.justify, f.fill);
    const std::string_view item = Stored(f.source);
    if (!t.judgedValid) return rules::PutTextField(at, item, f.width, f.justify, f.fill);
    r.key = -1;
    r.bytes.resize(rules::RoomFor(f.width, 0));
    rules::PutTextField(&r.bytes[0], item, f.width, f.justify, f.fill);
    r.key = key;
    return rules::PutAsPassed(at, r.bytes);
  }
};
// Holds nothing: one for every call, made before the first.
LibraryProcess theProcess;

}  // namespace

bool RunOwnChecks(const Frame& frame, const Args& args) {
  for (const Check& check : frame.checks) {
    bool passed = true;
    for (size_t i = 0; i < check.count && passed; ++i) {
      const Condition& c = check.all[i];
      passed = c.predicate.test(args, c.parameter, c.accepted);
    }
    if (!passed) return Refuse(check, args);
  }
  return true;
}

namespace {

// One line on its way through the steps.
struct Line {
  ReportBuffer* report = nullptr;
  char* start = nullptr;
  // Without memory for it the line is still assembled (in the scratch line)
  // and judged, so that a wrong line tells what is wrong with it.
  bool noRoom = false;
  bool widthsHold = true;
  RenderNotes notes;
  std::string_view bytes;
};

// What each step does; false when it refused the line (its message set).
// ChainFailures does nothing here: the walk chains what follows it.
template <Step S>
inline bool Do(const RecordKind& kind, const Args& args, Line& line) {
  const Frame& frame = kind.frame;
  const LineCode& code = kind.code;
  if constexpr (S == Step::ClearMessage) {
    Process().lastError.clear();
  } else if constexpr (S == Step::CheckType) {
    const std::string_view recordType = args.text(0);
    if (!TypeLengthOk(recordType, kind.typeLength) ||
        (frame.secondType >= 0 && !TypeLengthOk(args.text(frame.secondType), kind.typeLength))) {
      std::string message(msg::kInvalidRecordType);
      message += recordType;
      SetLastError(message);
      return false;
    }
  } else if constexpr (S == Step::CheckTaxpayer) {
    if (!Process().taxpayer.judgedValid && !TaxpayerCheck()) return false;
  } else if constexpr (S == Step::LoadSoftwareHouse) {
    return store::LoadSoftwareHouseData(Process().softwareHouse,
                                        args.text(frame.softwareHouseFile));
  } else if constexpr (S == Step::OwnChecks) {
    if (code.checks && code.checkTable == frame.checks.data) return code.checks(args);
    return frame.checks.size == 0 || RunOwnChecks(frame, args);
  } else if constexpr (S == Step::Render) {
    const size_t room = code.room ? code.room(args) : LayoutRoom(kind, args);
    // The line is written in place at the report buffer's end and kept only
    // when it passes; a line that fails leaves those bytes unused.
    line.report = Process().report.get();
    if (line.report) {
      try {
        line.start = line.report->Tail(room);
      } catch (const std::bad_alloc&) {
        line.noRoom = true;
      }
    }
    if (!line.start) {
      std::string& scratch = Process().scratchLine;
      if (scratch.size() < room) scratch.resize(room);
      line.start = &scratch[0];
    }
    const char* const end = code.render
                                ? code.render(line.start, args, line.notes, line.widthsHold)
                                : RenderLayout(line.start, kind, args, line.notes, line.widthsHold);
    line.bytes = std::string_view(line.start, static_cast<size_t>(end - line.start));
  } else if constexpr (S == Step::CheckLength) {
    if (line.bytes.size() != kind.lineLength || !line.widthsHold || !line.notes.singleLine) {
      std::string message(msg::kInvalidLayout);
      message += line.bytes;
      SetLastError(message);
      return false;
    }
  } else if constexpr (S == Step::Append) {
    if (!line.report) {
      SetLastErrorNoThrow(msg::kNoOpenReport);
      return false;
    }
    if (line.noRoom) {
      SetLastErrorNoThrow(msg::kOutOfMemory);
      return false;
    }
    line.report->Commit(line.bytes.size());
  }
  return true;
}

// The walk of one order of steps, compiled: each step's code in its place.
template <uint64_t Packed>
struct CompiledWalk {
  static constexpr Steps kSteps = Steps::Unpacked(Packed);
  static constexpr size_t ChainAt() {
    size_t i = 0;
    while (i < kSteps.count && kSteps.list[i] != Step::ChainFailures) ++i;
    return i;
  }
  static constexpr size_t kChainAt = ChainAt();

  template <size_t From, size_t... I>
  static bool Run(const RecordKind& kind, const Args& args, Line& line, std::index_sequence<I...>) {
    return (Do<kSteps.list[From + I]>(kind, args, line) && ...);
  }
  static bool Walk(const RecordKind& kind, const Args& passed) {
    const Args args(passed, theProcess);
    Line line;
    if (!Run<0>(kind, args, line, std::make_index_sequence<kChainAt>{})) return false;
    if constexpr (kChainAt < kSteps.count) {
      try {
        return Run<kChainAt + 1>(kind, args, line,
                                 std::make_index_sequence<kSteps.count - kChainAt - 1>{});
      } catch (const std::exception& e) {
        ChainLastError(FailureText(e));
        return false;
      }
    }
    return true;
  }
};

// Given the arguments as passed, so that AssembleRecord only jumps to it.
using Walker = bool (*)(const RecordKind& kind, const Args& passed);
template <size_t... I>
constexpr std::array<Walker, sizeof...(I)> Walkers(std::index_sequence<I...>) {
  return {&CompiledWalk<FrameShape(I).Packed()>::Walk...};
}
constexpr std::array<Walker, kFrameShapeCount> kWalkers =
    Walkers(std::make_index_sequence<kFrameShapeCount>{});

}  // namespace

bool AssembleRecord(const RecordKind& kind, const Args& args) {
  return kWalkers[kind.frame.shape()](kind, args);
}

}  // namespace quorix::upaf
