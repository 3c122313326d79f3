// Picture files through libpng, and a small reader for uncompressed BMP files.
#include "gfx/ImageFiles.h"

#include <png.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "base/OutputFile.h"
#include "gfx/Colors.h"

namespace gfx {

namespace {

constexpr size_t kBmpFileHeaderSize = 14;
constexpr size_t kBmpInfoHeaderMinSize = 40;
constexpr uint32_t kBmpUncompressed = 0;
constexpr uint32_t kBmpBitFields = 3;
// Largest side accepted from a file, pixels; guards against absurd headers.
constexpr int64_t kMaxImageSide = 1 << 15;

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw EInvalidGraphic("Cannot open file \"" + path + "\"");
    }
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

uint32_t Le32(const std::vector<uint8_t>& data, size_t offset) {
    return static_cast<uint32_t>(data[offset]) | (static_cast<uint32_t>(data[offset + 1]) << 8) |
           (static_cast<uint32_t>(data[offset + 2]) << 16) |
           (static_cast<uint32_t>(data[offset + 3]) << 24);
}

uint16_t Le16(const std::vector<uint8_t>& data, size_t offset) {
    return static_cast<uint16_t>(data[offset] | (data[offset + 1] << 8));
}

}  // namespace

TImageData ReadImageFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw EInvalidGraphic("Cannot open file \"" + path + "\"");
    }
    char signature[2] = {0, 0};
    file.read(signature, 2);
    if (signature[0] == 'B' && signature[1] == 'M') {
        return ReadBmp(path);
    }
    return ReadPng(path);
}

TImageData ReadPng(const std::string& path) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        throw EInvalidGraphic("Cannot read PNG image \"" + path + "\": " + image.message);
    }
    if (image.width > kMaxImageSide || image.height > kMaxImageSide) {
        png_image_free(&image);
        throw EInvalidGraphic("PNG image \"" + path + "\" is too large");
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    png_color white = {255, 255, 255};
    if (png_image_finish_read(&image, &white, rgb.data(), 0, nullptr) == 0) {
        throw EInvalidGraphic("Cannot read PNG image \"" + path + "\": " + image.message);
    }
    TImageData result;
    result.Width = static_cast<int32_t>(image.width);
    result.Height = static_cast<int32_t>(image.height);
    result.Pixels.resize(static_cast<size_t>(result.Width) * static_cast<size_t>(result.Height));
    for (size_t i = 0; i < result.Pixels.size(); ++i) {
        result.Pixels[i] = RGB(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    }
    return result;
}

TImageData ReadBmp(const std::string& path) {
    std::vector<uint8_t> data = ReadAll(path);
    auto invalid = [&](const std::string& why) {
        return EInvalidGraphic("Bitmap image \"" + path + "\" is not valid: " + why);
    };
    if (data.size() < kBmpFileHeaderSize + kBmpInfoHeaderMinSize || data[0] != 'B' ||
        data[1] != 'M') {
        throw invalid("no bitmap header");
    }
    uint32_t pixelOffset = Le32(data, 10);
    uint32_t headerSize = Le32(data, 14);
    if (headerSize < kBmpInfoHeaderMinSize) {
        throw invalid("unsupported header of " + std::to_string(headerSize) + " bytes");
    }
    auto width = static_cast<int32_t>(Le32(data, 18));
    auto height = static_cast<int32_t>(Le32(data, 22));
    uint16_t bitsPerPixel = Le16(data, 28);
    uint32_t compression = Le32(data, 30);
    if (bitsPerPixel != 24 && bitsPerPixel != 32) {
        throw invalid("unsupported " + std::to_string(bitsPerPixel) + " bits per pixel");
    }
    if (compression != kBmpUncompressed && !(compression == kBmpBitFields && bitsPerPixel == 32)) {
        throw invalid("compressed bitmaps are not supported");
    }
    bool topDown = height < 0;
    int64_t rows = topDown ? -static_cast<int64_t>(height) : height;
    if (width <= 0 || rows == 0 || width > kMaxImageSide || rows > kMaxImageSide) {
        throw invalid("bad size " + std::to_string(width) + " x " + std::to_string(rows));
    }
    size_t bytesPerPixel = bitsPerPixel / 8u;
    size_t stride = (static_cast<size_t>(width) * bytesPerPixel + 3) & ~size_t{3};
    if (pixelOffset > data.size() ||
        data.size() - pixelOffset < stride * static_cast<size_t>(rows)) {
        throw invalid("the pixel data is truncated");
    }
    TImageData result;
    result.Width = width;
    result.Height = static_cast<int32_t>(rows);
    result.Pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(rows));
    for (int64_t y = 0; y < rows; ++y) {
        int64_t fileRow = topDown ? y : rows - 1 - y;
        const uint8_t* src = data.data() + pixelOffset + static_cast<size_t>(fileRow) * stride;
        uint32_t* dst = result.Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t* p = src + static_cast<size_t>(x) * bytesPerPixel;
            dst[x] = RGB(p[2], p[1], p[0]);  // stored blue, green, red
        }
    }
    return result;
}

void WritePng(const std::string& path, const TImageData& image) {
    if (image.Width <= 0 || image.Height <= 0 ||
        image.Pixels.size() !=
            static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height)) {
        throw EInvalidGraphic("Cannot write an empty image to \"" + path + "\"");
    }
    std::vector<uint8_t> rgb(image.Pixels.size() * 3);
    for (size_t i = 0; i < image.Pixels.size(); ++i) {
        rgb[3 * i] = GetRValue(image.Pixels[i]);
        rgb[3 * i + 1] = GetGValue(image.Pixels[i]);
        rgb[3 * i + 2] = GetBValue(image.Pixels[i]);
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.Width);
    png.height = static_cast<png_uint_32>(image.Height);
    png.format = PNG_FORMAT_RGB;
    // Encoded in memory first (asking for the size, then filling it), so that only complete
    // files are written and a failure never removes what stood at the path.
    png_alloc_size_t size = 0;
    std::vector<uint8_t> encoded;
    if (png_image_write_to_memory(&png, nullptr, &size, 0, rgb.data(), 0, nullptr) != 0) {
        encoded.resize(size);
        if (png_image_write_to_memory(&png, encoded.data(), &size, 0, rgb.data(), 0, nullptr) ==
            0) {
            encoded.clear();
        }
    }
    if (encoded.empty()) {
        throw EInvalidGraphic("Cannot write PNG image \"" + path + "\": " + png.message);
    }
    try {
        base::TOutputFile file(path, "PNG image");
        file.Write(encoded.data(), size);
        file.Commit();
    } catch (const base::Exception& e) {
        throw EInvalidGraphic(e.Message());
    }
}

}  // namespace gfx
