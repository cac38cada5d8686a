// Record kinds as data. Each report line kind is stated once, in its file
// under UPAF/records/, as a RecordKind: its parameters (the names and kinds of
// its export's prototype in the public header, in call order), its layout (one
// Field per field of the line, in line order) and the frame values of its
// builder. The record frame (record_frame.h) writes a line by the layout; a
// reader of report files decodes a line by the same layout. kRecordKinds lists
// all thirteen; their line lengths are all different.
//
// A layout names each field by its kind's constructor below, with its source,
// width (positions follow from the widths, 1-based) and name; what each kind
// writes is its kRendering in field_kinds.h, which `quorix layouts` lists.
// A source is a parameter of the record, an item of the open report's taxpayer
// (kTaxpayer...) or of the software-house data last loaded (SoftwareHouseItem).
// Fields that hold no sign (Number, NumberByCount, Integer) refuse a negative
// value that would be written as another number. Every field must come out
// exactly its width: a line where one does not (a counter or number too long,
// a text placed as passed of another length, a record type with blanks around
// it) is refused whole, even where two wrong widths would add up to the line's.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

#include "UFuncoes/field_rules.h"

namespace quorix::upaf {

// A constant view of a constant array.
template <class T>
struct Table {
  const T* data = nullptr;
  size_t size = 0;
  constexpr Table() = default;
  template <size_t N>
  constexpr Table(const T (&array)[N]) : data(array), size(N) {}
  template <size_t N>
  constexpr Table(const std::array<T, N>& array) : data(array.data()), size(N) {}
  constexpr Table(const T* first, size_t count) : data(first), size(count) {}
  constexpr const T& operator[](size_t i) const { return data[i]; }
  constexpr const T* begin() const { return data; }
  constexpr const T* end() const { return data + size; }
};

// --- Parameters ----------------------------------------------------------

// A date or a time is a real at the boundary (days since 1899-12-30).
enum class ParamKind : uint8_t { Text, Real, Date, Time, Integer, Character };

struct Param {
  std::string_view name;  // the public header's parameter name
  ParamKind kind;
};

// --- Fields ----------------------------------------------------------------

// Every kind of field; what each one means (its room, rendering, read-back
// check and decoding) is stated once, in field_kinds.h.
#define QUORIX_FIELD_KINDS(X) \
  X(RecordType)               \
  X(Text)                     \
  X(Alphanumeric)             \
  X(Character)                \
  X(CharacterAsPassed)        \
  X(AsPassed)                 \
  X(Counter)                  \
  X(Code)                     \
  X(Number)                   \
  X(NumberByCount)            \
  X(Integer)                  \
  X(SignedAmount)             \
  X(Date)                     \
  X(Time)                     \
  X(DateOrBlanks)             \
  X(TimeOrBlanks)             \
  X(LineCount)

#define QUORIX_FIELD_KIND_ENUMERATOR(name) name,
enum class FieldKind : uint8_t { QUORIX_FIELD_KINDS(QUORIX_FIELD_KIND_ENUMERATOR) };
#undef QUORIX_FIELD_KIND_ENUMERATOR

enum class SourceKind : uint8_t { Parameter, Taxpayer, SoftwareHouse, Computed };

struct Source {
  SourceKind kind = SourceKind::Parameter;
  int index = 0;  // parameter index, taxpayer item or store::SoftwareHouseText
  // A layout names a parameter by its index alone.
  constexpr Source(int parameter) : index(parameter) {}
  constexpr Source(SourceKind k, int i) : kind(k), index(i) {}
};

// The open report's taxpayer items, as stored by quorix_InicializarPAF.
inline constexpr Source kTaxpayerCnpjCpf{SourceKind::Taxpayer, 0};
inline constexpr Source kTaxpayerStateRegistration{SourceKind::Taxpayer, 1};
inline constexpr Source kTaxpayerMunicipalRegistration{SourceKind::Taxpayer, 2};
inline constexpr Source kTaxpayerCompanyName{SourceKind::Taxpayer, 3};
// Each taxpayer item by the quorix_InicializarPAF parameter that gave it.
inline constexpr std::string_view kTaxpayerItemNames[] = {"cnpjCpf", "stateRegistration",
                                                          "municipalRegistration", "companyName"};
// A text of the software-house data that the builder's checks loaded.
constexpr Source SoftwareHouseItem(int text) { return {SourceKind::SoftwareHouse, text}; }

// One builder argument as the export received it, in two words: an entry
// stores a score of them on every call. A text is its bytes and length; any
// other value is in `value` (a real's bits, an integer, a character), with
// no bytes.
struct Arg {
  const char* data = nullptr;
  uint64_t value = 0;

  static Arg Text(std::string_view t) { return Arg{t.data(), t.size()}; }
  static Arg Real(double v) {
    Arg a;
    std::memcpy(&a.value, &v, sizeof v);
    return a;
  }
  static Arg Integer(int32_t v) { return Arg{nullptr, static_cast<uint32_t>(v)}; }
  // Only the lowest byte of a character slot counts.
  static Arg Character(uint32_t slot) { return Arg{nullptr, slot & 0xFF}; }

  std::string_view text() const { return {data, data ? static_cast<size_t>(value) : 0}; }
  double real() const {
    double v;
    std::memcpy(&v, &value, sizeof v);
    return v;
  }
  int32_t integer() const { return static_cast<int32_t>(static_cast<uint32_t>(value)); }
  char character() const { return static_cast<char>(value & 0xFF); }
};

class RecordProcess;

class Args {
 public:
  Args(const Arg* args, size_t count) : args_(args), count_(count) {}
  // The same arguments, with the process that builds the line.
  Args(const Args& args, RecordProcess& process)
      : args_(args.args_), count_(args.count_), process_(&process) {}
  std::string_view text(int i) const { return args_[i].text(); }
  // Argument i, known to be a text (a field whose source the table's
  // compile-time check has seen is a text parameter): no test for a value
  // that has no bytes.
  std::string_view passedText(int i) const {
    return {args_[i].data, static_cast<size_t>(args_[i].value)};
  }
  double real(int i) const { return args_[i].real(); }
  int32_t integer(int i) const { return args_[i].integer(); }
  char character(int i) const { return args_[i].character(); }
  size_t size() const { return count_; }
  // What a kind's own code may ask of the process (record_process.h): given
  // by the frame, so that the tables themselves hold and reach no state.
  RecordProcess& process() const { return *process_; }

 private:
  const Arg* args_;
  size_t count_;
  RecordProcess* process_ = nullptr;
};

// Computes a field's digits (the totals line's count).
using ComputeField = void (*)(std::string& line, const Args& args);

struct Field {
  std::string_view name;  // Portuguese, as diagnostics show it
  FieldKind kind;
  int width;
  Source source;
  int decimals = 0;         // Number: 0, 2 or 3; Amount and SignedAmount: 2
  int decimalsSource = -1;  // NumberByCount: the integer parameter that picks the decimals
  rules::Justify justify = rules::Justify::Left;
  char fill = ' ';
  ComputeField compute = nullptr;  // LineCount
};

constexpr Field RecordType(int typeLength) {
  return {"tipo do registro", FieldKind::RecordType, typeLength, 0};
}
constexpr Field Text(Source s, int width, std::string_view name) {
  return {name, FieldKind::Text, width, s};
}
// A text field right-justified and "0"-filled on the left.
constexpr Field TextRight(Source s, int width, std::string_view name) {
  Field f{name, FieldKind::Text, width, s};
  f.justify = rules::Justify::Right;
  f.fill = '0';
  return f;
}
constexpr Field Alphanumeric(Source s, int width, std::string_view name) {
  return {name, FieldKind::Alphanumeric, width, s};
}
constexpr Field Character(Source s, std::string_view name) {
  return {name, FieldKind::Character, 1, s};
}
constexpr Field CharacterAsPassed(Source s, std::string_view name) {
  return {name, FieldKind::CharacterAsPassed, 1, s};
}
constexpr Field AsPassed(Source s, int width, std::string_view name) {
  return {name, FieldKind::AsPassed, width, s};
}
constexpr Field Counter(Source s, int width, std::string_view name) {
  return {name, FieldKind::Counter, width, s};
}
constexpr Field Code(Source s, int width, std::string_view name) {
  return {name, FieldKind::Code, width, s};
}
constexpr Field Number(Source s, int decimals, int width, std::string_view name) {
  return {name, FieldKind::Number, width, s, decimals};
}
// A number in hundredths.
constexpr Field Amount(Source s, int width, std::string_view name) {
  return Number(s, 2, width, name);
}
constexpr Field NumberByCount(Source s, int decimalsSource, int width, std::string_view name) {
  Field f{name, FieldKind::NumberByCount, width, s};
  f.decimalsSource = decimalsSource;
  return f;
}
constexpr Field Integer(Source s, int width, std::string_view name) {
  return {name, FieldKind::Integer, width, s};
}
constexpr Field SignedAmount(Source s, int width, std::string_view name) {
  return {name, FieldKind::SignedAmount, width, s, 2};
}
constexpr Field Date(Source s, std::string_view name) { return {name, FieldKind::Date, 8, s}; }
constexpr Field Time(Source s, std::string_view name) { return {name, FieldKind::Time, 6, s}; }
constexpr Field DateOrBlanks(Source s, std::string_view name) {
  return {name, FieldKind::DateOrBlanks, 8, s};
}
constexpr Field TimeOrBlanks(Source s, std::string_view name) {
  return {name, FieldKind::TimeOrBlanks, 6, s};
}
constexpr Field LineCount(ComputeField compute, int width, std::string_view name) {
  Field f{name, FieldKind::LineCount, width, Source{SourceKind::Computed, 0}};
  f.compute = compute;
  return f;
}

// 1-based first position of layout[index], as the widths place it.
constexpr size_t Position(Table<Field> layout, size_t index) {
  size_t position = 1;
  for (size_t i = 0; i < index; ++i) position += static_cast<size_t>(layout[i].width);
  return position;
}
constexpr size_t LineLength(Table<Field> layout) { return Position(layout, layout.size) - 1; }

// --- Record kinds --------------------------------------------------------

// A record's own checks as data, run by the frame in order and listed by
// `quorix layouts` from the same table. A predicate tests one argument and
// says in words what it asks (Portuguese, Windows-1252); `accepted` is what a
// predicate on a set of characters takes.
struct Predicate {
  std::string_view description;
  bool (*test)(const Args& args, int parameter, std::string_view accepted) = nullptr;
};

struct Condition {
  int parameter = -1;
  Predicate predicate;
  std::string_view accepted;
  constexpr Condition() = default;
  constexpr Condition(int p, Predicate test, std::string_view set = {})
      : parameter(p), predicate(test), accepted(set) {}
};

// One entry of a message that lists values: its label, then the argument as
// the user reads it (a real with two decimals and the regional separators, a
// date as DD/MM/AAAA, or a text as passed).
enum class Shows : uint8_t { Number, Text, Date };
struct ListedValue {
  std::string_view label;
  int source = -1;
  Shows as = Shows::Number;
};
constexpr ListedValue Shown(std::string_view label, int source) {
  return {label, source, Shows::Number};
}
constexpr ListedValue ShownText(std::string_view label, int source) {
  return {label, source, Shows::Text};
}
constexpr ListedValue ShownDate(std::string_view label, int source) {
  return {label, source, Shows::Date};
}

// Conditions that must all hold, and the message when one does not: `message`
// (followed by the text of parameter `appended`, if any), or, when `shown`
// lists values, every listed value whichever one failed, so that the host can
// show the whole set of figures.
struct Check {
  static constexpr size_t kMost = 6;
  std::array<Condition, kMost> all{};
  size_t count = 0;
  std::string_view message;
  int appended = -1;
  std::array<ListedValue, kMost> shown{};
  size_t shownCount = 0;
};

constexpr Check MustAll(std::initializer_list<Condition> all, std::string_view message) {
  Check c{};
  for (const Condition& one : all) c.all[c.count++] = one;
  c.message = message;
  return c;
}
constexpr Check Must(Condition condition, std::string_view message) {
  return MustAll({condition}, message);
}
constexpr Check MustAppending(Condition condition, std::string_view message) {
  Check c = Must(condition, message);
  c.appended = condition.parameter;
  return c;
}
constexpr Check MustValues(std::initializer_list<Condition> all,
                           std::initializer_list<ListedValue> shown) {
  Check c = MustAll(all, {});
  for (const ListedValue& v : shown) c.shown[c.shownCount++] = v;
  return c;
}

// How a failure raised inside the frame (a value that cannot be rendered, no
// memory, a side file that cannot be read) becomes the last error message.
enum class Failures : uint8_t {
  // From the kind's checks on, chained: the message before, CR LF, its text.
  Chained,
  // The kind's checks run first, unprotected, so that their failure is the
  // message alone (the export's catch-all); rendering and append are chained.
  ChainedAfterChecks,
  // Never chained: the export's catch-all makes the failure the message alone.
  Unchained,
};

// The steps of a builder, in the order its Frame lists them. AssembleRecord
// walks them and `quorix layouts` prints them; a step that fails ends the call.
enum class Step : uint8_t {
  ClearMessage,       // an older last error message is cleared
  CheckType,          // the record type (and a second one) trimmed, of the type length
  CheckTaxpayer,      // the open report's taxpayer judged valid (judged once per report)
  LoadSoftwareHouse,  // the software-house file read into the process's data
  OwnChecks,          // the kind's check table, in order
  ChainFailures,      // from here on a failure is chained to the older message
  Render,             // the line written by the layout
  CheckLength,        // every field of its width, the line of its length, one line
  Append,             // the line kept at the open report's end
};

// A builder's steps in their order, packed four bits a step after a four-bit
// count.
struct Steps {
  static constexpr size_t kMost = 9;
  std::array<Step, kMost> list{};
  size_t count = 0;

  constexpr const Step* begin() const { return list.data(); }
  constexpr const Step* end() const { return list.data() + count; }
  constexpr bool Has(Step step) const {
    for (size_t i = 0; i < count; ++i)
      if (list[i] == step) return true;
    return false;
  }
  constexpr Steps Without(Step step) const {
    Steps to;
    for (const Step s : *this)
      if (s != step) to.list[to.count++] = s;
    return to;
  }
  constexpr Steps Before(Step next, Step step) const {
    Steps to;
    for (const Step s : *this) {
      if (s == next) to.list[to.count++] = step;
      to.list[to.count++] = s;
    }
    return to;
  }
  constexpr Steps ChainingFrom(Failures how) const {
    const Steps to = Without(Step::ChainFailures);
    if (how == Failures::Chained) return to.Before(Step::OwnChecks, Step::ChainFailures);
    if (how == Failures::ChainedAfterChecks) return to.Before(Step::Render, Step::ChainFailures);
    return to;
  }
  constexpr uint64_t Packed() const {
    uint64_t packed = count;
    for (size_t i = 0; i < count; ++i)
      packed |= uint64_t{static_cast<uint8_t>(list[i])} << (4 + 4 * i);
    return packed;
  }
  static constexpr Steps Unpacked(uint64_t packed) {
    Steps s;
    s.count = packed & 15;
    for (size_t i = 0; i < s.count; ++i)
      s.list[i] = static_cast<Step>((packed >> (4 + 4 * i)) & 15);
    return s;
  }
};

inline constexpr Steps kCommonSteps{
    {Step::ClearMessage, Step::CheckType, Step::CheckTaxpayer, Step::ChainFailures, Step::OwnChecks,
     Step::Render, Step::CheckLength, Step::Append},
    8};

// Every order of steps a Frame can have: the library compiles a walk for
// each (record_frame.cpp), so that the frame costs no more than code would.
inline constexpr size_t kFrameShapeCount = 24;
constexpr Steps FrameShape(size_t shape) {
  Steps s = kCommonSteps.ChainingFrom(static_cast<Failures>(shape / 8));
  if (shape & 1) s = s.Without(Step::ClearMessage);
  if (shape & 2) s = s.Without(Step::CheckTaxpayer);
  if (shape & 4) s = s.Before(Step::OwnChecks, Step::LoadSoftwareHouse);
  return s;
}
constexpr uint8_t ShapeOf(const Steps& steps) {
  uint8_t shape = 0;
  while (shape < kFrameShapeCount && FrameShape(shape).Packed() != steps.Packed()) ++shape;
  return shape;
}

// How the record frame runs a builder: its steps, and what they work with.
// `Frame{checks}` is the common builder: message cleared on entry, taxpayer
// checked, failures chained from its checks on. The others say where they
// differ, each by changing the steps.
class Frame {
 public:
  constexpr Frame(Table<Check> ownChecks = {}) : checks(ownChecks) {}

  Table<Check> checks;
  // A second parameter that must pass the type length check too (its failure
  // still quotes the record type).
  int secondType = -1;
  // The parameter naming the software-house file that LoadSoftwareHouse reads.
  int softwareHouseFile = -1;

  constexpr Steps steps() const { return Steps::Unpacked(packedSteps_); }
  // The steps' index among the FrameShape orders.
  constexpr uint8_t shape() const { return shape_; }

  constexpr Frame KeepingOlderMessage() const { return Without(Step::ClearMessage); }
  constexpr Frame WithoutTaxpayerCheck() const { return Without(Step::CheckTaxpayer); }
  constexpr Frame Without(Step step) const { return With(steps().Without(step)); }
  constexpr Frame WithFailures(Failures how) const { return With(steps().ChainingFrom(how)); }
  constexpr Frame WithSecondType(int parameter) const {
    Frame f = *this;
    f.secondType = parameter;
    return f;
  }
  // The file is read before the kind's checks, so that a default it lacked is
  // stored even when those checks then fail.
  constexpr Frame LoadingSoftwareHouse(int fileParameter) const {
    Frame f = With(steps().Before(Step::OwnChecks, Step::LoadSoftwareHouse));
    f.softwareHouseFile = fileParameter;
    return f;
  }

 private:
  // An order that is none of the shapes has no walk: a constant frame
  // fails to compile, another throws.
  constexpr Frame With(const Steps& to) const {
    Frame f = *this;
    f.packedSteps_ = to.Packed();
    f.shape_ = ShapeOf(to);
    if (f.shape_ == kFrameShapeCount) throw std::logic_error("no walk for these steps");
    return f;
  }

  uint64_t packedSteps_ = kCommonSteps.Packed();
  uint8_t shape_ = 0;
};
static_assert(FrameShape(0).Packed() == kCommonSteps.Packed());

// The thirteen record kinds, each with the export that builds its lines.
#define QUORIX_RECORD_KINDS(X)                          \
  X(Header, quorix_Header)                              \
  X(AnexoVI, quorix_HeaderAnexoVI)                      \
  X(Totally, quorix_Totally)                            \
  X(DavIssued, quorix_RelacaoDavEmitido)                \
  X(GoodsInStock, quorix_RelacaoMercadoriaEstoque)      \
  X(GoodsAndServices, quorix_RelacaoMercadoriaServicos) \
  X(ReductionZList, quorix_RelacaoReducoesZ)            \
  X(ReductionZDetail, quorix_DetalheReducaoZ)           \
  X(FiscalCoupon, quorix_RelacaoCupomFiscal)            \
  X(FiscalCouponItem, quorix_DetalheCupomFiscal)        \
  X(OtherDocument, quorix_RelacaoDemaisDoctosEcf)       \
  X(Payment, quorix_DetalheDemaisDoctosEcf)             \
  X(DailyMovement, quorix_RelacaoMovimentoDiario)

#define QUORIX_RECORD_ID(kind, exportName) kind,
enum class RecordId : uint8_t { QUORIX_RECORD_KINDS(QUORIX_RECORD_ID) };
#undef QUORIX_RECORD_ID

constexpr std::string_view ExportName(RecordId id) {
#define QUORIX_RECORD_EXPORT_NAME(kind, exportName) \
  if (id == RecordId::kind) return #exportName;
  QUORIX_RECORD_KINDS(QUORIX_RECORD_EXPORT_NAME)
#undef QUORIX_RECORD_EXPORT_NAME
  return {};
}

struct RenderNotes;

// A record kind's line and own checks compiled from its tables
// (Compiled<layout, checks>() in record_frame.h): each field's kind, width and
// source, and each check's conditions, are known there, so the frame neither
// switches on kinds nor calls predicates through pointers. A kind without it
// (one a test makes) is run from its tables.
struct LineCode {
  size_t (*room)(const Args& args) = nullptr;
  char* (*render)(char* at, const Args& args, RenderNotes& notes, bool& widthsHold) = nullptr;
  bool (*checks)(const Args& args) = nullptr;
  // The table `checks` was compiled from: a frame holding another runs its own.
  const Check* checkTable = nullptr;
};

struct RecordKind {
  RecordId id;
  std::string_view name;  // Portuguese, as diagnostics show it
  size_t typeLength;
  size_t lineLength;
  Table<Param> params;
  Table<Field> layout;
  Frame frame;
  LineCode code{};

  constexpr std::string_view exportName() const { return ExportName(id); }
};

namespace records {
#define QUORIX_RECORD_DECLARATION(kind, exportName) extern const RecordKind k##kind;
QUORIX_RECORD_KINDS(QUORIX_RECORD_DECLARATION)
#undef QUORIX_RECORD_DECLARATION
}  // namespace records

#define QUORIX_RECORD_ADDRESS(kind, exportName) &records::k##kind,
inline constexpr const RecordKind* kRecordKinds[] = {QUORIX_RECORD_KINDS(QUORIX_RECORD_ADDRESS)};
#undef QUORIX_RECORD_ADDRESS

}  // namespace quorix::upaf
