// keyvet-replay and keyvet-gallery answer --help and --version on standard output with status 0,
// and refuse an unknown option with the usage on standard error and status 2.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

struct TRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

TRun RunTool(const std::string& tool, const std::string& arguments) {
    const char* binaryDir = std::getenv("KEYVET_BINARY_DIR");
    const std::string path = std::string(binaryDir != nullptr ? binaryDir : ".") + "/tools/" + tool;
    const std::string errPath = "/tmp/keyvet-tool-options-" + std::to_string(::getpid()) + ".err";
    TRun run;
    FILE* pipe = popen((path + " " + arguments + " 2>" + errPath).c_str(), "r");
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.Out.append(buffer, n);
    }
    const int status = pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errPath);
    std::getline(err, run.Err, '\0');
    std::remove(errPath.c_str());
    return run;
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

TEST(ToolOptionsTest, AnUnknownOptionPrintsTheUsageToStandardErrorWithStatus2) {
    for (const char* tool : {"keyvet-replay", "keyvet-gallery"}) {
        const TRun run = RunTool(tool, "--frobnicate");
        EXPECT_EQ(run.Status, 2) << tool;
        EXPECT_EQ(run.Out, "") << tool;
        EXPECT_EQ(run.Err.rfind(std::string("usage: ") + tool + " ", 0), 0u) << run.Err;
    }
}

}  // namespace
