// The texts that the about dialog computes: free memory, processor clock, link targets and the
// parts of the configuration file's path. No window here.
#pragma once

#include <string>

namespace about {

// Free physical memory, the figure beside the memory-load gauge, in megabytes of 2^20 bytes, with
// two decimals and a point whatever the locale, followed by " Mb": 18 GB give "18432.00 Mb". (The
// free page file is no addend: on NT it already counts the free physical memory.)
std::wstring FreeMemoryText(unsigned long long availPhysBytes);

// The clock rate rounded to five significant digits and shown with two decimals and the given
// separator ("2793,50" for 2793.4567); more than five digits before the separator give the
// scientific form ("1,2346E+05"); a negative value gives "".
std::wstring ClockText(double mhz, const std::wstring& decimalSeparator);

// The caption of the clock figure shows only for a clock above 0.
inline bool ShowsClockCaption(double mhz) {
  return mhz > 0;
}

// The address a link caption stands for: the caption itself when it starts with "http://" in any
// letter case, otherwise "http://" in front of it.
std::wstring LinkAddress(const std::wstring& caption);

// "mailto:" + address + "?subject=" + title + ": Version " + version, unescaped.
std::wstring MailLink(const std::wstring& address, const std::wstring& title, const std::wstring& version);

// The home page of a host: "http://" + host + "/".
std::wstring HomePageAddress(const std::wstring& host);

// The path up to its last separator ("\", "/" or ":"); a drive root keeps its separator ("C:\").
// The file name is runtime::FileNamePart.
std::wstring FolderPart(const std::wstring& path);

}  // namespace about
