#include "host.h"

#include <new>
#include <utility>
#include <vector>

#include "console.h"
#include "text.h"

namespace quorix::cli {

HostText::HostText(std::string_view bytes)
    : text_(quorix_text_new(bytes.data(), static_cast<int32_t>(bytes.size()))) {
  if (!text_ && !bytes.empty()) throw std::bad_alloc();
}

std::string ReceivedText::bytes() const {
  const int32_t n = quorix_text_length(text_);
  return n > 0 ? std::string(text_, static_cast<size_t>(n)) : std::string();
}

std::string LibraryMessage(std::initializer_list<const Path*> files) {
  ReceivedText text;
  quorix_GetMessageError(text.slot());
  const std::string raw = text.bytes();
  std::vector<std::pair<std::string, const std::string*>> names;
  for (const Path* file : files) {
    std::string bytes = file->ForLibrary();
    if (!bytes.empty()) names.emplace_back(std::move(bytes), &file->shown());
  }
  std::string out;
  size_t plainFrom = 0;
  const auto flushPlain = [&](size_t to) {
    out += Utf8FromCp1252(std::string_view(raw).substr(plainFrom, to - plainFrom));
  };
  for (size_t at = 0; at < raw.size();) {
    const std::pair<std::string, const std::string*>* found = nullptr;
    for (const auto& name : names)
      if (raw.compare(at, name.first.size(), name.first) == 0 &&
          (!found || name.first.size() > found->first.size()))
        found = &name;
    if (found) {
      flushPlain(at);
      out += *found->second;
      at += found->first.size();
      plainFrom = at;
    } else if (raw.compare(at, 2, "\r\n") == 0) {
      flushPlain(at);
      while (!out.empty() && out.back() == ' ') out.pop_back();
      out += '\n';
      at += 2;
      plainFrom = at;
    } else {
      ++at;
    }
  }
  flushPlain(raw.size());
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

void FailWithLibraryMessage(std::initializer_list<const Path*> files) {
  std::string message = LibraryMessage(files);
  if (message.empty()) message = "a biblioteca recusou a operação sem dar o motivo";
  throw Failure(kUsageError, message);
}

}  // namespace quorix::cli
