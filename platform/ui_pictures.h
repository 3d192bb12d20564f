// The windows' small pictures (16 x 16) as pixel maps, so that no image file
// is needed; each system turns them into its own icons.
#pragma once

#include <cstdint>

namespace qarvex::platform::pictures {

constexpr int kSize = 16;
using PixelMap = const char* const[kSize];

// '.' is transparent; other characters pick a colour (0xRRGGBB).
constexpr bool IsTransparent(char c) { return c == '.'; }
constexpr std::uint32_t ColourOf(char c) {
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

inline constexpr PixelMap kPrinter = {
    "................", "....kkkkkkkk....", "....kwwwwwwk....", "....kwkkkkwk....",
    "....kwwwwwwk....", "..kkkkkkkkkkkk..", ".kllllllllllllk.", ".kggggggggggGGk.",
    ".kggggggggggggk.", ".kggggggggggggk.", ".kkkkkkkkkkkkkk.", "...kwwwwwwwwk...",
    "...kwkkkkkkwk...", "...kwwwwwwwwk...", "...kkkkkkkkkk...", "................"};

inline constexpr PixelMap kSheetOfPaper = {
    "..kkkkkkkkk.....", "..kwwwwwwwkk....", "..kwwwwwwwklk...", "..kwkkkkwwkkkk..",
    "..kwwwwwwwwwwk..", "..kwkkkkkkkkwk..", "..kwwwwwwwwwwk..", "..kwkkkkkkkkwk..",
    "..kwwwwwwwwwwk..", "..kwkkkkkkkkwk..", "..kwwwwwwwwwwk..", "..kwkkkkkkwwwk..",
    "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kkkkkkkkkkkk..", "................"};

// A yellow folder with a green arrow.
inline constexpr PixelMap kFolderWithArrow = {
    "................", "................", ".kkkkk..........", "kyyyyyk.........",
    "kyyyyyykkkkkkk..", "kyyyyyyyyyyyyk..", "kyyyyyyyyyGyyk..", "kyyyyyyyyyGGyk..",
    "kyyGGGGGGGGGGk..", "kyyGGGGGGGGGGGk.", "kyyGyyyyyyGGyk..", "kyyGyyyyyyGyyk..",
    "koooooooooooook.", "kkkkkkkkkkkkkk..", "................", "................"};

}  // namespace qarvex::platform::pictures
