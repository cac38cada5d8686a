// The look of the program's HTML pages (show --html, layouts --html): one
// style sheet, one palette, one escaping.
#ifndef QUORIX_CLI_HTML_H
#define QUORIX_CLI_HTML_H

#include <cstddef>
#include <string>
#include <string_view>

namespace quorix::cli::html {

// Text and attribute values: & < > " escaped.
std::string Escaped(std::string_view utf8);

// The page up to and including <body>, titled `title` (escaped here).
std::string PageStart(std::string_view title);
inline constexpr char kPageEnd[] = "</body></html>\n";

// One colour per field of a line, the same for the same field of every line
// of a kind; neighbours always differ.
const char* FieldColour(size_t field);

}  // namespace quorix::cli::html

#endif
