#include "platform/windows/ui/pictures.h"

#include <cstdint>
#include <cstring>

#include "platform/ui_pictures.h"

namespace qarvex::platform::windows_ui {
namespace {

using pictures::ColourOf;
using pictures::kSize;
using pictures::PixelMap;

HICON IconOf(PixelMap map) {
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof header;
  header.bV5Width = kSize;
  header.bV5Height = -kSize;  // top-down rows
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  HDC screen = ::GetDC(nullptr);
  HBITMAP colour = ::CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits,
                                      nullptr, 0);
  ::ReleaseDC(nullptr, screen);
  if (colour == nullptr) return nullptr;
  // Monochrome mask rows are WORD-aligned: two bytes for 16 pixels; 1 = transparent.
  std::uint8_t mask[kSize * 2];
  std::memset(mask, 0, sizeof mask);
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const char c = map[y][x];
      if (pictures::IsTransparent(c)) {
        pixels[y * kSize + x] = 0;
        mask[y * 2 + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      } else {
        pixels[y * kSize + x] = 0xFF000000u | ColourOf(c);
      }
    }
  }
  HBITMAP monochrome = ::CreateBitmap(kSize, kSize, 1, 1, mask);
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = colour;
  info.hbmMask = monochrome;
  HICON icon = monochrome ? ::CreateIconIndirect(&info) : nullptr;
  ::DeleteObject(colour);
  if (monochrome) ::DeleteObject(monochrome);
  return icon;
}

}  // namespace

HICON PrinterIcon() { return IconOf(pictures::kPrinter); }
HICON SheetOfPaperIcon() { return IconOf(pictures::kSheetOfPaper); }
HICON FolderWithArrowIcon() { return IconOf(pictures::kFolderWithArrow); }

}  // namespace qarvex::platform::windows_ui
