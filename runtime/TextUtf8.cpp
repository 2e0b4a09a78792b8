// The UTF-8 conversions of runtime/Text.h, apart: only the console report needs them, and the
// linker takes a file's functions together.
#include <windows.h>

#include "runtime/Text.h"

namespace runtime {

std::string Utf8FromWide(std::wstring_view text) {
  return BytesFromWide(CP_UTF8, 0, nullptr, text);
}

std::wstring WideFromUtf8(std::string_view text) {
  return WideFromCodePage(CP_UTF8, text);
}

}  // namespace runtime
