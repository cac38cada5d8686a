// The record kinds against the prototypes of their exports in the public
// header: the entries' arguments (exports/record_entry.h), the call table of
// the quorix program and the fuzzers (record_call.h) and the tests that hold
// every kind's parameters to its prototype. The tables themselves do not
// include the public header: they describe lines, and link without it.
#pragma once

#include <cstdint>
#include <type_traits>

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
constexpr bool SameKinds(TypeList<P...>, Table<Param> params) {
  constexpr ParamKind boundary[] = {BoundaryKind<P>()...};
  if (params.size != sizeof...(P)) return false;
  for (size_t i = 0; i < params.size; ++i)
    if (AtTheBoundary(params[i].kind) != boundary[i]) return false;
  return true;
}

// Whether a kind's parameters are, in number and kind, those of the
// prototype of the export that builds lines of `id`.
inline bool AgreesWithPrototype(RecordId id, Table<Param> params) {
  switch (id) {
#define QUORIX_RECORD_AGREES(kind, exportName) \
  case RecordId::kind:                         \
    return SameKinds(ExportOf<RecordId::kind>::Parameters{}, params);
    QUORIX_RECORD_KINDS(QUORIX_RECORD_AGREES)
#undef QUORIX_RECORD_AGREES
  }
  return false;
}

}  // namespace quorix::upaf
