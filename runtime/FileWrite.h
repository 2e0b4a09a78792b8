// Writing a whole file so that it is either the new bytes or left as it was.
#pragma once

#include <string>
#include <string_view>

namespace runtime {

// Writes the bytes to a new file beside path, flushes it, then puts it in path's place in one
// step. On any failure the new file is removed, path keeps what it held and ESystemError says what
// failed and why.
void WriteFileReplacing(const std::wstring& path, std::string_view bytes);

}  // namespace runtime
