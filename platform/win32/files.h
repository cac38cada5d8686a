// What the Windows file services share with the rest of the Windows porting
// code (the profile store).
#pragma once

#include <string>

#include "platform/files.h"

namespace quorix::platform {

// The wide form of a name in the system's form, read as Windows-1252 whatever
// the system's code page; a path too long for the plain functions is given
// in the "\\?\" form, which the wide functions take whole.
std::wstring WidePath(const std::string& path);
// Renames the file `from` over `to` (both in the system's form), as every
// replacement ends. On failure GetLastError says why; a target that another
// program holds open says ERROR_SHARING_VIOLATION, where the rename itself
// only says "access denied".
bool MoveOver(const std::string& from, const std::string& to);

}  // namespace quorix::platform
