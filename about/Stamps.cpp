#include "about/Stamps.h"

#include "runtime/Text.h"
#include "toolkit/Application.h"

namespace about {

namespace {
// GetDateFormatA and GetTimeFormatA share this signature.
std::string LocaleText(decltype(&GetDateFormatA) format, DWORD flags, const SYSTEMTIME& moment) {
  char text[128] = "";
  if (!format(LOCALE_USER_DEFAULT, flags, &moment, nullptr, text, sizeof(text))) return "";
  return text;
}
}  // namespace

std::optional<DWORD> FileDosDateTime(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(runtime::LongPathForm(path).c_str(), GetFileExInfoStandard, &data))
    return std::nullopt;
  FILETIME local;
  WORD date = 0, time = 0;
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToDosDateTime(&local, &date, &time))
    return std::nullopt;
  return static_cast<DWORD>(date) << 16 | time;
}

std::string TimeStampText(DWORD dosDateTime, TTimeStampDisplayType display) {
  if (display == dtNumber) return std::to_string(static_cast<std::int32_t>(dosDateTime));
  FILETIME file;
  SYSTEMTIME moment;
  if (!DosDateTimeToFileTime(HIWORD(dosDateTime), LOWORD(dosDateTime), &file) ||
      !FileTimeToSystemTime(&file, &moment))
    return "";
  return LocaleText(GetDateFormatA, DATE_SHORTDATE, moment) + " " + LocaleText(GetTimeFormatA, 0, moment);
}

TTimeStamp::TTimeStamp(toolkit::TLabelSettings settings) : toolkit::TLabel(std::move(settings)) {
  SetDisplay(dtString);
}

void TTimeStamp::SetDisplay(TTimeStampDisplayType display) {
  display_ = display;
  const std::optional<DWORD> stamp = FileDosDateTime(toolkit::Application().ExeName());
  SetCaption(stamp ? TimeStampText(*stamp, display) : std::string());
}

}  // namespace about
