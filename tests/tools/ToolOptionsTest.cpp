// keyvet-replay and keyvet-gallery answer --help and --version on standard output with status 0,
// and refuse an unknown option with the usage on standard error and status 2.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/ToolRun.h"

namespace {

using TRun = testsupport::TToolRun;

TRun RunTool(const std::string& tool, const std::string& arguments) {
    return testsupport::RunBuiltTool(tool, arguments);
}

TEST(ToolOptionsTest, HelpAndVersionAnswerOnStandardOutput) {
    for (const char* tool : {"keyvet-replay", "keyvet-gallery"}) {
        TRun run = RunTool(tool, "--version");
        EXPECT_EQ(run.Status, 0) << tool;
        EXPECT_EQ(run.Out, std::string(tool) + " (Keyvet) 2.0\n");
        EXPECT_EQ(run.Err, "");
        run = RunTool(tool, "--help");
        EXPECT_EQ(run.Status, 0) << tool;
        EXPECT_EQ(run.Out.rfind(std::string("usage: ") + tool + " ", 0), 0u) << run.Out;
        EXPECT_EQ(run.Err, "");
        // -h is --help, wherever it stands.
        EXPECT_EQ(RunTool(tool, "out.png -h").Out, run.Out);
    }
}

TEST(ToolOptionsTest, AnUnknownOptionIsNamedBeforeTheUsageOnStandardErrorWithStatus2) {
    for (const char* tool : {"keyvet-replay", "keyvet-gallery"}) {
        // Wherever it stands, and with a terminal's control bytes in it shown as "?".
        for (const auto& [arguments, named] :
             {std::pair{"--frobnicate x", "--frobnicate"}, std::pair{"x -q", "-q"},
              std::pair{"\"$(printf '%b' '-\\033]0;owned\\007')\" x", "-?]0;owned?"}}) {
            const TRun run = RunTool(tool, arguments);
            EXPECT_EQ(run.Status, 2) << tool << " " << arguments;
            EXPECT_EQ(run.Out, "") << tool;
            const std::string first = std::string(tool) + ": unknown option '" + named + "'\n";
            EXPECT_EQ(run.Err.rfind(first + "usage: " + tool + " ", 0), 0u) << run.Err;
        }
    }
}

TEST(ToolOptionsTest, AReplayOutputOptionWithoutItsFileIsNamed) {
    for (const char* option : {"--wav", "--chart"}) {
        const TRun run = RunTool("keyvet-replay", std::string(option) + " ''");
        EXPECT_EQ(run.Status, 2) << option;
        EXPECT_EQ(run.Err.rfind(std::string("keyvet-replay: option '") + option +
                                    "' needs a file name\nusage: keyvet-replay ",
                                0),
                  0u)
            << run.Err;
    }
}

}  // namespace
