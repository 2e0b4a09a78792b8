// The free texts of the about dialog's info pages: fifteen paragraphs of a note from the program's
// author to the reader, one page each.
#pragma once

#include "runtime/StringList.h"

namespace about {

// The host name that the home-page paragraph names; its page opens the home page when clicked.
inline constexpr wchar_t kHomePageHost[] = L"www.quelix.de";

class TInfoAdds : public runtime::TWideStringList {
 public:
  // Fills the list with the fifteen paragraphs, in order; line breaks are single CRs.
  TInfoAdds();
};

// The program-wide list, made before the main window and freed at the end of the program; the
// dialogs only read it.
extern const TInfoAdds InfoAdds;

}  // namespace about
