// Faults the harnesses found that are not fixed yet. Each one is tolerated by
// name, as narrowly as it shows, so that every run stays a check of all the
// rest; the commit that fixes a fault sets its flag to false (and then drops
// it), and its reproducer under fuzz/crashes/<harness>/ stays as a seed.
#pragma once

namespace fuzz::open_faults {

// records_fuzzer, crashes/records_fuzzer/shifted-reduction-z: a Reduction Z
// list whose record type carries one blank ("R02 ", which the type check
// passes, as it trims) and whose ISSQN flag is empty has the right length:
// it is accepted with every field after the type one place off.
inline constexpr bool kBlankTypeShiftsReductionZList = true;

// ini_engine_fuzzer, crashes/ini_engine_fuzzer/empty-section-header: a
// section header with an empty name ("[]") is not written back when the
// POSIX INI engine rewrites the file, so the keys below it move into the
// section before it: a write to any key changes what other keys read.
inline constexpr bool kEmptySectionHeaderDropped = true;

// side_files_fuzzer, crashes/side_files_fuzzer/huge-grand-total: a grand
// total of 1.797693134862315e308 or more in magnitude is stored as its 15
// significant digits, which stand for more than the largest double: the
// update succeeds and every later read of that ECF fails
// ("'1.79769313486232E308' is not a valid floating point value", with the
// regional decimal separator).
inline constexpr bool kHugeTotalUnreadable = true;

}  // namespace fuzz::open_faults
