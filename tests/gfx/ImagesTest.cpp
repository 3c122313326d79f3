// Bitmaps, pictures and their files: PNG round trip, BMP reading, errors, block copies.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/ImageFiles.h"
#include "gfx/Picture.h"

namespace gfx {
namespace {

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("keyvet_gfx_" + name)).string();
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
    }
}

// A bottom-up 24-bit BMP of 3 x 2 pixels: rows padded to 12 bytes.
std::vector<uint8_t> SmallBmp() {
    std::vector<uint8_t> b(54 + 2 * 12, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(b.size()));
    Put32(b, 10, 54);
    Put32(b, 14, 40);
    Put32(b, 18, 3);
    Put32(b, 22, 2);
    b[26] = 1;
    b[28] = 24;
    // Bottom row (file row 0): blue, green, red as B,G,R triples.
    const uint8_t bottom[] = {255, 0, 0, 0, 255, 0, 0, 0, 255};
    const uint8_t top[] = {0, 0, 0, 255, 255, 255, 10, 20, 30};
    std::copy(std::begin(bottom), std::end(bottom), b.begin() + 54);
    std::copy(std::begin(top), std::end(top), b.begin() + 54 + 12);
    return b;
}

TEST(ImagesTest, PngRoundTripKeepsEveryPixel) {
    TBitmap bitmap(5, 4);
    bitmap.Canvas().SetPixel(0, 0, clRed);
    bitmap.Canvas().SetPixel(4, 3, RGB(1, 2, 3));
    bitmap.Canvas().SetPixel(2, 1, clBtnShadow);
    std::string path = TempPath("roundtrip.png");
    bitmap.SaveToFile(path);
    TBitmap loaded;
    loaded.LoadFromFile(path);
    EXPECT_EQ(loaded.Width(), 5);
    EXPECT_EQ(loaded.Height(), 4);
    EXPECT_EQ(loaded.Pixels(), bitmap.Pixels());
    std::remove(path.c_str());
}

TEST(ImagesTest, PngIsWrittenBesideAndRenamedSoAFailedWriteLeavesNothing) {
    TBitmap bitmap(2, 2);
    const std::string path = TempPath("renamed.png");
    bitmap.SaveToFile(path);
    std::ifstream temporary(path + ".tmp");
    EXPECT_FALSE(temporary.good());
    std::remove(path.c_str());
    const std::string missing = TempPath("no-such-folder/out.png");
    EXPECT_THROW(bitmap.SaveToFile(missing), EInvalidGraphic);
    std::ifstream written(missing);
    EXPECT_FALSE(written.good());
}

TEST(ImagesTest, BmpRowsAreReadBottomUpWithBlueFirst) {
    std::string path = TempPath("small.bmp");
    WriteBytes(path, SmallBmp());
    TImageData image = ReadImageFile(path);
    ASSERT_EQ(image.Width, 3);
    ASSERT_EQ(image.Height, 2);
    EXPECT_EQ(image.Pixels[0], clBlack);
    EXPECT_EQ(image.Pixels[1], clWhite);
    EXPECT_EQ(image.Pixels[2], RGB(30, 20, 10));
    EXPECT_EQ(image.Pixels[3], clBlue);
    EXPECT_EQ(image.Pixels[4], clLime);
    EXPECT_EQ(image.Pixels[5], clRed);
    std::remove(path.c_str());
}

TEST(ImagesTest, BadFilesRaiseClearErrors) {
    EXPECT_THROW(ReadImageFile(TempPath("missing.png")), EInvalidGraphic);
    std::string path = TempPath("truncated.bmp");
    std::vector<uint8_t> bytes = SmallBmp();
    bytes.resize(60);
    WriteBytes(path, bytes);
    try {
        ReadBmp(path);
        FAIL() << "no exception";
    } catch (const EInvalidGraphic& e) {
        EXPECT_NE(e.Message().find("truncated"), std::string::npos) << e.Message();
    }
    bytes = SmallBmp();
    bytes[28] = 8;
    WriteBytes(path, bytes);
    EXPECT_THROW(ReadBmp(path), EInvalidGraphic);
    WriteBytes(path, {'x', 'y', 'z'});
    EXPECT_THROW(ReadImageFile(path), EInvalidGraphic);
    std::remove(path.c_str());
}

TEST(ImagesTest, BitmapResizeKeepsOldPixelsAndRejectsBadSizes) {
    TBitmap bitmap(2, 2);
    bitmap.Canvas().SetPixel(1, 1, clRed);
    bitmap.SetSize(3, 3);
    EXPECT_EQ(bitmap.Canvas().Pixel(1, 1), clRed);
    EXPECT_EQ(bitmap.Canvas().Pixel(2, 2), clWhite);
    EXPECT_EQ(bitmap.Canvas().Pixel(3, 0), kInvalidColor);
    EXPECT_THROW(bitmap.SetSize(-1, 5), EInvalidGraphic);
    EXPECT_THROW(bitmap.SetSize(100000, 100000), EInvalidGraphic);
    EXPECT_EQ(bitmap.Width(), 3);
}

TEST(ImagesTest, MonochromeBitmapsHoldOnlyBlackAndWhite) {
    TBitmap bitmap(2, 1);
    bitmap.SetMonochrome(true);
    EXPECT_EQ(bitmap.Canvas().SetPixel(0, 0, clSilver), clWhite);
    EXPECT_EQ(bitmap.Canvas().SetPixel(1, 0, clNavy), clBlack);
}

TEST(ImagesTest, DrawingIntoABitmapFiresItsChangeEvent) {
    TBitmap bitmap(4, 4);
    int changes = 0;
    bitmap.SetOnChange([&] { ++changes; });
    bitmap.Canvas().MoveTo(0, 0);
    bitmap.Canvas().LineTo(3, 3);
    EXPECT_EQ(changes, 1);
    bitmap.Canvas().SetOnChange(nullptr);  // detached: drawing no longer notifies
    bitmap.Canvas().LineTo(0, 3);
    EXPECT_EQ(changes, 1);
}

TEST(ImagesTest, OverlappingBlockCopyWithinOneBitmapWorks) {
    TBitmap bitmap(6, 1);
    for (int32_t x = 0; x < 6; ++x) {
        bitmap.Canvas().SetPixel(x, 0, RGB(static_cast<uint8_t>(x), 0, 0));
    }
    bitmap.Canvas().CopyRect(TRect(1, 0, 5, 1), bitmap.Canvas(), TRect(0, 0, 4, 1));
    for (int32_t x = 1; x < 5; ++x) {
        EXPECT_EQ(bitmap.Canvas().Pixel(x, 0), RGB(static_cast<uint8_t>(x - 1), 0, 0)) << x;
    }
}

TEST(ImagesTest, DrawAndStretchDrawCopyPixelsIntoTheClip) {
    TBitmap source(2, 2);
    source.Canvas().SetPixel(0, 0, clRed);
    source.Canvas().SetPixel(1, 1, clBlue);
    TBitmap target(8, 8);
    target.Canvas().Draw(3, 3, source);
    EXPECT_EQ(target.Canvas().Pixel(3, 3), clRed);
    EXPECT_EQ(target.Canvas().Pixel(4, 4), clBlue);
    target.Canvas().SetClipRect(TRect(0, 0, 6, 6));
    target.Canvas().StretchDraw(TRect(0, 0, 8, 8), source);
    EXPECT_EQ(target.Canvas().Pixel(3, 3), clRed);    // top-left quarter is red
    EXPECT_EQ(target.Canvas().Pixel(5, 5), clBlue);   // bottom-right quarter, inside the clip
    EXPECT_EQ(target.Canvas().Pixel(7, 7), clWhite);  // clipped
}

// A frame copied onto a bitmap of its width: shifted up or down, clipped to some rows, or onto a
// wider bitmap; every pixel is checked against where it should come from.
TEST(ImagesTest, WholeRowCopiesLandShiftedAndClippedPixelForPixel) {
    constexpr int32_t kW = 7;
    TBitmap source(kW, 5);
    auto sourcePixel = [](int32_t x, int32_t y) {
        return RGB(static_cast<uint8_t>(x), 9, static_cast<uint8_t>(y));
    };
    for (int32_t y = 0; y < 5; ++y) {
        for (int32_t x = 0; x < kW; ++x) {
            source.Canvas().SetPixel(x, y, sourcePixel(x, y));
        }
    }
    struct TCase {
        int32_t TargetWidth;
        int32_t Dy;
        TRect Clip;  // empty: none
    };
    for (const TCase& c : {TCase{kW, 2, TRect()}, TCase{kW, -2, TRect()}, TCase{kW, 0, TRect()},
                           TCase{kW, 1, TRect(0, 1, kW, 3)}, TCase{kW, 0, TRect(2, 0, 5, 6)},
                           TCase{kW + 2, 1, TRect()}, TCase{kW, 7, TRect()}}) {
        SCOPED_TRACE("width " + std::to_string(c.TargetWidth) + " dy " + std::to_string(c.Dy));
        TBitmap target(c.TargetWidth, 6);
        if (!c.Clip.IsEmpty()) {
            target.Canvas().SetClipRect(c.Clip);
        }
        target.Canvas().Draw(0, c.Dy, source);
        for (int32_t y = 0; y < 6; ++y) {
            for (int32_t x = 0; x < c.TargetWidth; ++x) {
                const int32_t sy = y - c.Dy;
                const bool fromSource =
                    x < kW && sy >= 0 && sy < 5 && (c.Clip.IsEmpty() || c.Clip.Contains(x, y));
                ASSERT_EQ(target.Canvas().Pixel(x, y), fromSource ? sourcePixel(x, sy) : clWhite)
                    << x << ", " << y;
            }
        }
    }
}

TEST(ImagesTest, PictureReportsChangesAndItsSize) {
    TPicture picture;
    int changes = 0;
    picture.SetOnChange([&] { ++changes; });
    EXPECT_TRUE(picture.Empty());
    EXPECT_EQ(picture.Width(), 0);
    std::string path = TempPath("picture.bmp");
    WriteBytes(path, SmallBmp());
    picture.LoadFromFile(path);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Height(), 2);
    picture.Bitmap().Canvas().SetPixel(0, 0, clRed);
    EXPECT_EQ(changes, 2);
    EXPECT_THROW(picture.LoadFromFile(TempPath("missing.bmp")), EInvalidGraphic);
    EXPECT_EQ(picture.Width(), 3);  // the old picture stays
    TPicture copy;
    copy.Assign(picture);
    EXPECT_EQ(copy.Graphic()->Pixels(), picture.Graphic()->Pixels());
    picture.Clear();
    EXPECT_TRUE(picture.Empty());
    EXPECT_THROW(picture.SaveToFile(path), EInvalidGraphic);
    std::remove(path.c_str());
}

}  // namespace
}  // namespace gfx
