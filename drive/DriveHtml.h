// Drive tables as HTML whose cells carry their types, so that a spreadsheet keeps a serial such as
// "00012345" or a label such as "=1+1" as text and reads byte counts and the percentage as numbers
// in any locale: Calc reads sdval/sdnum, Excel x:num/x:str and mso-number-format. (Calc turns a tab
// in a text into a space and collapses runs of spaces, as HTML does.)
#pragma once

#include <string>

#include "drive/DriveExport.h"

namespace drive {

// The table as one <table> element, UTF-8.
std::string HtmlTable(const TExportTable& table);

// A small self-contained German document (lang="de", UTF-8) with the title and the table.
std::string HtmlDocument(const TExportTable& table, const std::wstring& title);

}  // namespace drive
