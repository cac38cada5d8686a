// The record kinds against the prototypes of their exports in the public
// header: the entries' arguments (exports/record_entry.h), the call table of
// the quorix program and the fuzzers (record_call.h) and the tests that hold
// every kind's parameters to its prototype. The tables themselves do not
// include the public header: they describe lines, and link without it.
#pragma once

#include <cstdint>
#include <type_traits>
#include <vector>

#include "UPAF/record_kinds.h"
#include "quorix.h"

namespace quorix::upaf {

template <class... T>
struct TypeList {};

// The parameter types of an export's prototype.
template <class F>
struct ExportParameters;
template <class R, class... P>
struct ExportParameters<R(P...)> {
  using type = TypeList<P...>;
};
#if defined(_WIN32) && defined(__i386__)
template <class R, class... P>
struct ExportParameters<R QUORIX_CALL(P...)> {
  using type = TypeList<P...>;
};
#endif

template <RecordId Id>
struct ExportOf;
#define QUORIX_RECORD_EXPORT(kind, exportName)                                \
  template <>                                                                 \
  struct ExportOf<RecordId::kind> {                                           \
    using Parameters = typename ExportParameters<decltype(exportName)>::type; \
    static constexpr const RecordKind& record = records::k##kind;             \
  };
QUORIX_RECORD_KINDS(QUORIX_RECORD_EXPORT)
#undef QUORIX_RECORD_EXPORT

template <class T>
constexpr ParamKind BoundaryKind() {
  if constexpr (std::is_same_v<T, quorix_text>)
    return ParamKind::Text;
  else if constexpr (std::is_same_v<T, double>)
    return ParamKind::Real;
  else if constexpr (std::is_same_v<T, int32_t>)
    return ParamKind::Integer;
  else {
    static_assert(std::is_same_v<T, quorix_slot>, "a record parameter of an unknown type");
    return ParamKind::Character;
  }
}

constexpr ParamKind AtTheBoundary(ParamKind k) {
  return k == ParamKind::Date || k == ParamKind::Time ? ParamKind::Real : k;
}

template <class... P>
std::vector<ParamKind> KindsOf(TypeList<P...>) {
  return {BoundaryKind<P>()...};
}

// The kinds of the parameters of the export that builds lines of `id`, as
// its prototype has them (a date or a time is a Real there).
inline std::vector<ParamKind> ExportParameterKinds(RecordId id) {
  switch (id) {
#define QUORIX_RECORD_KINDS_OF(name, exportName) \
  case RecordId::name:                           \
    return KindsOf(ExportOf<RecordId::name>::Parameters{});
    QUORIX_RECORD_KINDS(QUORIX_RECORD_KINDS_OF)
#undef QUORIX_RECORD_KINDS_OF
  }
  return {};
}

}  // namespace quorix::upaf
