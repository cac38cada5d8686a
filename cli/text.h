// Texts at the program's edge are UTF-8; the library's are Windows-1252.
#ifndef QUORIX_CLI_TEXT_H
#define QUORIX_CLI_TEXT_H

#include <string>
#include <string_view>

namespace quorix::cli {

// Windows-1252 bytes as UTF-8. Every byte has a character: the five bytes
// that Windows-1252 leaves undefined map to the control characters of the
// same number, as Windows itself maps them, so nothing is ever lost.
std::string Utf8FromCp1252(std::string_view cp1252);

// UTF-8 as Windows-1252. A character Windows-1252 cannot hold, or bytes that
// are not UTF-8, are refused with a Failure naming `what` and the character;
// nothing is ever replaced.
std::string Cp1252FromUtf8(std::string_view utf8, std::string_view what);

// "U+00E3" and the like.
std::string CodePointName(char32_t c);

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t c);

// Decodes one UTF-8 character at `at`; returns its length, or 0 when the
// bytes there are not UTF-8 (overlong forms and surrogates included).
size_t DecodeUtf8(std::string_view utf8, size_t at, char32_t& c);

// `s` with blanks after it up to `columns` characters (not bytes).
std::string PaddedTo(std::string s, size_t columns);

}  // namespace quorix::cli

#endif
