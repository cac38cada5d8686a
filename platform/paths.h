// How the platform's paths are put together: the folder separator and the
// folder a file goes to when the host names none.
#pragma once

#include <string_view>

namespace quorix::platform {

#if defined(_WIN32)
inline constexpr char kFolderSeparator = '\\';
inline constexpr std::string_view kDefaultFolder = "c:\\";
#else
inline constexpr char kFolderSeparator = '/';
inline constexpr std::string_view kDefaultFolder = "./";
#endif

}  // namespace quorix::platform
