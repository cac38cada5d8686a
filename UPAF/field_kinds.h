// What each kind of field means, stated once per kind: the parameter it reads,
// the room its rendering may take before the line is judged, the rendering
// itself, what a reader checks in the written characters and how it decodes
// them. The record frame renders by these (record_frame.cpp), the reader of
// report files checks and decodes by them (report_reader.cpp), and the
// compile-time check of every record table asks them what each field reads.
//
// A kind is a struct in namespace `kind` named after its FieldKind:
//   Feeds(field, params)          the field's source is of the kind it reads (constexpr)
//   kWidth                        what its rendering writes: exactly the width, at
//                                 least the width, or any length (Widths)
//   Room(field, args)             bytes the rendering may write, at most
//   Render(at, field, args, notes)  writes the field at `at`, returns its end
//   Check(field, raw, counts)     what is wrong with the written characters ("" if nothing)
//   Decode(field, raw, kind, line)  the value the characters tell
//   kLetter, kRendering           the regulation's letter for it (N, X, D, H) and what
//                                 its rendering does, as `quorix layouts` lists them
// WithKind(fieldKind, visit) calls visit with the kind's struct.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "UFuncoes/field_rules.h"
#include "UPAF/record_kinds.h"
#include "UPAF/record_process.h"

namespace quorix::upaf {

// Reads a taxpayer item, a software-house item or a text argument.
inline std::string_view SourceText(Source source, const Args& args) {
  return source.kind == SourceKind::Taxpayer || source.kind == SourceKind::SoftwareHouse
             ? args.process().Stored(source)
             : args.passedText(source.index);
}

// Raises the failure of a field that holds no sign given a negative value
// that would be written as another number. `shown`: the value as passed.
[[noreturn]] void RefuseNegative(const Field& f, size_t position, std::string_view shown);

// What a kind's rendering writes against the field's width. The frame holds a
// line to every field's width with one test per line for the first two (each
// field writes at least its width, so only a line of the right length has
// every one exact) and one test per field of the third.
enum class Widths : uint8_t { Exact, AtLeast, Any };

// What rendering one line leaves to be judged after its last field.
struct RenderNotes {
  size_t position = 1;     // the field's first position, as the widths place it
  bool singleLine = true;  // no text placed as passed held a line break
};

// A field's value as the line tells it.
struct FieldValue {
  enum Type : uint8_t { Text, Number, Date, Time, Blank, Unreadable } type;
  // Text: trimmed on the side of the fill; Number: "-1234.56" (a point before
  // the decimals); Date: "AAAA-MM-DD"; Time: "HH:MM:SS".
  std::string text;
};

// Tests on written characters, shared by the kinds and the reader.
namespace readback {

// Bytes that no written field holds: control codes, and the five bytes
// Windows-1252 leaves without a character.
constexpr std::array<bool, 256> MakeForbidden() {
  std::array<bool, 256> t{};
  for (int c = 0; c < 32; ++c) t[c] = true;
  t[127] = t[0x81] = t[0x8D] = t[0x8F] = t[0x90] = t[0x9D] = true;
  return t;
}
inline constexpr std::array<bool, 256> kForbidden = MakeForbidden();
inline bool Forbidden(char c) { return kForbidden[static_cast<unsigned char>(c)]; }
inline bool Digit(char c) { return c >= '0' && c <= '9'; }
inline bool AllDigits(std::string_view s) {
  for (char c : s)
    if (!Digit(c)) return false;
  return !s.empty();
}
inline bool AllBlanks(std::string_view s) {
  return s.find_first_not_of(' ') == std::string_view::npos;
}
inline int Number(std::string_view digits) {
  int n = 0;
  for (char c : digits) n = n * 10 + (c - '0');
  return n;
}
bool ValidDate(std::string_view s);
bool ValidTime(std::string_view s);
// The taxpayer's identification as stored: 14 digits, an 11-digit CPF
// zero-filled in front.
bool ValidCnpjCpf(std::string_view s);
// A value quoted in a finding; bytes that would break the line are shown by number.
std::string Quoted(std::string_view raw);
// Digits after the count of decimals, with a point before the decimals.
FieldValue Decimal(std::string_view raw, std::string_view digits, int decimals, bool negative);

inline const char* const kNotNumeric = " n\xE3o \xE9 num\xE9rico";

}  // namespace readback

namespace kind {

// Whether a field's source is a parameter of kind `p`.
constexpr bool ReadsParameter(const Field& f, Table<Param> params, ParamKind p) {
  return f.source.kind == SourceKind::Parameter && f.source.index >= 0 &&
         static_cast<size_t>(f.source.index) < params.size &&
         params[static_cast<size_t>(f.source.index)].kind == p;
}

// No CR or LF: a text placed as passed with one would split the line in the
// file. A word at a time (the last word overlapping the one before), with
// the test for a zero byte on the word xor each byte: the texts are a few
// bytes, too few for a library search, and every line has several.
namespace detail {
template <class Word>
inline bool HoldsBreak(Word w) {
  constexpr Word kOnes = ~Word(0) / 0xFF, kHigh = kOnes * 0x80;
  const Word cr = w ^ (kOnes * '\r'), lf = w ^ (kOnes * '\n');
  return (((cr - kOnes) & ~cr) | ((lf - kOnes) & ~lf)) & kHigh;
}
template <class Word>
inline Word Load(const char* from) {
  Word w;
  std::memcpy(&w, from, sizeof w);
  return w;
}
}  // namespace detail
inline bool SingleLine(std::string_view text) {
  const char* p = text.data();
  const size_t n = text.size();
  if (n >= 8) {
    for (size_t i = 0; i + 8 < n; i += 8)
      if (detail::HoldsBreak(detail::Load<uint64_t>(p + i))) return false;
    return !detail::HoldsBreak(detail::Load<uint64_t>(p + n - 8));
  }
  if (n >= 4)
    return !detail::HoldsBreak(detail::Load<uint32_t>(p)) &&
           !detail::HoldsBreak(detail::Load<uint32_t>(p + n - 4));
  // Two or three bytes: the first, the second and the last cover them.
  if (n >= 2)
    return !(p[0] == '\r' || p[0] == '\n' || p[1] == '\r' || p[1] == '\n' || p[n - 1] == '\r' ||
             p[n - 1] == '\n');
  return n == 0 || (p[0] != '\r' && p[0] != '\n');
}

inline size_t Width(const Field& f) { return f.width > 0 ? static_cast<size_t>(f.width) : 0; }
inline size_t AtLeast(const Field& f, size_t n) { return Width(f) > n ? Width(f) : n; }

// What most kinds share: a rendering of exactly the width, nothing a reader
// can check beyond the character set, read back as the text it shows.
struct Fixed {
  static constexpr Widths kWidth = Widths::Exact;
  // Whether the rendering refuses a negative value (RefuseNegative).
  static constexpr bool kHoldsNoSign = false;
  static size_t Room(const Field& f, const Args&) { return Width(f); }
  template <class Counts>
  static std::string Check(const Field&, std::string_view, const Counts&) {
    return {};
  }
  static FieldValue Decode(const Field&, std::string_view raw, const RecordKind&,
                           std::string_view) {
    return {FieldValue::Text, std::string(raw)};
  }
};

// The host's text placed as passed: its room is its length. A line break in
// it would split the line in the file, so the frame refuses such a line.
struct AsPassed : Fixed {
  static constexpr Widths kWidth = Widths::Any;
  static constexpr char kLetter = 'X';
  static constexpr std::string_view kRendering =
      "como passado, sem mudan\xE7"
      "a";
  static constexpr bool Feeds(const Field& f, Table<Param> params) {
    return ReadsParameter(f, params, ParamKind::Text);
  }
  static size_t Room(const Field& f, const Args& a) { return a.passedText(f.source.index).size(); }
  static char* Render(char* at, const Field& f, const Args& a, RenderNotes& notes) {
    const std::string_view text = a.passedText(f.source.index);
    notes.singleLine = notes.singleLine && SingleLine(text);
    return rules::PutAsPassed(at, text);
  }
};

// The record type, as passed; the type check has seen it trimmed only, at
// the type length, so blanks around it can only make it longer.
struct RecordType : AsPassed {
  static constexpr Widths kWidth = Widths::AtLeast;
  static constexpr char kLetter = 'X';
  static constexpr std::string_view kRendering =
      "como passado; aparado, deve ter o tamanho do tipo";
  template <class Counts>
  static std::string Check(const Field&, std::string_view raw, const Counts&) {
    if (static_cast<unsigned char>(raw.front()) <= 32 ||
        static_cast<unsigned char>(raw.back()) <= 32)
      return readback::Quoted(raw) + " tem espa\xE7o nas pontas";
    return {};
  }
};

// Text field rendering from a parameter, the taxpayer or the software house.
struct Text : Fixed {
  static constexpr char kLetter = 'X';
  static constexpr std::string_view kRendering =
      "aparado, acentos retirados, o que fica fora do ASCII imprim\xEDvel (e \"?\") em branco, em "
      "mai\xFAsculas, cortado \xE0 largura";
  static constexpr bool Feeds(const Field& f, Table<Param> params) {
    return f.source.kind == SourceKind::Taxpayer || f.source.kind == SourceKind::SoftwareHouse ||
           ReadsParameter(f, params, ParamKind::Text);
  }
  static char* Render(char* at, const Field& f, const Args& a, RenderNotes&) {
    if (f.source.kind == SourceKind::Taxpayer) return a.process().PutTaxpayerItem(at, f);
    return rules::PutTextField(at, SourceText(f.source, a), f.width, f.justify, f.fill);
  }
  // The taxpayer's CNPJ/CPF is the one text whose characters can be judged.
  template <class Counts>
  static std::string Check(const Field& f, std::string_view raw, const Counts&) {
    if (f.source.kind != SourceKind::Taxpayer || f.source.index != kTaxpayerCnpjCpf.index)
      return {};
    if (raw.size() != 14 || !readback::AllDigits(raw))
      return readback::Quoted(raw) + " n\xE3o \xE9 um CNPJ nem um CPF (14 d\xEDgitos)";
    if (!readback::ValidCnpjCpf(raw))
      return readback::Quoted(raw) + ": d\xEDgitos verificadores errados";
    return {};
  }
  static FieldValue Decode(const Field& f, std::string_view raw, const RecordKind&,
                           std::string_view) {
    if (f.justify == rules::Justify::Right) return {FieldValue::Text, std::string(raw)};
    const size_t end = raw.find_last_not_of(' ');
    return {FieldValue::Text,
            std::string(raw.substr(0, end == std::string_view::npos ? 0 : end + 1))};
  }
};

struct Alphanumeric : Text {
  static constexpr char kLetter = 'X';
  static constexpr std::string_view kRendering =
      "s\xF3 0-9, A-Z e a-z mantidos; depois aparado, em mai\xFAsculas, cortado \xE0 largura";
  static constexpr bool Feeds(const Field& f, Table<Param> params) {
    return ReadsParameter(f, params, ParamKind::Text);
  }
  static char* Render(char* at, const Field& f, const Args& a, RenderNotes&) {
    return rules::PutAlphanumericField(at, a.passedText(f.source.index), f.width);
  }
  template <class Counts>
  static std::string Check(const Field&, std::string_view, const Counts&) {
    return {};
  }
};

struct Character : Fixed {
  static constexpr char kLetter = 'X';
  static constexpr std::string_view kRendering =
      "um caractere como texto: acento retirado, em mai\xFAscula; fora do ASCII imprim\xEDvel, "
      "branco";
  static constexpr bool Feeds(const Field& f, Table<Param> params) {
    return ReadsParameter(f, params, ParamKind::Character);
  }
  static char* Render(char* at, const Field& f, const Args& a, RenderNotes&) {
    return rules::PutCharField(at, a.character(f.source.index));
  }
};

struct CharacterAsPassed : Character {
  static constexpr char kLetter = 'X';
  static constexpr std::string_view kRendering =
      "um caractere como passado; um c\xF3"
      "digo de controle vira branco";
  static char* Render(char* at, const Field& f, const Args& a, RenderNotes&) {
    return rules::PutCharAsPassed(at, a.character(f.source.index));
  }
};

// The host's text with "0" on the left up to the width, never cut.
struct Code : AsPassed {
  static constexpr Widths kWidth = Widths::AtLeast;
  static constexpr char kLetter = 'X';
  static constexpr std::string_view kRendering =
      "como passado, com \"0\" \xE0 esquerda at\xE9 a largura, nunca cortado";
  static size_t Room(const Field& f, const Args& a) {
    return AtLeast(f, a.passedText(f.source.index).size());
  }
  static char* Render(char* at, const Field& f, const Args& a, RenderNotes& notes) {
    const std::string_view text = a.passedText(f.source.index);
    notes.singleLine = notes.singleLine && SingleLine(text);
    return rules::PutZeroFill(at, text, f.width);
  }
};

// A counter is a code whose written characters must be digits.
struct Counter : Code {
  static constexpr char kLetter = 'N';
  static constexpr std::string_view kRendering =
      "como passado, com \"0\" \xE0 esquerda at\xE9 a largura, nunca cortado; d\xEDgitos "
      "esperados, n\xE3o impostos";
  template <class Counts>
  static std::string Check(const Field&, std::string_view raw, const Counts&) {
    return readback::AllDigits(raw) ? std::string() : readback::Quoted(raw) + readback::kNotNumeric;
  }
};

// Digits of a real's absolute value at its decimals, never cut. A field that
// holds no sign refuses a negative value unless it is written as zeros.
struct Number : Counter {
  static constexpr bool kHoldsNoSign = true;
  static constexpr char kLetter = 'N';
  static constexpr std::string_view kRendering =
      "valor absoluto em d\xEDgitos, com \"0\" \xE0 esquerda, nunca cortado; negativo recusado "
      "(salvo se escrito como zeros)";
  static constexpr bool Feeds(const Field& f, Table<Param> params) {
    return ReadsParameter(f, params, ParamKind::Real);
  }
  static size_t Room(const Field& f, const Args&) { return AtLeast(f, rules::kNumberRoom); }
  static char* Render(char* at, const Field& f, const Args& a, RenderNotes& notes) {
    return Put(at, f, a.real(f.source.index), static_cast<rules::Decimals>(f.decimals), notes);
  }
  static FieldValue Decode(const Field& f, std::string_view raw, const RecordKind&,
                           std::string_view) {
    return readback::Decimal(raw, raw, f.decimals, false);
  }

 protected:
  // Inline in the compiled lines, which hold several numbers each: the
  // call and its saved registers cost more than the rendering.
  [[gnu::always_inline]] static char* Put(char* at, const Field& f, double value,
                                          rules::Decimals decimals, const RenderNotes& notes) {
    char* const end = rules::PutNumber(at, value, decimals, f.width);
    if (value < 0) [[unlikely]]
      RefuseUnlessZeros(at, end, f, value, decimals, notes.position);
    return end;
  }
  [[gnu::cold, gnu::noinline]] static void RefuseUnlessZeros(const char* at, const char* end,
                                                             const Field& f, double value,
                                                             rules::Decimals decimals,
                                                             size_t position) {
    if (std::string_view(at, static_cast<size_t>(end - at)).find_first_not_of('0') !=
        std::string_view::npos)
      RefuseNegative(f, position, rules::FormatNumber(value, decimals));
  }
};

// Decimals picked by an integer parameter of the same call (0, 3, else 2).
struct NumberByCount : Number {
  static constexpr char kLetter = 'N';
  static constexpr std::string_view kRendering =
      "valor absoluto em d\xEDgitos, com \"0\" \xE0 esquerda, nunca cortado; negativo recusado "
      "(salvo se escrito como zeros); casas decimais pela contagem (0 ou 3; outra, 2)";
  static constexpr bool Feeds(const Field& f, Table<Param> params) {
    return ReadsParameter(f, params, ParamKind::Real) && f.decimalsSource >= 0 &&
           static_cast<size_t>(f.decimalsSource) < params.size &&
           params[static_cast<size_t>(f.decimalsSource)].kind == ParamKind::Integer;
  }
  static char* Render(char* at, const Field& f, const Args& a, RenderNotes& notes) {
    return Put(at, f, a.real(f.source.index), rules::DecimalsForCount(a.integer(f.decimalsSource)),
               notes);
  }
  // The count of decimals is a one-digit field of the same line.
  static FieldValue Decode(const Field& f, std::string_view raw, const RecordKind& record,
                           std::string_view line) {
    for (size_t i = 0; i < record.layout.size; ++i) {
      const Field& c = record.layout[i];
      if (c.source.kind == SourceKind::Parameter && c.source.index == f.decimalsSource &&
          c.kind == FieldKind::Integer) {
        const std::string_view count = line.substr(Position(record.layout, i) - 1, 1);
        if (!readback::AllDigits(count)) break;
        return readback::Decimal(
            raw, raw, static_cast<int>(rules::DecimalsForCount(readback::Number(count))), false);
      }
    }
    return {FieldValue::Unreadable, std::string(raw)};
  }
};

// A 32-bit integer's digits, never cut; it holds no sign.
struct Integer : Counter {
  static constexpr bool kHoldsNoSign = true;
  static constexpr char kLetter = 'N';
  static constexpr std::string_view kRendering =
      "inteiro em d\xEDgitos, com \"0\" \xE0 esquerda, nunca cortado; negativo recusado";
  static constexpr bool Feeds(const Field& f, Table<Param> params) {
    return ReadsParameter(f, params, ParamKind::Integer);
  }
  static size_t Room(const Field& f, const Args&) { return AtLeast(f, rules::kIntegerRoom); }
  static char* Render(char* at, const Field& f, const Args& a, RenderNotes& notes) {
    const int32_t value = a.integer(f.source.index);
    if (value < 0) RefuseNegative(f, notes.position, std::to_string(value));
    return rules::PutInteger(at, value, f.width);
  }
  static FieldValue Decode(const Field&, std::string_view raw, const RecordKind&,
                           std::string_view) {
    return readback::Decimal(raw, raw, 0, false);
  }
};

// Hundredths with "-" in front, inside the width, when below zero.
struct SignedAmount : Fixed {
  static constexpr Widths kWidth = Widths::AtLeast;
  static constexpr char kLetter = 'N';
  static constexpr std::string_view kRendering =
      "cent\xE9simos em d\xEDgitos, com \"0\" \xE0 esquerda; \"-\" \xE0 frente, dentro da largura, "
      "se negativo";
  static constexpr bool Feeds(const Field& f, Table<Param> params) {
    return ReadsParameter(f, params, ParamKind::Real);
  }
  static size_t Room(const Field& f, const Args&) { return AtLeast(f, rules::kNumberRoom + 1); }
  static char* Render(char* at, const Field& f, const Args& a, RenderNotes&) {
    return rules::PutSignedAmount(at, a.real(f.source.index), f.width);
  }
  template <class Counts>
  static std::string Check(const Field&, std::string_view raw, const Counts&) {
    if (readback::AllDigits(raw[0] == '-' ? raw.substr(1) : raw)) return {};
    return readback::Quoted(raw) +
           " n\xE3o \xE9 um valor (d\xEDgitos, com \"-\" \xE0 frente se negativo)";
  }
  static FieldValue Decode(const Field&, std::string_view raw, const RecordKind&,
                           std::string_view) {
    return raw[0] == '-' ? readback::Decimal(raw, raw.substr(1), 2, true)
                         : readback::Decimal(raw, raw, 2, false);
  }
};

// A date (AAAAMMDD) or a time of day (HHMMSS) from a day count; with
// OrBlanks, blanks for a value of 0.
template <ParamKind Reads, bool OrBlanks>
struct MomentKind : Fixed {
  static constexpr bool kDate = Reads == ParamKind::Date;
  static bool Valid(std::string_view raw) {
    return kDate ? readback::ValidDate(raw) : readback::ValidTime(raw);
  }
  static constexpr bool Feeds(const Field& f, Table<Param> params) {
    return ReadsParameter(f, params, Reads);
  }
  static char* Render(char* at, const Field& f, const Args& a, RenderNotes&) {
    const double value = a.real(f.source.index);
    if (OrBlanks && value == 0) return rules::PutTextField(at, {}, f.width);
    return kDate ? rules::PutDate(at, value) : rules::PutTime(at, value);
  }
  template <class Counts>
  static std::string Check(const Field&, std::string_view raw, const Counts&) {
    if (Valid(raw) || (OrBlanks && readback::AllBlanks(raw))) return {};
    return readback::Quoted(raw) + (kDate ? " n\xE3o \xE9 uma data v\xE1lida (AAAAMMDD)"
                                          : " n\xE3o \xE9 uma hora v\xE1lida (HHMMSS)");
  }
  static FieldValue Decode(const Field&, std::string_view raw, const RecordKind&,
                           std::string_view) {
    if (OrBlanks && readback::AllBlanks(raw)) return {FieldValue::Blank, ""};
    if (!Valid(raw)) return {FieldValue::Unreadable, std::string(raw)};
    if (kDate)
      return {FieldValue::Date, std::string(raw.substr(0, 4)) + "-" +
                                    std::string(raw.substr(4, 2)) + "-" +
                                    std::string(raw.substr(6, 2))};
    return {FieldValue::Time, std::string(raw.substr(0, 2)) + ":" + std::string(raw.substr(2, 2)) +
                                  ":" + std::string(raw.substr(4, 2))};
  }
};
struct Date : MomentKind<ParamKind::Date, false> {
  static constexpr char kLetter = 'D';
  static constexpr std::string_view kRendering = "AAAAMMDD";
};
struct DateOrBlanks : MomentKind<ParamKind::Date, true> {
  static constexpr char kLetter = 'D';
  static constexpr std::string_view kRendering = "AAAAMMDD; brancos para o valor 0";
};
struct Time : MomentKind<ParamKind::Time, false> {
  static constexpr char kLetter = 'H';
  static constexpr std::string_view kRendering = "HHMMSS";
};
struct TimeOrBlanks : MomentKind<ParamKind::Time, true> {
  static constexpr char kLetter = 'H';
  static constexpr std::string_view kRendering = "HHMMSS; brancos para o valor 0";
};

// Digits the builder computes (the totals line's count), never cut; a reader
// checks them against the lines before. `counts.AnyTypeCounts(n)`: some record
// type has n lines before this one; `counts.Listed()`: those counts, shown.
struct LineCount : Fixed {
  static constexpr Widths kWidth = Widths::Any;
  static constexpr char kLetter = 'N';
  static constexpr std::string_view kRendering =
      "quantidade de linhas do tipo contado, com \"0\" \xE0 esquerda, nunca cortada";
  static constexpr bool Feeds(const Field& f, Table<Param>) { return f.compute != nullptr; }
  static size_t Room(const Field& f, const Args&) { return AtLeast(f, 24); }
  static char* Render(char* at, const Field& f, const Args& a, RenderNotes&) {
    std::string digits;
    f.compute(digits, a);
    return rules::PutAsPassed(at, digits);
  }
  template <class Counts>
  static std::string Check(const Field&, std::string_view raw, const Counts& counts) {
    if (!readback::AllDigits(raw)) return readback::Quoted(raw) + readback::kNotNumeric;
    if (counts.AnyTypeCounts(static_cast<uint64_t>(readback::Number(raw)))) return {};
    return "a quantidade " + std::to_string(readback::Number(raw)) +
           " n\xE3o confere com nenhum tipo de registro das linhas anteriores (" + counts.Listed() +
           ")";
  }
  static FieldValue Decode(const Field&, std::string_view raw, const RecordKind&,
                           std::string_view) {
    return readback::Decimal(raw, raw, 0, false);
  }
};

}  // namespace kind

// Calls `visit` with the struct of kind `k` (a value of it; its members are static).
template <class Visit>
constexpr decltype(auto) WithKind(FieldKind k, Visit&& visit) {
  switch (k) {
#define QUORIX_FIELD_KIND_CASE(name) \
  case FieldKind::name:              \
    return visit(kind::name{});
    QUORIX_FIELD_KINDS(QUORIX_FIELD_KIND_CASE)
#undef QUORIX_FIELD_KIND_CASE
  }
  return visit(kind::AsPassed{});  // not reached: every kind has its case
}

// The struct of kind `k`, as a type.
template <FieldKind k>
struct KindOf;
#define QUORIX_FIELD_KIND_TYPE(name) \
  template <>                        \
  struct KindOf<FieldKind::name> {   \
    using type = kind::name;         \
  };
QUORIX_FIELD_KINDS(QUORIX_FIELD_KIND_TYPE)
#undef QUORIX_FIELD_KIND_TYPE

// --- Compile-time agreement of a record table with its kinds ---------------

// The field's source is of the kind its rendering reads.
constexpr bool FeedsField(const Field& f, Table<Param> params) {
  return WithKind(f.kind, [&](auto k) { return decltype(k)::Feeds(f, params); });
}

constexpr bool SourcesFit(const RecordKind& kind) {
  for (const Field& f : kind.layout)
    if (f.name.empty() || f.width <= 0 || !FeedsField(f, kind.params)) return false;
  return true;
}

// The record type comes first, from the first parameter, at the type length.
constexpr bool StartsWithType(const RecordKind& kind) {
  return kind.layout.size > 0 && kind.layout[0].kind == FieldKind::RecordType &&
         kind.layout[0].source.index == 0 && kind.params.size > 0 &&
         kind.params[0].kind == ParamKind::Text &&
         static_cast<size_t>(kind.layout[0].width) == kind.typeLength;
}

}  // namespace quorix::upaf

// Placed after a record kind's definition: its widths add up to its line
// length, and every field reads a source of the kind its rendering needs.
// (Its parameters against its export's prototype: record_prototypes.h, which
// the unit tests run over every kind.)
#define QUORIX_CHECK_RECORD_KIND(kind)                                        \
  static_assert(::quorix::upaf::LineLength(kind.layout) == kind.lineLength,   \
                #kind ": the field widths do not add up to the line length"); \
  static_assert(::quorix::upaf::StartsWithType(kind),                         \
                #kind ": the line does not start with the record type");      \
  static_assert(::quorix::upaf::SourcesFit(kind),                             \
                #kind ": a field reads a source missing or of another kind")
