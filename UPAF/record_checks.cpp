// The predicates of the records' own checks (record_frame.h): pure tests of
// one argument, so that the check tables can be read without the frame.
#include <cmath>

#include "UPAF/record_frame.h"

namespace quorix::upaf {
namespace {

bool Filled(std::string_view text) { return !rules::Trim(text).empty(); }
bool Finite(double value) { return std::isfinite(value); }

}  // namespace

namespace is {
bool Filled(const Args& a, int p, std::string_view) { return upaf::Filled(a.text(p)); }
bool FilledSingleLine(const Args& a, int p, std::string_view) {
  return upaf::Filled(a.text(p)) && a.text(p).find_first_of("\r\n") == std::string_view::npos;
}
bool NotEmpty(const Args& a, int p, std::string_view) { return !a.text(p).empty(); }
bool Positive(const Args& a, int p, std::string_view) { return Finite(a.real(p)) && a.real(p) > 0; }
bool NotNegative(const Args& a, int p, std::string_view) {
  return Finite(a.real(p)) && a.real(p) >= 0;
}
bool AboveZero(const Args& a, int p, std::string_view) { return a.real(p) > 0; }
bool AtLeastZero(const Args& a, int p, std::string_view) { return a.real(p) >= 0; }
bool NotDayZero(const Args& a, int p, std::string_view) {
  return a.real(p) != 0 && !std::isnan(a.real(p));
}
bool OneOf(const Args& a, int p, std::string_view accepted) {
  return accepted.find(a.character(p)) != std::string_view::npos;
}
}  // namespace is

}  // namespace quorix::upaf
