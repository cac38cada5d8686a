#include "exports/host_lists.h"

#include "UConst/failure.h"
#include "UConst/messages.h"
#include "exports/boundary.h"

namespace quorix::boundary {
namespace {

// Owns the message text a host function may hand back.
struct HostError {
  char* text = nullptr;
  ~HostError() { Release(text); }
  std::string_view view() const {
    const int32_t n = quorix_text_length(text);
    return n > 0 ? std::string_view(text, static_cast<size_t>(n)) : std::string_view();
  }
};

[[noreturn]] void RaiseHostFailure(const HostError& error, std::string_view ours,
                                   std::string_view entry) {
  if (!error.view().empty()) throw Failure(error.view());
  std::string text(ours);
  text += entry;
  throw Failure(text);
}

}  // namespace

TextArgArray::TextArgArray(const quorix_text* first, int32_t lastIndex) {
  if (lastIndex < 0) return;
  if (!first) {
    std::string text(msg::kInvalidHostList);
    text += std::to_string(lastIndex);
    throw Failure(text);
  }
  const size_t count = static_cast<size_t>(lastIndex) + 1;
  texts_.reserve(count);
  views_.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    AddRef(first[i]);
    texts_.push_back(first[i]);
    const int32_t n = quorix_text_length(first[i]);
    views_.emplace_back(n > 0 ? std::string_view(first[i], static_cast<size_t>(n))
                              : std::string_view());
  }
}

TextArgArray::~TextArgArray() {
  for (quorix_text t : texts_) Release(t);
}

void FillHostList(const quorix_string_list* list, const std::vector<std::string>& entries) {
  if (!list) return;
  if (!list->clear || !list->append) throw Failure(msg::kHostListIncomplete);
  {
    HostError error;
    if (!list->clear(list->context, &error.text))
      RaiseHostFailure(error, msg::kHostListClearFailed, {});
  }
  for (const std::string& entry : entries) {
    char* text = nullptr;
    StoreText(&text, entry);
    HostError error;
    const quorix_bool ok = list->append(list->context, text, &error.text);
    Release(text);
    if (!ok) RaiseHostFailure(error, msg::kHostListAppendFailed, entry);
  }
}

}  // namespace quorix::boundary
