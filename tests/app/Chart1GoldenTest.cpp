// The main window's chart after a keying run, pixel for pixel against the golden picture taken
// before the legend and the chart's further settings were added: they must not change it.
// KEYVET_UPDATE_GOLDEN=1 rewrites the golden; a failure writes the actual picture and a diff.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/MainForm.h"
#include "chart/component/Chart.h"
#include "gfx/ImageFiles.h"
#include "replay/Replay.h"

namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : fallback;
}

TEST(Chart1GoldenTest, TheKeyingChartAfterARunIsPixelIdenticalToTheGolden) {
    // The worked example: dits, dahs and spaces of a short word.
    const char* const script =
        "100 down\n164 up\n216 down\n396 up\n454 down\n516 up\n686 down\n861 up\n"
        "911 down\n977 up\n1033 down\n1223 up\n1408 down\n1468 up\n";
    replay::TReplay run(replay::ParseScript(script));
    run.Run();
    chart::TChart& chart1 = run.Form().Chart1();
    chart1.Paint();
    const gfx::TBitmap& surface = chart1.Surface();
    gfx::TImageData actual;
    actual.Width = surface.Width();
    actual.Height = surface.Height();
    actual.Pixels = surface.Pixels();

    const std::string golden = EnvOr("KEYVET_SOURCE_DIR", ".") + "/tests/app/golden/Chart1.png";
    if (std::getenv("KEYVET_UPDATE_GOLDEN") != nullptr) {
        gfx::WritePng(golden, actual);
        GTEST_SKIP() << "golden rewritten: " << golden;
    }
    const gfx::TImageData expected = gfx::ReadPng(golden);
    ASSERT_EQ(actual.Width, expected.Width);
    ASSERT_EQ(actual.Height, expected.Height);
    int64_t differing = 0;
    gfx::TImageData diff = actual;
    for (size_t i = 0; i < actual.Pixels.size(); ++i) {
        // PNG keeps no alpha: compare the colour bytes only.
        const bool same = (actual.Pixels[i] & 0xFFFFFF) == (expected.Pixels[i] & 0xFFFFFF);
        diff.Pixels[i] = same ? 0xFFFFFF : 0x0000FF;
        differing += same ? 0 : 1;
    }
    if (differing != 0) {
        const std::string out = EnvOr("KEYVET_BINARY_DIR", ".");
        gfx::WritePng(out + "/Chart1.actual.png", actual);
        gfx::WritePng(out + "/Chart1.diff.png", diff);
    }
    EXPECT_EQ(differing, 0) << "actual and diff written to " << EnvOr("KEYVET_BINARY_DIR", ".");
}

}  // namespace
