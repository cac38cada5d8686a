// The entry of every record builder: the export passes its own arguments, in
// its order, and Build holds the texts for the call and runs the record frame
// on the kind's table. The arguments must be exactly those of the kind's
// prototype in the public header (count and types), or the entry does not
// compile; the kind's own file checks its table against the same prototype.
#pragma once

#include <type_traits>

#include "UPAF/record_frame.h"
#include "UPAF/record_kinds.h"
#include "UPAF/record_prototypes.h"
#include "exports/boundary.h"
#include "quorix.h"

namespace quorix::boundary {

// Holds a text for the call and views its bytes, with one test for a
// missing text; every other argument is only stored.
inline upaf::Arg Take(quorix_text text) noexcept {
  if (!text) return {};
  int32_t* count = CountOf(text);
  if (__atomic_load_n(count, __ATOMIC_RELAXED) != -1)
    __atomic_add_fetch(count, 1, __ATOMIC_RELAXED);
  const int32_t length = count[1];
  return length > 0 ? upaf::Arg{text, static_cast<uint32_t>(length)} : upaf::Arg{};
}
inline upaf::Arg Take(double value) noexcept { return upaf::Arg::Real(value); }
inline upaf::Arg Take(int32_t value) noexcept { return upaf::Arg::Integer(value); }
inline upaf::Arg Take(quorix_slot slot) noexcept { return upaf::Arg::Character(slot); }
inline void Drop(quorix_text text) noexcept { Release(text); }
inline void Drop(double) noexcept {}
inline void Drop(int32_t) noexcept {}
inline void Drop(quorix_slot) noexcept {}

template <upaf::RecordId Id, class... A>
quorix_bool Build(A... args) noexcept {
  static_assert(std::is_same_v<typename upaf::ExportOf<Id>::Parameters, upaf::TypeList<A...>>,
                "a record entry passes its export's arguments, all of them, in their order");
  const upaf::Arg values[] = {Take(args)...};
  const quorix_bool result = Guarded([&] {
    return upaf::AssembleRecord(upaf::ExportOf<Id>::record, upaf::Args(values, sizeof...(A)));
  });
  (Drop(args), ...);
  return result;
}

}  // namespace quorix::boundary
