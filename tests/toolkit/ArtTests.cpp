// The pictures as drawn for each display scaling: which drawing a DPI takes, and each picture at
// every size it is drawn for.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "resources/resource_ids.h"
#include "toolkit/Art.h"
#include "toolkit/Dpi.h"
#include "toolkit/Handles.h"

using toolkit::TArtScale;

TEST(Art, EachScaleTakesTheLargestDrawingThatFitsAWholeNumberOfTimes) {
  const struct {
    int dpi;
    TArtScale scale;
  } cases[] = {
      {72, {100, 1}},  {96, {100, 1}},  {119, {100, 1}}, {120, {125, 1}}, {143, {125, 1}},
      {144, {150, 1}}, {168, {150, 1}}, {192, {100, 2}}, {240, {125, 2}}, {288, {150, 2}},
  };
  for (const auto& c : cases) {
    const TArtScale scale = toolkit::ArtScaleFor(c.dpi);
    EXPECT_EQ(scale, c.scale) << c.dpi << " dpi: " << scale.Percent << " % x " << scale.Factor;
  }
}

// Every picture is drawn at 100, 125 and 150 %, each at the size its scale asks of the 100 % one
// (32 pixels become 40 and 48, 12 x 13 become 15 x 16 and 18 x 20), and twice that at 200 %.
TEST(Art, EveryPictureIsDrawnForEachScale) {
  const wchar_t* const names[] = {
      RES_DRIVE_REMOVABLE, RES_DRIVE_FIXED,     RES_DRIVE_RAMDISK, RES_DRIVE_REMOTE, RES_DRIVE_CDROM,
      RES_GLYPH_COPYINFO,  RES_GLYPH_COPYINFOS, RES_GLYPH_HELP,    RES_GLYPH_INFO,   RES_GLYPH_CLOSE,
      RES_GLYPH_OK,        L"SBLEFT",           L"SBLEFTDN",       L"SBLEFTDIS",     L"SBRIGHT",
      L"SBRIGHTDN",        L"SBRIGHTDIS"};
  const auto size = [](const toolkit::TBitmap& picture) {
    BITMAP info{};
    GetObjectW(picture.Get(), sizeof(info), &info);
    return SIZE{info.bmWidth, info.bmHeight};
  };
  for (const wchar_t* name : names) {
    const toolkit::TBitmap drawn = toolkit::LoadArt(name, 96);
    ASSERT_TRUE(drawn) << name;
    const SIZE base = size(drawn);
    for (const int dpi : {120, 144, 192}) {
      const toolkit::TBitmap scaled = toolkit::LoadArt(name, dpi);
      ASSERT_TRUE(scaled) << name << " at " << dpi;
      const SIZE s = size(scaled);
      // Glyph strips hold square images side by side: their width grows with their height.
      const int images = base.cx / std::min(base.cx, base.cy);
      EXPECT_EQ(s.cy, toolkit::Scale(base.cy, dpi)) << name << " at " << dpi;
      EXPECT_EQ(s.cx, images * toolkit::Scale(base.cx / images, dpi)) << name << " at " << dpi;
    }
  }
}

TEST(RepeatedBitmap, EachPixelBecomesABlockOfItsOwnColour) {
  // A 3 x 2 picture of six colours, each pixel repeated twice across and down.
  const COLORREF colours[2][3] = {{RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)},
                                  {RGB(255, 255, 0), RGB(0, 255, 255), RGB(255, 0, 255)}};
  toolkit::TBitmap picture(toolkit::CreateMemoryImage(3, 2));
  toolkit::TMemoryDC dc(CreateCompatibleDC(nullptr));
  {
    toolkit::TSelectObject selected(dc.Get(), picture.Get());
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) SetPixel(dc.Get(), x, y, colours[y][x]);
  }
  toolkit::TBitmap scaled(toolkit::RepeatedBitmap(picture.Get(), 2));
  BITMAP info{};
  ASSERT_TRUE(GetObjectW(scaled.Get(), sizeof(info), &info));
  EXPECT_EQ(info.bmWidth, 6);
  EXPECT_EQ(info.bmHeight, 4);
  toolkit::TSelectObject selected(dc.Get(), scaled.Get());
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(GetPixel(dc.Get(), x, y), colours[y / 2][x / 2]) << x << "," << y;
}
