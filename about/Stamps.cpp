#include "about/Stamps.h"

#include "runtime/Text.h"
#include "toolkit/Application.h"

namespace about {

namespace {
// GetDateFormatW and GetTimeFormatW share this signature.
std::wstring LocaleText(decltype(&GetDateFormatW) format, DWORD flags, const SYSTEMTIME& moment) {
  wchar_t text[128] = L"";
  if (!format(LOCALE_USER_DEFAULT, flags, &moment, nullptr, text, 128)) return L"";
  return text;
}
}  // namespace

std::optional<DWORD> FileDosDateTime(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(runtime::LongPathForm(path).c_str(), GetFileExInfoStandard, &data))
    return std::nullopt;
  FILETIME local;
  WORD date{}, time{};
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToDosDateTime(&local, &date, &time))
    return std::nullopt;
  return static_cast<DWORD>(date) << 16 | time;
}

std::wstring TimeStampText(DWORD dosDateTime, TTimeStampDisplayType display) {
  if (display == dtNumber) return runtime::DecimalText(static_cast<std::int32_t>(dosDateTime));
  FILETIME file;
  SYSTEMTIME moment;
  if (!DosDateTimeToFileTime(HIWORD(dosDateTime), LOWORD(dosDateTime), &file) ||
      !FileTimeToSystemTime(&file, &moment))
    return L"";
  return LocaleText(GetDateFormatW, DATE_SHORTDATE, moment) + L" " + LocaleText(GetTimeFormatW, 0, moment);
}

TTimeStamp::TTimeStamp(toolkit::TLabelSettings settings) : toolkit::TLabel(std::move(settings)) {
  SetDisplay(dtString);
}

void TTimeStamp::SetDisplay(TTimeStampDisplayType display) {
  display_ = display;
  const std::optional<DWORD> stamp = FileDosDateTime(toolkit::Application().ExeName());
  SetCaption(stamp ? TimeStampText(*stamp, display) : std::wstring());
}

}  // namespace about
