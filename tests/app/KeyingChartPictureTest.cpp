// The main window's keying chart pinned to its pixels: a checksum of the chart painted after a
// short run and after a long seeded one, taken before long series were drawn column by column
// and taken again when the axis labels lost the boxes behind them (the only change then).
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "app/MainForm.h"
#include "chart/component/Chart.h"
#include "replay/Replay.h"

namespace {

// FNV-1a over the colour references of the chart's pixels, each as four bytes, low byte first.
uint64_t PictureChecksum(const std::string& script) {
    replay::TReplay run(replay::ParseScript(script));
    run.Run();
    chart::TChart& chart = run.Form().Chart1();
    chart.Paint();
    uint64_t hash = 14695981039346656037ull;
    for (const uint32_t pixel : chart.Surface().Pixels()) {
        for (int shift = 0; shift < 32; shift += 8) {
            hash = (hash ^ ((pixel >> shift) & 0xFF)) * 1099511628211ull;
        }
    }
    return hash;
}

// A seeded run of the given transitions, 20 to 220 ms apart, one poll per millisecond.
std::string LongRun(int32_t transitions, uint32_t seed) {
    std::mt19937 random(seed);
    std::string text = "rate 1\n";
    int64_t time = 100;
    for (int32_t i = 0; i < transitions; ++i) {
        text += std::to_string(time) + (i % 2 == 0 ? " down\n" : " up\n");
        time += 20 + static_cast<int64_t>(random() % 201);
    }
    return text;
}

TEST(KeyingChartPictureTest, AShortRunPaintsTheSamePixelsAsBefore) {
    const std::string paris =
        "100 down\n166 up\n218 down\n398 up\n452 down\n630 up\n684 down\n748 up\n"
        "930 down\n994 up\n1048 down\n1230 up\n";
    EXPECT_EQ(PictureChecksum(paris), 2217023744954002721u);
}

// 2,500 transitions: more points than the plot has columns, so the line is dense.
TEST(KeyingChartPictureTest, ALongRunPaintsTheSamePixelsAsBefore) {
    EXPECT_EQ(PictureChecksum(LongRun(2500, 13)), 9974099017024673174u);
}

}  // namespace
