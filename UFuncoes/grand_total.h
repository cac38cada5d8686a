// The ECF grand-total register: one scrambled section per ECF serial number
// holding the key "TOTALIZADOR GERAL", its value a number in the general
// format with the regional decimal separator.
#pragma once

#include <string>
#include <string_view>

namespace quorix::store {

inline constexpr std::string_view kGrandTotalKey = "TOTALIZADOR GERAL";

// The general number format: up to 15 significant digits, fixed notation for
// decimal exponents from -3 to 15 (0.d1d2... x 10^e), exponent notation
// ("1,5E-7", "1E15") otherwise; no thousands separator, no trailing zeros.
// A value that is not a finite number raises a Failure.
std::string GeneralNumberFormat(double value, char decimalSeparator);

// Blanks around, an optional sign, digits with at most one decimal
// separator, an optional exponent ("E" or "e", optional sign, digits). False
// for any other text and for a value beyond the range of a double.
bool ParseGeneralNumber(std::string_view text, char decimalSeparator, double& value);

// Both false with the last error message set. GetGrandTotal writes *grandTotal
// once the file and the serial number passed their checks: the value read, or
// 0.0 after a failure.
bool UpdateGrandTotal(std::string_view serialNumber, double grandTotal,
                      std::string_view iniFileName);
bool GetGrandTotal(std::string_view serialNumber, double* grandTotal, std::string_view iniFileName);

}  // namespace quorix::store
