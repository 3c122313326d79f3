// Reading and writing pictures: PNG (read and write) and uncompressed 24/32-bit BMP (read).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/Exceptions.h"

namespace gfx {

// A picture file that cannot be read or written; the message names the file and the problem.
class EInvalidGraphic : public base::Exception {
  public:
    using base::Exception::Exception;
};

// Pixels as colour references (red in the low byte), rows from the top.
struct TImageData {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint32_t> Pixels;
};

// Reads a PNG or BMP file, chosen by its first bytes. Transparent PNG pixels are composed
// over white.
TImageData ReadImageFile(const std::string& path);
TImageData ReadPng(const std::string& path);
TImageData ReadBmp(const std::string& path);
// Writes 8-bit RGB PNG.
void WritePng(const std::string& path, const TImageData& image);

}  // namespace gfx
