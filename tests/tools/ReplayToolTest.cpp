// keyvet-replay from outside: script errors with their line numbers and exit status 2, bounded
// reading, lost output as a failure, and the exact output lines of a replayed run.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>

#include <sys/wait.h>
#include <unistd.h>

#include "replay/Replay.h"
#include "replay/ReplayScript.h"
#include "support/TempFolder.h"
#include "support/ToolRun.h"

namespace {

using testsupport::TToolRun;

// Runs the built keyvet-replay with shell words `arguments` (the script path among them).
TToolRun RunCommand(const std::string& arguments, const std::string& redirect = "") {
    return testsupport::RunBuiltTool("keyvet-replay", arguments, redirect);
}

// Runs the built keyvet-replay on a script written to a temporary file.
TToolRun RunTool(const std::string& script, const std::string& redirect = "") {
    char scriptPath[] = "/tmp/keyvet-replay-test-XXXXXX";
    const int fd = mkstemp(scriptPath);
    EXPECT_GE(fd, 0);
    close(fd);
    std::ofstream(scriptPath) << script;
    TToolRun run = RunCommand(scriptPath, redirect);
    std::remove(scriptPath);
    return run;
}

TEST(ReplayToolTest, PrintsTheWindowLineByLine) {
    const TToolRun run = RunTool("# three transitions\ntick0 950\n50 down\n60 up\n90 down\n");
    EXPECT_EQ(run.Status, 0);
    const std::string expected =
        "Label1\t128\nLabel21\t100\n"
        "Edit1\t\nEdit2\t\nEdit3\t\nEdit4\t\nEdit5\t\nEdit6\t\nEdit7\t\nEdit8\t\nEdit9\t\n"
        "Edit10\t\nEdit11\t\nEdit12\t\nEdit13\t\n"
        "Start\tStart\tenabled\nFinish\tdisabled\n"
        "Dialog\tDivision by zero\n"
        "Points\t10\n"
        "Point\t0\t1.2\nPoint\t0\t-0.1\nPoint\t0\t0\nPoint\t100\t0\nPoint\t100\t1\n"
        "Point\t110\t1\nPoint\t110\t0\nPoint\t140\t0\nPoint\t140\t1\nPoint\t240\t0\n";
    EXPECT_EQ(run.Out, expected);
}

TEST(ReplayToolTest, BadScriptsAreRefusedWithTheirLineAndNothingPrinted) {
    const std::pair<const char*, const char*> cases[] = {
        {"rate 100\n\n50 down\n40 up\n", "line 4: event times must not decrease"},
        {"initial 2\n", "line 1: the initial key state must be 0, 1, 128 or 129"},
        {"50 press\n", "line 1: expected down or up, found 'press'"},
        {"rate fast\n", "line 1: expected a rate in polls per millisecond, found 'fast'"},
        {"rate 0\n", "line 1: the rate must be above 0"},
        {"tick0 -1\n", "line 1: the tick count must be a whole number from 0 to 4294967295"},
        {"speed 3\n", "line 1: expected a directive or a time in milliseconds, found 'speed'"},
        {"50 down now\n",
         "line 1: expected two words, a directive and its value or a time and "
         "down/up"},
        {"practice # no text\n", "line 1: expected the practice text after practice"},
        {"practice PARIS\n100 down\npractice CQ\n",
         "line 3: the practice text was already given on line 1"},
    };
    for (const auto& [script, message] : cases) {
        const TToolRun run = RunTool(script);
        EXPECT_EQ(run.Status, 2) << script;
        EXPECT_EQ(run.Out, "") << script;
        EXPECT_NE(run.Err.find(message), std::string::npos) << run.Err;
    }
}

TEST(ReplayToolTest, ADirectoryOrAnEndlessInputIsRefusedAndALongTokenIsCut) {
    TToolRun run = RunCommand("/tmp");
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("/tmp is a directory, not a script"), std::string::npos) << run.Err;
    run = RunCommand("/dev/zero");
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("/dev/zero: line 1: the line is longer than 4096 characters"),
              std::string::npos)
        << run.Err;
    run = RunTool("rate " + std::string(3000, 'x') + "\n");
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("found '" + std::string(60, 'x') + "...' (cut; 3000 bytes in all)"),
              std::string::npos)
        << run.Err;
    EXPECT_LT(run.Err.size(), 300u);
}

TEST(ReplayToolTest, AnOutputThatIsTheScriptOrTheOtherOutputIsRefusedAndNothingIsWritten) {
    const testsupport::TTempFolder folder("keyvet-replay-same");
    const std::string script = folder / "x.k";
    const std::string text = "50 down\n60 up\n";
    std::ofstream(script) << text;
    ASSERT_EQ(0, symlink("x.k", (folder / "link.k").c_str()));
    ASSERT_EQ(0, link(script.c_str(), (folder / "hard.k").c_str()));
    // The same file however it is spelled: its own name, another path, a symbolic or hard link.
    for (const auto& [option, output] :
         {std::pair{"--chart", script}, std::pair{"--wav", folder.Path() + "/./x.k"},
          std::pair{"--chart", folder / "link.k"}, std::pair{"--wav", folder / "hard.k"}}) {
        const TToolRun run = testsupport::RunBuiltTool(
            "keyvet-replay", std::string(option) + " " + output + " " + script);
        EXPECT_EQ(run.Status, 2) << option << " " << output;
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err, std::string("keyvet-replay: the ") + option + " file '" + output +
                               "' is the script itself; it is not replaced\n");
    }
    std::ifstream in(script, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text);
    // Both outputs to one file, existing or not yet.
    for (const std::string& output : {folder / "new.out", folder / "hard.k"}) {
        const TToolRun run = testsupport::RunBuiltTool(
            "keyvet-replay", "--wav " + output + " --chart " + output + " " + folder / "other.k");
        EXPECT_EQ(run.Status, 2) << output;
        EXPECT_NE(run.Err.find("--wav and --chart name the same file"), std::string::npos)
            << run.Err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "new.out"));
    // Apart, both are written.
    const TToolRun apart =
        testsupport::RunBuiltTool("keyvet-replay", "--wav " + folder / "a.wav" + " --chart " +
                                                       folder / "a.png" + " " + script);
    EXPECT_EQ(apart.Status, 0) << apart.Err;
    EXPECT_TRUE(std::filesystem::exists(folder / "a.wav"));
    EXPECT_TRUE(std::filesystem::exists(folder / "a.png"));
}

TEST(ReplayToolTest, AScriptsControlBytesNeverReachTheTerminal) {
    // An escape sequence that would set the terminal's title, in an offending token.
    TToolRun run = RunTool(std::string("rate \x1b]0;owned\x07\n"));
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Err.find("found '?]0;owned?'"), std::string::npos) << run.Err;
    EXPECT_EQ(run.Err.find('\x1b'), std::string::npos);
}

TEST(ReplayToolTest, ResultsThatCannotBeWrittenFailTheRun) {
    TToolRun run = RunTool("50 down\n60 up\n", ">/dev/full");
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("cannot write the results: No space left on device"), std::string::npos)
        << run.Err;
    run = RunTool("50 down\n60 up\n", ">&-");
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("cannot write the results: Bad file descriptor"), std::string::npos)
        << run.Err;
}

TEST(ReplayToolTest, WhateverEscapesTheToolIsReportedAsAFailure) {
    std::ostringstream err;
    EXPECT_EQ(0, replay::RunReportingEscapes([] { return 0; }, err));
    EXPECT_EQ(1, replay::RunReportingEscapes([]() -> int { throw std::bad_alloc(); }, err));
    EXPECT_EQ(1, replay::RunReportingEscapes(
                     []() -> int { throw std::logic_error("a broken design"); }, err));
    EXPECT_EQ(1, replay::RunReportingEscapes([]() -> int { throw 42; }, err));
    EXPECT_EQ(err.str(),
              "keyvet-replay: out of memory\nkeyvet-replay: a broken design\n"
              "keyvet-replay: an unexpected error ended the run\n");
}

TEST(ReplayScriptTest, ReadingIsBoundedByLineAndByScript) {
    std::istringstream lines("abc\nabcd\n");
    try {
        replay::ReadScriptText(lines, 3, 100);
        FAIL() << "a line over the limit was read";
    } catch (const replay::EScriptError& e) {
        EXPECT_EQ(e.Line(), 2);
        EXPECT_STREQ(e.what(), "line 2: the line is longer than 3 characters");
    }
    std::istringstream script("a\nb\nc\nd\n");
    try {
        replay::ReadScriptText(script, 3, 5);
        FAIL() << "a script over the limit was read";
    } catch (const replay::EScriptError& e) {
        EXPECT_STREQ(e.what(), "line 3: the script is longer than 5 bytes");
    }
    std::istringstream exact("abc\nabc");  // at both limits
    EXPECT_EQ(replay::ReadScriptText(exact, 3, 7), "abc\nabc");
}

TEST(ReplayScriptTest, QuotedTokensAreCutAtACharacterBoundary) {
    EXPECT_EQ(replay::QuoteToken("press"), "'press'");
    // Expected texts built in place: joining temporaries draws GCC 12's false -Wrestrict at -O3.
    std::string sixty = "'";
    sixty.append(60, 'a').append("'");
    EXPECT_EQ(replay::QuoteToken(std::string(60, 'a')), sixty);
    // 59 letters, then two-byte characters: the cut falls before the one that would be split.
    const std::string token = std::string(59, 'a') + "\xC3\xA9\xC3\xA9";
    std::string cut = "'";
    cut.append(59, 'a').append("...' (cut; 63 bytes in all)");
    EXPECT_EQ(replay::QuoteToken(token), cut);
}

TEST(ReplayScriptTest, DefaultsAndFinishTime) {
    const replay::TReplayScript script = replay::ParseScript("100 down   # a press\n150.5 up\n");
    EXPECT_EQ(script.PollsPerMs, 100);
    EXPECT_EQ(script.Tick0, 1000u);
    EXPECT_EQ(script.Initial, 0);
    ASSERT_EQ(script.Events.size(), 2u);
    EXPECT_EQ(script.Events[1].TimeMs, 150.5);
    EXPECT_EQ(script.EffectiveFinishMs(), 650.5);
    EXPECT_EQ(replay::ParseScript("").EffectiveFinishMs(), 500);
    EXPECT_EQ(script.PracticeText, "");
}

TEST(ReplayScriptTest, APracticeTextIsTheRestOfItsLineWithSingleSpaces) {
    const replay::TReplayScript script =
        replay::ParseScript("rate 160\n  practice   CQ  DE\tG4ABC  # a call\n100 down\n");
    EXPECT_EQ(script.PracticeText, "CQ DE G4ABC");
    EXPECT_EQ(script.PracticeLine, 2);
    EXPECT_EQ(script.PollsPerMs, 160);
    EXPECT_EQ(script.Events.size(), 1u);
}

}  // namespace
