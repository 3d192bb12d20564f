// A minimal PNG writer for the screenshots of the Windows window tests
// (uncompressed deflate blocks: large files, no library needed under wine).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qarvex::testing {

// `rgb`: width * height pixels, three bytes each, rows top to bottom.
bool WritePng(const std::wstring& path, int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace qarvex::testing
