// The record assembly frame shared by every report line builder. A record
// kind (record_kinds.h) is data, its Frame's steps included; AssembleRecord
// walks those steps in their order.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "UFuncoes/field_rules.h"
#include "UPAF/field_kinds.h"
#include "UPAF/record_kinds.h"

// Names a record's parameters once: `LIST(X)` holds one X(name, kind) per
// parameter, in the export's order (kind: a ParamKind). It declares the
// parameters' indices, kParameterCount and the kParameters table.
#define QUORIX_PARAMETER_INDEX(name, kind) name,
#define QUORIX_PARAMETER_ENTRY(name, kind) \
  ::quorix::upaf::Param{#name, ::quorix::upaf::ParamKind::kind},
#define QUORIX_PARAMETERS(LIST)                                \
  enum : int { LIST(QUORIX_PARAMETER_INDEX) kParameterCount }; \
  constexpr ::quorix::upaf::Param kParameters[] = {LIST(QUORIX_PARAMETER_ENTRY)}

namespace quorix::upaf {

// Runs the frame for one line; args[0] is always the record type.
bool AssembleRecord(const RecordKind& kind, const Args& args);

// Names of the fields that several records share.
namespace names {
inline constexpr std::string_view kTaxpayerCnpjCpf = "CNPJ/CPF do contribuinte";
inline constexpr std::string_view kTaxpayerStateRegistration =
    "inscri\xE7\xE3o estadual do contribuinte";
inline constexpr std::string_view kSerialNumber = "n\xFAmero de fabrica\xE7\xE3o do ECF";
inline constexpr std::string_view kMfAdditional = "letra da MF adicional";
inline constexpr std::string_view kEcfType = "tipo do ECF";
inline constexpr std::string_view kEcfBrand = "marca do ECF";
inline constexpr std::string_view kEcfModel = "modelo do ECF";
inline constexpr std::string_view kUserNumber = "n\xFAmero de ordem do usu\xE1rio do ECF";
inline constexpr std::string_view kProductCode =
    "c\xF3"
    "digo do produto";
inline constexpr std::string_view kProductDescription = "descri\xE7\xE3o do produto";
inline constexpr std::string_view kUnitOfMeasure = "unidade de medida";
inline constexpr std::string_view kRoundingIndicator = "indicador de arredondamento ou truncamento";
inline constexpr std::string_view kProductionIndicator =
    "indicador de produ\xE7\xE3o pr\xF3pria ou de terceiros";
inline constexpr std::string_view kTotalizerCode =
    "c\xF3"
    "digo do totalizador parcial";
inline constexpr std::string_view kNetTotal = "valor total l\xEDquido";
inline constexpr std::string_view kCancelIndicator = "indicador de cancelamento";
inline constexpr std::string_view kCancelledIncrease = "acr\xE9scimo cancelado";
inline constexpr std::string_view kTaxRate = "al\xEDquota";
}  // namespace names

// The ECF identification that the lines of an ECF's own documents open with:
// the record type, the ECF's serial number, its MF letter, its model and the
// user's order number. Those kinds' parameter lists start with it, in this
// order, and their layouts with EcfIdentified(the rest of the fields).
#define QUORIX_ECF_IDENTIFICATION(X) \
  X(recordType, Text)                \
  X(serialNumber, Text)              \
  X(mfAdditional, Text)              \
  X(ecfModel, Text)                  \
  X(userNumber, Text)

namespace ecf {
enum : int { QUORIX_ECF_IDENTIFICATION(QUORIX_PARAMETER_INDEX) kIdentificationCount };
inline constexpr Field kIdentification[] = {
    RecordType(3),
    Text(serialNumber, 20, names::kSerialNumber),
    Text(mfAdditional, 1, names::kMfAdditional),
    Text(ecfModel, 20, names::kEcfModel),
    TextRight(userNumber, 2, names::kUserNumber),
};
static_assert(std::size(kIdentification) == kIdentificationCount);

template <size_t N, size_t... I>
constexpr std::array<Field, kIdentificationCount + N> Join(const Field (&rest)[N],
                                                           std::index_sequence<I...>) {
  return {{(I < kIdentificationCount ? kIdentification[I] : rest[I - kIdentificationCount])...}};
}
}  // namespace ecf

// A layout made of the ECF identification and then `rest`.
template <size_t N>
constexpr std::array<Field, ecf::kIdentificationCount + N> EcfIdentified(const Field (&rest)[N]) {
  return ecf::Join(rest, std::make_index_sequence<ecf::kIdentificationCount + N>{});
}

// What the records' own checks ask of an argument (see Check). Inline, so
// that a compiled check table calls none of them.
namespace is {
// Something left after trimming: a byte above 32 anywhere.
inline bool Filled(const Args& a, int p, std::string_view) {
  for (char c : a.text(p))
    if (static_cast<unsigned char>(c) > 32) return true;
  return false;
}
inline bool FilledSingleLine(const Args& a, int p, std::string_view) {
  return Filled(a, p, {}) && a.text(p).find_first_of("\r\n") == std::string_view::npos;
}
inline bool NotEmpty(const Args& a, int p, std::string_view) { return !a.text(p).empty(); }
inline bool Positive(const Args& a, int p, std::string_view) {
  return std::isfinite(a.real(p)) && a.real(p) > 0;
}
inline bool NotNegative(const Args& a, int p, std::string_view) {
  return std::isfinite(a.real(p)) && a.real(p) >= 0;
}
inline bool AboveZero(const Args& a, int p, std::string_view) { return a.real(p) > 0; }
inline bool AtLeastZero(const Args& a, int p, std::string_view) { return a.real(p) >= 0; }
inline bool NotDayZero(const Args& a, int p, std::string_view) {
  return a.real(p) != 0 && !std::isnan(a.real(p));
}
// A loop: the sets are two to five characters, too few for a library search.
inline bool OneOf(const Args& a, int p, std::string_view accepted) {
  for (char c : accepted)
    if (c == a.character(p)) return true;
  return false;
}

// A text that still holds something after trimming.
inline constexpr Predicate kFilled{"preenchido (n\xE3o s\xF3 brancos)", Filled};
// Filled, and without CR or LF: for texts placed in the line as passed
// (zero-filled codes and numbers), where a line break would split the line.
inline constexpr Predicate kFilledSingleLine{"preenchido (n\xE3o s\xF3 brancos), sem CR nem LF",
                                             FilledSingleLine};
inline constexpr Predicate kNotEmpty{"n\xE3o vazio (brancos bastam)", NotEmpty};
inline constexpr Predicate kPositive{"n\xFAmero finito maior que zero", Positive};
inline constexpr Predicate kNotNegative{"n\xFAmero finito, zero ou mais", NotNegative};
// Plain comparisons: NaN fails them, an infinity passes.
inline constexpr Predicate kAboveZero{"maior que zero", AboveZero};
inline constexpr Predicate kAtLeastZero{"zero ou mais", AtLeastZero};
// Days before 1899-12-30 are legitimate; only day zero (and NaN) is not.
inline constexpr Predicate kNotDayZero{"diferente de zero", NotDayZero};
// Exact: a lower-case letter is refused although the line would show it upper-cased.
inline constexpr Predicate kOneOf{"um destes caracteres, exato (mai\xFAsculas):", OneOf};
}  // namespace is

// Runs a record's own check table in order. False after setting the message
// of the first that fails.
bool RunOwnChecks(const Frame& frame, const Args& args);
// Sets the message of a check that failed; false.
bool Refuse(const Check& check, const Args& args);

#if QUORIX_ROOM_CHECKS
// Stops the sanitizer build at a rendering that wrote past its room or off
// the width its kind says it writes.
void CheckRoom(const Field& f, size_t room, size_t written, Widths widths);
#endif

// Renders field `f` of kind `Kind` at `at`; a field of any length that came
// out off its width sets bits in `offWidth`.
// The rendering alone, `notes.position` already the field's.
template <class Kind>
inline char* RenderFieldHere(char* at, const Field& f, const Args& args, RenderNotes& notes,
                             size_t& offWidth) {
#if QUORIX_ROOM_CHECKS
  const size_t room = Kind::Room(f, args);
#endif
  char* const end = Kind::Render(at, f, args, notes);
#if QUORIX_ROOM_CHECKS
  CheckRoom(f, room, static_cast<size_t>(end - at), Kind::kWidth);
#endif
  if constexpr (Kind::kWidth == Widths::Any)
    offWidth |= static_cast<size_t>(end - at) ^ static_cast<size_t>(f.width);
  return end;
}
template <class Kind>
inline char* RenderField(char* at, const Field& f, const Args& args, RenderNotes& notes,
                         size_t& offWidth) {
  char* const end = RenderFieldHere<Kind>(at, f, args, notes, offWidth);
  notes.position += static_cast<size_t>(f.width);
  return end;
}

// A layout's room and rendering with every field's kind known when compiled.
template <const auto& Layout>
struct CompiledLine {
  static constexpr size_t kCount = std::size(Layout);

  template <size_t I>
  static size_t FieldRoom(const Args& args) {
    constexpr const Field& f = Layout[I];
    return KindOf<f.kind>::type::Room(f, args);
  }
  template <size_t... I>
  static size_t RoomOf(const Args& args, std::index_sequence<I...>) {
    return (size_t{0} + ... + FieldRoom<I>(args));
  }
  static size_t Room(const Args& args) { return RoomOf(args, std::make_index_sequence<kCount>{}); }

  // RenderField, with the field's position known when compiled: only the
  // kinds that may refuse a value read it, so only they are given it.
  template <size_t I>
  static char* RenderAt(char* at, const Args& args, RenderNotes& notes, size_t& offWidth) {
    using Kind = typename KindOf<Layout[I].kind>::type;
    constexpr const Field& f = Layout[I];
    if constexpr (Kind::kHoldsNoSign) {
      constexpr size_t kPosition = Position(Table<Field>(Layout), I);
      notes.position = kPosition;
    }
    return RenderFieldHere<Kind>(at, f, args, notes, offWidth);
  }
  template <size_t... I>
  static char* RenderAll(char* at, const Args& args, RenderNotes& notes, size_t& offWidth,
                         std::index_sequence<I...>) {
    ((at = RenderAt<I>(at, args, notes, offWidth)), ...);
    return at;
  }
  // Flattened: every field's rendering inline, with its width and fill
  // known, whatever the compiler would judge of the function's size.
  [[gnu::flatten]] static char* Render(char* at, const Args& args, RenderNotes& notesOut,
                                       bool& widthsHold) {
    // The notes are kept in locals: the renderings write through char*,
    // which may alias anything the compiler cannot see is local.
    RenderNotes notes = notesOut;
    size_t offWidth = 0;
    at = RenderAll(at, args, notes, offWidth, std::make_index_sequence<kCount>{});
    notesOut = notes;
    widthsHold = offWidth == 0;
    return at;
  }
};

// A check table with every condition's predicate known when compiled.
template <const auto& Checks>
struct CompiledChecks {
  template <size_t I, size_t J>
  static bool Holds(const Args& args) {
    constexpr const Check& c = Checks[I];
    if constexpr (J >= c.count) {
      return true;
    } else {
      constexpr const Condition& k = c.all[J];
      constexpr auto test = k.predicate.test;
      return test(args, k.parameter, k.accepted);
    }
  }
  template <size_t I, size_t... J>
  static bool Passes(const Args& args, std::index_sequence<J...>) {
    return (Holds<I, J>(args) && ...) || Refuse(Checks[I], args);
  }
  template <size_t... I>
  static bool RunAll(const Args& args, std::index_sequence<I...>) {
    return (Passes<I>(args, std::make_index_sequence<Check::kMost>{}) && ...);
  }
  static bool Run(const Args& args) {
    return RunAll(args, std::make_index_sequence<std::size(Checks)>{});
  }
};

// The compiled line of a record kind (its LineCode), with its check table.
template <const auto& Layout>
constexpr LineCode Compiled() {
  return {&CompiledLine<Layout>::Room, &CompiledLine<Layout>::Render, nullptr};
}
template <const auto& Layout, const auto& Checks>
constexpr LineCode Compiled() {
  return {&CompiledLine<Layout>::Room, &CompiledLine<Layout>::Render, &CompiledChecks<Checks>::Run,
          std::data(Checks)};
}

}  // namespace quorix::upaf
