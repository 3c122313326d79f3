// The main window's keying run end to end through its real handlers: capture, time line and
// analysis on simulated key states, tick counts and event pumps.
#include "app/MainForm.h"

#include <gtest/gtest.h>

#include <map>

#include "base/FalseWarnings.h"
#include "chart/engine/Series.h"
#include "replay/Replay.h"

namespace {

using Lines = std::vector<std::string>;

// Runs a script and returns its output lines keyed by their first field (repeated keys such as
// Dialog and Point are numbered: "Dialog#0", "Point#3").
// GCC 12 at -O3 raises its false -Wrestrict on "#" + std::to_string(...) here.
KEYVET_FALSE_RESTRICT_BEGIN
std::map<std::string, std::string> RunScript(const std::string& text) {
    replay::TReplay run(replay::ParseScript(text));
    std::map<std::string, std::string> out;
    std::map<std::string, int> seen;
    for (const std::string& line : run.Run()) {
        const size_t tab = line.find('\t');
        std::string key = line.substr(0, tab);
        const std::string value = tab == std::string::npos ? "" : line.substr(tab + 1);
        if (key == "Dialog" || key == "Point") {
            key += "#" + std::to_string(seen[key]++);
        }
        out[key] = value;
    }
    return out;
}
KEYVET_FALSE_RESTRICT_END

// Events alternating down/up at the given times (ms), starting with a press.
std::string Keying(const std::vector<double>& times, const std::string& header = "") {
    std::string text = header;
    bool down = true;
    for (const double t : times) {
        text += std::to_string(t) + (down ? " down\n" : " up\n");
        down = !down;
    }
    return text;
}

TEST(MainFormTest, WorkedExampleFillsEveryResultBox) {
    const auto out = RunScript(
        Keying({100, 164, 216, 396, 454, 516, 686, 861, 911, 977, 1033, 1223, 1408, 1468}));
    EXPECT_EQ(out.at("Edit1"), "63");
    EXPECT_EQ(out.at("Edit2"), "181");
    EXPECT_EQ(out.at("Edit3"), "54");
    EXPECT_EQ(out.at("Edit4"), "177");
    EXPECT_EQ(out.at("Edit5"), "2.00854700854701");
    EXPECT_EQ(out.at("Edit6"), "1.16666666666667");
    EXPECT_EQ(out.at("Edit7"), "96");
    EXPECT_EQ(out.at("Edit8"), "weighting is heavy");
    EXPECT_EQ(out.at("Edit9"), "dashes are too long");
    EXPECT_EQ(out.at("Edit10"), "20");
    EXPECT_EQ(out.at("Edit11"), "96");
    EXPECT_EQ(out.at("Edit12"), "0.994350282485876");
    EXPECT_EQ(out.at("Edit13"), "Charspace is long");
    EXPECT_EQ(out.at("Label21"), "100");
    EXPECT_EQ(out.at("Label1"), "1");  // the last logged value: the seventh release
    EXPECT_EQ(out.at("Start"), "Re-start: Press TWICE\tenabled");
    EXPECT_EQ(out.at("Finish"), "disabled");
    EXPECT_EQ(out.count("Dialog#0"), 0u);
    EXPECT_EQ(out.at("Points"), std::to_string(2 * 14 + 4));
}

TEST(MainFormTest, CalibrationTimelineAndSquareWave) {
    // Transitions at polls 5000, 6000, 9000 over ticks 1000, 1010, 1040.
    const auto out = RunScript("tick0 950\n" + Keying({50, 60, 90}));
    EXPECT_EQ(out.at("Label21"), "100");
    const Lines expected = {"0\t1.2", "0\t-0.1", "0\t0",   "100\t0", "100\t1",
                            "110\t1", "110\t0",  "140\t0", "140\t1", "240\t0"};
    ASSERT_EQ(out.at("Points"), "10");
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(out.at("Point#" + std::to_string(i)), expected[i]) << "point " << i;
    }
    // One mark of 10 and one space of 30: no mark lies below the average.
    EXPECT_EQ(out.at("Dialog#0"), "Division by zero");
    EXPECT_EQ(out.at("Start"), "Start\tenabled");
    EXPECT_EQ(out.at("Edit1"), "");
}

TEST(MainFormTest, TheRateRoundsHalvesToEven) {
    EXPECT_EQ(RunScript("rate 2.5\n" + Keying({4, 14})).at("Label21"), "2");
    EXPECT_EQ(RunScript("rate 3.5\n" + Keying({2, 12})).at("Label21"), "4");
}

TEST(MainFormTest, ARunWithoutKeyingBeepsAndOffersARestart) {
    const auto out = RunScript("finish 300\n");
    EXPECT_EQ(out.at("Dialog#0"), "beep");
    EXPECT_EQ(out.at("Dialog#1"),
              "No Morse detected!\\n\\rSend some now?\\n\\rOr Check connections?");
    EXPECT_EQ(out.at("Start"), "Re-start:  Press TWICE\tenabled");
    EXPECT_EQ(out.at("Finish"), "disabled");
    EXPECT_EQ(out.at("Points"), "0");
    EXPECT_EQ(out.at("Label1"), "0");  // the initial state was logged
}

TEST(MainFormTest, FailuresOfFinishShowTheRuntimeMessageAndGiveStartBack) {
    // After the message a new run can begin: Start enabled and captioned "Start", Finish off.
    auto expectStartAgain = [](const std::map<std::string, std::string>& out) {
        EXPECT_EQ(out.at("Start"), "Start\tenabled");
        EXPECT_EQ(out.at("Finish"), "disabled");
    };
    // Key held down from Start to Finish reading 128: nothing is logged.
    auto out = RunScript("initial 128\nfinish 100\n");
    EXPECT_EQ(out.at("Dialog#0"), "'' is not a valid integer value");
    expectStartAgain(out);
    EXPECT_EQ(out.at("Label1"), "");
    // Exactly one transition: 0 polls over 0 ms.
    out = RunScript(Keying({100}));
    EXPECT_EQ(out.at("Dialog#0"), "Invalid floating point operation");
    expectStartAgain(out);
    // All transitions within one tick (contact bounce).
    out = RunScript(Keying({100.1, 100.5, 100.9}));
    EXPECT_EQ(out.at("Dialog#0"), "Floating point division by zero");
    expectStartAgain(out);
    // Fewer than half a poll per millisecond.
    out = RunScript("rate 0.4\n" + Keying({10, 50, 100}));
    EXPECT_EQ(out.at("Label21"), "0");
    EXPECT_EQ(out.at("Dialog#0"), "Division by zero");
    expectStartAgain(out);
    // A tick count past 2147483647 cannot be read back.
    out = RunScript("tick0 2147483600\n" + Keying({100, 200, 300}));
    EXPECT_EQ(out.at("Dialog#0"), "'2147483700' is not a valid integer value");
    expectStartAgain(out);
}

TEST(MainFormTest, AnAnalysisErrorKeepsTheBoxesComputedAndGivesStartBack) {
    // Marks 60, 180, 60 split into dits and dahs; the spaces are all 100, so none lies below
    // their average and the element-space average divides by zero.
    const auto out = RunScript(Keying({100, 160, 260, 440, 540, 600}));
    EXPECT_EQ(out.at("Dialog#0"), "Division by zero");
    EXPECT_EQ(out.at("Edit1"), "60");
    EXPECT_EQ(out.at("Edit2"), "180");
    EXPECT_EQ(out.at("Edit3"), "");
    EXPECT_EQ(out.at("Start"), "Start\tenabled");
    EXPECT_EQ(out.at("Points"), std::to_string(2 * 6 + 4));
}

TEST(MainFormTest, KeyHeldAtStartShiftsMarksAndSpaces) {
    // Byte 129 at Start is logged at poll 0 and the first interval is a space: the analysis
    // swaps marks and spaces. The key is down for 50, 150, 50, 150 ms with gaps of 70, 210, 70,
    // 70 between: the dit and dah boxes show the gaps, the space boxes the key-down times.
    const auto held = RunScript(
        "initial 129\n100 up\n170 down\n220 up\n430 down\n580 up\n"
        "650 down\n700 up\n770 down\n920 up\n");
    EXPECT_EQ(held.at("Label21"), "100");
    EXPECT_EQ(held.at("Edit1"), "70");   // gaps 70, 210, 70, 70 average 105: 70 below
    EXPECT_EQ(held.at("Edit2"), "210");  // and 210 above
    EXPECT_EQ(held.at("Edit3"), "50");   // key-down 50, 150, 50, 150 average 100: 50 below
    EXPECT_EQ(held.at("Edit4"), "150");  // and 150 above
    // The trace begins at level 1 and falls at the first transition.
    EXPECT_EQ(held.at("Point#3"), "100\t1");
    EXPECT_EQ(held.at("Point#4"), "100\t0");
    // Reading 128 at Start logs nothing until the first release.
    const auto quiet = RunScript("initial 128\n100 up\n150 down\n200 up\nfinish 400\n");
    EXPECT_EQ(quiet.at("Points"), std::to_string(2 * 2 + 4));
}

TEST(MainFormTest, DitsAsLongAsTheirSpacesLeaveTheWeightingAdviceEmpty) {
    // Dits 60 with spaces 60, dahs 180, character spaces 180: W = 1 exactly, R = 2, C = 1.
    const auto out = RunScript(Keying({100, 160, 220, 400, 580, 640, 700, 880}));
    EXPECT_EQ(out.at("Edit6"), "1");
    EXPECT_EQ(out.at("Edit8"), "");
    EXPECT_EQ(out.at("Edit5"), "2");
    EXPECT_EQ(out.at("Edit9"), "");
    EXPECT_EQ(out.at("Edit7"), "100");
}

TEST(MainFormTest, VeryUnevenKeyingGivesANegativeMerit) {
    const auto out = RunScript(Keying({100, 110, 600, 1600, 1610, 1620, 1630, 3630}));
    EXPECT_EQ(out.at("Edit7").substr(0, 1), "-");
}

}  // namespace
