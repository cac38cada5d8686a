// The builders' call table: calls a record kind's export with the arguments a
// source gives, its prototype taken from the public header (one template
// unpacks the prototype's parameter types, so no export's parameter list is
// written again here). The quorix program and the records fuzzer both call
// the builders through it.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "UPAF/record_kinds.h"
#include "UPAF/record_prototypes.h"
#include "quorix.h"

namespace quorix::upaf {

// One argument, filled in the member its parameter kind reads (Text:
// Windows-1252 bytes; Real, Date, Time: `real`, days since 1899-12-30).
struct CallValue {
  std::string text;
  double real = 0;
  int32_t integer = 0;
  uint32_t slot = 0;
};

namespace detail {

// The texts of one call, released when it returns.
class CallTexts {
 public:
  ~CallTexts() {
    for (char* t : texts_) quorix_text_release(t);
  }
  quorix_text Make(const std::string& bytes) {
    texts_.push_back(quorix_text_new(bytes.data(), static_cast<int32_t>(bytes.size())));
    return texts_.back();
  }
  void Reserve(size_t n) { texts_.reserve(n); }

 private:
  std::vector<char*> texts_;
};

// The arguments of one call as a Source gives them: text(i), real(i),
// integer(i), slot(i), each read in the member its prototype's type needs.
template <class P, class Source>
P Pass(const Source& source, size_t i) {
  if constexpr (std::is_same_v<P, quorix_text>)
    return source.text(i);
  else if constexpr (std::is_same_v<P, double>)
    return source.real(i);
  else if constexpr (std::is_same_v<P, int32_t>)
    return source.integer(i);
  else
    return source.slot(i);
}

template <auto Export, class Source, class... P, size_t... I>
bool Invoke(TypeList<P...>, std::index_sequence<I...>, const Source& source) {
  return Export(Pass<P>(source, I)...) != 0;
}

template <auto Export, class Source, class... P>
bool Call(TypeList<P...> parameters, const Source& source) {
  return Invoke<Export>(parameters, std::index_sequence_for<P...>{}, source);
}

// Values as the program holds them, made host texts for the call.
class ValueSource {
 public:
  ValueSource(const std::vector<CallValue>& values) : values_(values) {
    texts_.Reserve(values.size());
  }
  quorix_text text(size_t i) const { return texts_.Make(values_[i].text); }
  double real(size_t i) const { return values_[i].real; }
  int32_t integer(size_t i) const { return values_[i].integer; }
  quorix_slot slot(size_t i) const { return values_[i].slot; }

 private:
  const std::vector<CallValue>& values_;
  mutable CallTexts texts_;
};

}  // namespace detail

// Calls the export that builds lines of record kind `id` with the arguments
// `source` gives (see detail::Pass): the call table that every caller of the
// builders by kind goes through.
template <class Source>
bool CallRecordExport(RecordId id, const Source& source) {
  switch (id) {
#define QUORIX_RECORD_CALL(name, exportName) \
  case RecordId::name:                       \
    return detail::Call<exportName>(ExportOf<RecordId::name>::Parameters{}, source);
    QUORIX_RECORD_KINDS(QUORIX_RECORD_CALL)
#undef QUORIX_RECORD_CALL
  }
  return false;
}

// Calls the export that builds lines of `kind`; `values` holds one value per
// parameter of the kind, in order.
inline bool CallRecordExport(const RecordKind& kind, const std::vector<CallValue>& values) {
  if (values.size() != kind.params.size) return false;
  return CallRecordExport(kind.id, detail::ValueSource(values));
}

// Days since 1899-12-30 of a civil date.
inline double DaysOfDate(int year, int month, int day) {
  const int y = year - (month <= 2);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return static_cast<double>(era * 146097 + doe - 693899);  // 693899: 1899-12-30
}

// A parameter's value from its text form: a real "-1234.5"; a date
// "AAAA-MM-DD" ("" is 0, no date); a time "HH:MM:SS"; an integer; a single
// Windows-1252 character. False when the text is not of that form.
inline bool ValueFromText(ParamKind kind, const std::string& text, CallValue& out) {
  const auto number = [&](size_t at, size_t n, int& v) {
    if (at + n > text.size()) return false;
    v = 0;
    for (size_t i = at; i < at + n; ++i) {
      if (text[i] < '0' || text[i] > '9') return false;
      v = v * 10 + (text[i] - '0');
    }
    return true;
  };
  switch (kind) {
    case ParamKind::Text:
      out.text = text;
      return true;
    case ParamKind::Real: {
      char* end = nullptr;
      out.real = std::strtod(text.c_str(), &end);
      return !text.empty() && end == text.c_str() + text.size() && std::isfinite(out.real);
    }
    case ParamKind::Integer: {
      char* end = nullptr;
      const long v = std::strtol(text.c_str(), &end, 10);
      out.integer = static_cast<int32_t>(v);
      return !text.empty() && end == text.c_str() + text.size() && v == out.integer;
    }
    case ParamKind::Character:
      out.slot = text.size() == 1 ? static_cast<unsigned char>(text[0]) : 0;
      return text.size() == 1;
    case ParamKind::Date: {
      int y, m, d;
      if (text.empty()) return out.real = 0, true;
      if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !number(0, 4, y) ||
          !number(5, 2, m) || !number(8, 2, d) || m < 1 || m > 12 || d < 1 || d > 31)
        return false;
      out.real = DaysOfDate(y, m, d);
      return true;
    }
    case ParamKind::Time: {
      int h, m, s;
      if (text.size() != 8 || text[2] != ':' || text[5] != ':' || !number(0, 2, h) ||
          !number(3, 2, m) || !number(6, 2, s) || h > 23 || m > 59 || s > 59)
        return false;
      // Half a second past the second, so that rounding keeps the second.
      out.real = (h * 3600 + m * 60 + s + 0.5) / 86400.0;
      return true;
    }
  }
  return false;
}

}  // namespace quorix::upaf
