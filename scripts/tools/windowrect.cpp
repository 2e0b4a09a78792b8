// Screenshot helper, run under Wine: waits up to ten seconds for a visible top-level window whose
// title is the argument (or, when the argument ends in '*', starts with what comes before it) and
// prints its outer rectangle on the (virtual) desktop and the top left corner of its client area, as
// "left top width height clientLeft clientTop". Inside Wine's virtual desktop the windows are no X
// windows of their own, so X tools cannot find them.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

struct TSearch {
  const char* Title;
  HWND Found;
};

// A visible window of the title with an area: the program's zero-sized application window bears the
// main window's title too.
BOOL CALLBACK Match(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TSearch*>(data);
  char title[256] = "";
  GetWindowTextA(window, title, sizeof(title));
  RECT r;
  GetWindowRect(window, &r);
  const size_t length = std::strlen(search->Title);
  const bool prefix = length > 0 && search->Title[length - 1] == '*';
  const bool same =
      prefix ? std::strncmp(title, search->Title, length - 1) == 0 : std::strcmp(title, search->Title) == 0;
  if (!same || !IsWindowVisible(window) || r.right - r.left < 10) return TRUE;
  search->Found = window;
  return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: windowrect <title>\n", stderr);
    return 2;
  }
  // Coordinates in pixels at any DPI, not scaled for an older program.
  SetProcessDPIAware();
  for (int round = 0; round < 100; ++round) {
    TSearch search{argv[1], nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    if (HWND window = search.Found) {
      RECT r;
      GetWindowRect(window, &r);
      POINT client{0, 0};
      ClientToScreen(window, &client);
      std::printf("%ld %ld %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top, client.x,
                  client.y);
      return 0;
    }
    Sleep(100);
  }
  std::fprintf(stderr, "the window \"%s\" did not appear\n", argv[1]);
  return 1;
}
