// The program icon at every size that Windows shows it: an image of its own, drawn from the art.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "resources/resource_ids.h"
#include "toolkit/Handles.h"

namespace {

using TIcon = runtime::TUniqueHandle<HICON, DestroyIcon>;

// The resource's data, or nullptr.
const BYTE* ResourceData(LPCWSTR name, LPCWSTR type) {
  const HRSRC found = FindResourceW(GetModuleHandleW(nullptr), name, type);
  return found ? static_cast<const BYTE*>(LockResource(LoadResource(GetModuleHandleW(nullptr), found)))
               : nullptr;
}

}  // namespace

// Windows picks for each size the image of exactly that size, a 32-bit PNG; drawn, the icon shows the
// art there: the floppy's black body opaque, the corner and the hub's hole transparent.
TEST(ProgramIcon, EachSizeIsAnImageOfItsOwnDrawnFromTheArt) {
  const BYTE* group = ResourceData(RES_MAIN_ICON, RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  for (const int size : {16, 20, 24, 32, 40, 48, 64, 256}) {
    const int id = LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group), TRUE, size, size, LR_DEFAULTCOLOR);
    const BYTE* image = ResourceData(MAKEINTRESOURCEW(id), RT_ICON);
    ASSERT_NE(image, nullptr) << size;
    ASSERT_EQ(std::memcmp(image, "\x89PNG", 4), 0) << size;
    // IHDR: width and height (big-endian), bit depth 8, colour type 6 (RGBA).
    EXPECT_EQ((image[18] << 8 | image[19]) * 0x10000 + (image[22] << 8 | image[23]), size * 0x10001) << size;
    EXPECT_EQ(image[24] * 0x100 + image[25], 0x0806) << size;

    const TIcon icon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), RES_MAIN_ICON, IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    ASSERT_NE(icon.Get(), nullptr) << size;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const toolkit::TBitmap canvas(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const toolkit::TMemoryDC dc(CreateCompatibleDC(nullptr));
    const toolkit::TSelectObject selected(dc.Get(), canvas.Get());
    RECT all{0, 0, size, size};
    FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(dc.Get(), 0, 0, icon.Get(), size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    const auto pixel = [&](double artX, double artY) {
      const int x = static_cast<int>(artX * size / 32), y = static_cast<int>(artY * size / 32);
      return static_cast<const DWORD*>(bits)[y * size + x] & 0xFFFFFF;
    };
    EXPECT_EQ(pixel(0, 0), 0xFFFFFFu) << size;      // the transparent corner
    EXPECT_EQ(pixel(5.5, 11.5), 0u) << size;        // the black body
    EXPECT_EQ(pixel(16, 16.5), 0xFFFFFFu) << size;  // the hub's hole
  }
}
