// keyvet's command line: our two options, the toolkit's options passed on, anything else refused.
#include "ui/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ProgramInfo.h"

namespace {

// Parses a command line given as words (the program's name first).
ui::TCommandLine Parse(std::vector<std::string> words) {
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    return ui::ParseCommandLine(static_cast<int>(words.size()), argv.data());
}

TEST(CommandLineTest, NoArgumentsRunsTheProgramWithoutToolkitOptions) {
    const ui::TCommandLine line = Parse({"keyvet"});
    EXPECT_EQ(line.Command, ui::TCommand::cmRun);
    EXPECT_FALSE(line.ToolkitOptions);
}

TEST(CommandLineTest, HelpAndVersionAnswerWhereverTheyStand) {
    EXPECT_EQ(Parse({"keyvet", "--help"}).Command, ui::TCommand::cmHelp);
    EXPECT_EQ(Parse({"keyvet", "-h"}).Command, ui::TCommand::cmHelp);
    EXPECT_EQ(Parse({"keyvet", "--version"}).Command, ui::TCommand::cmVersion);
    EXPECT_EQ(Parse({"keyvet", "-scheme", "plastic", "--version"}).Command,
              ui::TCommand::cmVersion);
    EXPECT_EQ(Parse({"keyvet", "--help", "--version"}).Command, ui::TCommand::cmHelp);
}

TEST(CommandLineTest, TheToolkitsOwnOptionsArePassedOnWithTheirValues) {
    const ui::TCommandLine line = Parse({"keyvet", "-geometry", "+10+20", "-title", "Key test"});
    EXPECT_EQ(line.Command, ui::TCommand::cmRun);
    EXPECT_TRUE(line.ToolkitOptions);
    // A toolkit option may be shortened as long as it stays unambiguous.
    EXPECT_EQ(Parse({"keyvet", "-geom", "+0+0"}).Command, ui::TCommand::cmRun);
}

TEST(CommandLineTest, UnknownOptionsAndWordsAreRefusedNamingTheFirstOffender) {
    ui::TCommandLine line = Parse({"keyvet", "--frobnicate"});
    EXPECT_EQ(line.Command, ui::TCommand::cmBadUsage);
    EXPECT_EQ(line.Offending, "--frobnicate");
    line = Parse({"keyvet", "-scheme", "gtk+", "-zz"});
    EXPECT_EQ(line.Command, ui::TCommand::cmBadUsage);
    EXPECT_EQ(line.Offending, "-zz");
    line = Parse({"keyvet", "run.keying"});
    EXPECT_EQ(line.Command, ui::TCommand::cmBadUsage);
    EXPECT_EQ(line.Offending, "run.keying");
    // A toolkit option without its value.
    EXPECT_EQ(Parse({"keyvet", "-geometry"}).Command, ui::TCommand::cmBadUsage);
}

TEST(CommandLineTest, TheProblemNamesTheOptionAndWhatIsWrongWithItsValue) {
    EXPECT_EQ(Parse({"keyvet", "-display"}).Problem,
              "option '-display' needs a value: an X display such as :0");
    EXPECT_EQ(Parse({"keyvet", "-geometry", "garbage"}).Problem,
              "option '-geometry': 'garbage' is not a window geometry such as 800x600+10+20");
    // Shortened, and with two dashes, the option is still named as given.
    EXPECT_EQ(Parse({"keyvet", "-g", "big"}).Problem,
              "option '-g': 'big' is not a window geometry such as 800x600+10+20");
    EXPECT_EQ(Parse({"keyvet", "-scheme", "gtk+", "--title"}).Problem,
              "option '--title' needs a value: a window title");
    // Options without a value, and near misses of the value options, are unknown options.
    EXPECT_EQ(Parse({"keyvet", "-d", ":0"}).Problem, "unknown option '-d'");
    EXPECT_EQ(Parse({"keyvet", "-displays", ":0"}).Problem, "unknown option '-displays'");
    EXPECT_EQ(Parse({"keyvet", "run.keying"}).Problem,
              "unexpected argument 'run.keying' (keyvet takes no file names)");
    // A terminal's control bytes in the word are not passed on.
    EXPECT_EQ(Parse({"keyvet", "-\x1b]0;x\a"}).Problem, "unknown option '-?]0;x?'");
}

TEST(CommandLineTest, TheVersionIsTheOneTheAboutBoxShows) {
    EXPECT_EQ(app::VersionLine("keyvet"), "keyvet (Keyvet) 2.0");
    EXPECT_NE(ui::Usage().find("usage: keyvet"), std::string::npos);
}

}  // namespace
