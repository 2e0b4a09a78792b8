// The drive report: a string list whose rows read name "=" value.
#pragma once

#include <string>

#include "runtime/StringList.h"

namespace drive {

class TPairStringList : public runtime::TStringList {
 public:
  // The text before the row's first "=" (the whole row when it has none).
  std::string NameAt(int index) const;
  // The text after the row's first "=" (empty when it has none); it may itself hold "=".
  std::string ValueAt(int index) const;
};

}  // namespace drive
