#include "platform/windows/ui/pictures.h"

#include <cstdint>
#include <cstring>

namespace qarvex::platform::windows_ui {
namespace {

constexpr int kSize = 16;
using PixelMap = const char* const[kSize];

// '.' transparent; other characters pick a colour (0xRRGGBB).
std::uint32_t ColourOf(char c) {
  switch (c) {
    case 'k': return 0x202020;  // outline
    case 'g': return 0x909090;  // grey body
    case 'l': return 0xC8C8C8;  // light grey
    case 'w': return 0xFFFFFF;  // paper
    case 'y': return 0xF0C840;  // folder
    case 'o': return 0xB08820;  // folder shade
    case 'G': return 0x20A020;  // arrow
    default: return 0;
  }
}

PixelMap kPrinter = {
    "................", "....kkkkkkkk....", "....kwwwwwwk....", "....kwkkkkwk....",
    "....kwwwwwwk....", "..kkkkkkkkkkkk..", ".kllllllllllllk.", ".kggggggggggGGk.",
    ".kggggggggggggk.", ".kggggggggggggk.", ".kkkkkkkkkkkkkk.", "...kwwwwwwwwk...",
    "...kwkkkkkkwk...", "...kwwwwwwwwk...", "...kkkkkkkkkk...", "................"};

PixelMap kSheet = {
    "..kkkkkkkkk.....", "..kwwwwwwwkk....", "..kwwwwwwwklk...", "..kwkkkkwwkkkk..",
    "..kwwwwwwwwwwk..", "..kwkkkkkkkkwk..", "..kwwwwwwwwwwk..", "..kwkkkkkkkkwk..",
    "..kwwwwwwwwwwk..", "..kwkkkkkkkkwk..", "..kwwwwwwwwwwk..", "..kwkkkkkkwwwk..",
    "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kkkkkkkkkkkk..", "................"};

PixelMap kFolder = {
    "................", "................", ".kkkkk..........", "kyyyyyk.........",
    "kyyyyyykkkkkkk..", "kyyyyyyyyyyyyk..", "kyyyyyyyyyGyyk..", "kyyyyyyyyyGGyk..",
    "kyyGGGGGGGGGGk..", "kyyGGGGGGGGGGGk.", "kyyGyyyyyyGGyk..", "kyyGyyyyyyGyyk..",
    "koooooooooooook.", "kkkkkkkkkkkkkk..", "................", "................"};

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
      if (c == '.') {
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

HICON PrinterIcon() { return IconOf(kPrinter); }
HICON SheetOfPaperIcon() { return IconOf(kSheet); }
HICON FolderWithArrowIcon() { return IconOf(kFolder); }

}  // namespace qarvex::platform::windows_ui
