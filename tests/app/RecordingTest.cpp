// File -> Analyse a recording: a synthesised recording read in steps gives the run a script of
// its keying gives, the reading shows its progress and stops at Cancel, a file that is no usable
// recording says so in one message, and Keep in history stores the run once.
#include "app/Recording.h"
#include "app/RecordingForm.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "app/DetailsForm.h"
#include "app/FileMenu.h"
#include "app/HistoryForm.h"
#include "app/MainForm.h"
#include "app/RunHistory.h"
#include "forms/Application.h"
#include "history/History.h"
#include "platform/Services.h"
#include "support/AppWindows.h"
#include "support/HistoryLock.h"
#include "support/MorseKeying.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "support/ToneSynth.h"

namespace {

// Two words at 20 wpm, jittered, from 0.9 s.
std::vector<coach::TTransition> Keying(uint32_t seed = 7) {
    testsupport::TKeyingStyle style;
    style.Jitter = 0.1;
    style.WeightMs = 5;
    style.Seed = seed;
    std::vector<coach::TTransition> keyed = testsupport::KeyText("PARIS CQ", style);
    for (coach::TTransition& change : keyed) {
        change.TimeMs += 900;
    }
    return keyed;
}

// The script the replay tool reads for the same keying.
app::TReplayScript ScriptOf(const std::vector<coach::TTransition>& keyed) {
    app::TReplayScript script;
    for (const coach::TTransition& change : keyed) {
        script.Events.push_back({static_cast<double>(change.TimeMs), change.Down, 0});
    }
    return script;
}

// An event pump that counts its passes and can act at any of them.
class TCountingPump : public platform::IEventPump {
  public:
    std::function<void(int)> OnPass;
    int Passes = 0;
    void ProcessMessages() override {
        ++Passes;
        if (OnPass) {
            OnPass(Passes);
        }
    }
};

using TLock = testsupport::THistoryLock;

class RecordingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        forms::TApplication::Instance().AddForm(std::make_unique<app::TDetailsForm>(nullptr));
        app::AddFileMenu(m_main.Form(), m_runHistory);
    }
    void TearDown() override { forms::TApplication::Instance().DestroyForms(); }

    template <class T>
    T& Window() {
        return testsupport::AppWindow<T>();
    }
    // File -> Analyse a recording... on `path`, as the menu runs it (an error shown as a message).
    void AnalyseThroughMenu(const std::string& path) {
        m_files.OpenPaths.push_back(path);
        forms::TMenuItem& item = *m_main.Form().Menu()->Items().Items(0)->Items(4);
        ASSERT_EQ(item.Name(), "AnalyseRecording1");
        forms::TApplication::Instance().Dispatch([&item] { item.Click(); });
    }
    std::string WriteWav(const std::string& name, const std::vector<coach::TTransition>& keyed,
                         const testsupport::TSoundConditions& c, double tailMs = 700) {
        const std::string path = m_folder / name;
        testsupport::WritePcmWav(
            path, testsupport::SynthesiseKeying(keyed, keyed.back().TimeMs + tailMs, c),
            static_cast<uint32_t>(c.SampleRate));
        return path;
    }
    size_t Stored() {
        history::THistory* history = m_runHistory.Open();
        return history == nullptr ? 0 : history->List().size();
    }

    testsupport::TTempFolder m_folder;
    std::string m_dataHome = m_folder / "data";
    app::TRunHistory m_runHistory{m_dataHome};
    // The program's main window (never run here); its File menu holds the command.
    app::TReplay m_main{app::TReplayScript{}};
    testsupport::TScriptedFileDialogs m_files;
    platform::TScopedFileDialogs m_filesInPlace{m_files};
    testsupport::TRecordedDialogs m_dialogs;
    TCountingPump m_pump;
    platform::TScopedServices m_services{{nullptr, nullptr, &m_pump, &m_dialogs, nullptr}};
};

TEST_F(RecordingTest, ARecordingShowsTheRunOfItsKeyingWithItsDetails) {
    const std::vector<coach::TTransition> keyed = Keying();
    const std::string wav = WriteWav("clean.wav", keyed, {});
    m_main.Form().SetPracticeText("PARIS CQ");
    AnalyseThroughMenu(wav);
    ASSERT_EQ(m_dialogs.Messages, std::vector<std::string>{});

    // The boxes the main window shows for a script of the same keying.
    app::TReplay typed(ScriptOf(keyed));
    typed.Run();
    app::TPastRunForm& shown = Window<app::TPastRunForm>();
    EXPECT_TRUE(shown.Visible());
    EXPECT_EQ(shown.Caption(), "Recording clean.wav");
    const std::vector<std::string> lines = shown.Results().Items().RawLines();
    ASSERT_GE(lines.size(), 14u);
    EXPECT_EQ(lines[0], "Practice text: PARIS CQ");
    for (int box = 1; box <= 13; ++box) {
        EXPECT_EQ(
            lines[static_cast<size_t>(box)].substr(lines[static_cast<size_t>(box)].find(": ") + 2),
            typed.Form().Edit(box).Text())
            << "box " << box;
    }
    EXPECT_EQ(lines[14], "Read back: PARIS CQ");
    EXPECT_EQ(lines[15], "Character accuracy: 100 %");
    EXPECT_TRUE(shown.KeepButton().Visible());
    EXPECT_EQ(shown.KeepButton().Caption(), app::TPastRunForm::kKeep);
    EXPECT_TRUE(Window<app::TDetailsForm>().Visible());
    EXPECT_FALSE(Window<app::TRecordingForm>().Visible());
    // Nothing is kept until the operator asks; the main window's own boxes are untouched.
    EXPECT_EQ(Stored(), 0u);
    EXPECT_EQ(m_main.Form().Edit(7).Text(), "");
}

TEST_F(RecordingTest, TheChangesFoundDoNotDependOnTheStepsTheFileIsReadIn) {
    const std::vector<coach::TTransition> keyed = Keying(11);
    testsupport::TSoundConditions c;
    c.SnrDb = 10;
    c.SampleRate = 22050;
    c.Seed = 11;
    const std::string wav = WriteWav("noisy.wav", keyed, c);
    const app::TReplayScript whole = app::ScriptFromSound(wav);
    ASSERT_GE(whole.Events.size(), keyed.size());
    for (const size_t step : {size_t{1000}, app::TRecordingForm::kStepFrames, size_t{44100}}) {
        app::TRecordingReader reader(wav);
        while (reader.Step(step)) {
        }
        const app::TReplayScript stepped = reader.Script();
        ASSERT_EQ(stepped.Events.size(), whole.Events.size()) << "step " << step;
        for (size_t i = 0; i < whole.Events.size(); ++i) {
            EXPECT_EQ(stepped.Events[i].TimeMs, whole.Events[i].TimeMs) << "step " << step;
            EXPECT_EQ(stepped.Events[i].Down, whole.Events[i].Down) << "step " << step;
        }
    }
}

TEST_F(RecordingTest, TheBarGrowsToTheWholeFileAndCancelStopsTheReading) {
    const std::vector<coach::TTransition> keyed = Keying();
    // 20 s at 8 kHz: 20 steps of 8192 frames.
    const std::string wav = WriteWav("long.wav", keyed, {}, 20000 - keyed.back().TimeMs);
    app::TRecordingForm& window = Window<app::TRecordingForm>();
    std::vector<int32_t> widths;
    std::vector<std::string> percents;
    m_pump.OnPass = [&](int) {
        EXPECT_TRUE(window.Visible());
        EXPECT_TRUE(window.Reading());
        widths.push_back(window.Fill().Width());
        percents.push_back(window.Percent().Caption());
    };
    AnalyseThroughMenu(wav);
    ASSERT_EQ(m_dialogs.Messages, std::vector<std::string>{});
    EXPECT_EQ(window.FileLabel().Caption(), "Reading long.wav (20.0 s)");
    ASSERT_EQ(widths.size(), 20u);       // 160000 frames: 19 whole steps and a part
    EXPECT_EQ(percents.front(), "5 %");  // 8192 of 160000
    EXPECT_EQ(percents.back(), "100 %");
    EXPECT_EQ(widths.back(), window.Bar().Width() - 2);
    for (size_t i = 1; i < widths.size(); ++i) {
        EXPECT_GE(widths[i], widths[i - 1]);
    }
    EXPECT_FALSE(window.Visible());
    EXPECT_TRUE(Window<app::TPastRunForm>().Visible());

    // Cancel at the fifth pass: nothing more is read, nothing shown.
    Window<app::TPastRunForm>().Hide();
    m_pump.Passes = 0;
    m_pump.OnPass = [&](int pass) {
        if (pass == 5) {
            window.CancelButton().Click();
        }
    };
    AnalyseThroughMenu(wav);
    EXPECT_EQ(m_pump.Passes, 5);
    EXPECT_FALSE(window.Visible());
    EXPECT_FALSE(window.Reading());
    EXPECT_FALSE(Window<app::TPastRunForm>().Visible());

    // Closing the window stops it too; a reading after a cancelled one runs to its end.
    m_pump.Passes = 0;
    m_pump.OnPass = [&](int pass) {
        if (pass == 3) {
            window.Hide();
        }
    };
    AnalyseThroughMenu(wav);
    EXPECT_EQ(m_pump.Passes, 3);
    EXPECT_FALSE(Window<app::TPastRunForm>().Visible());
    m_pump.Passes = 0;
    m_pump.OnPass = nullptr;
    AnalyseThroughMenu(wav);
    EXPECT_EQ(m_pump.Passes, 20);
    EXPECT_TRUE(Window<app::TPastRunForm>().Visible());
    EXPECT_EQ(m_dialogs.Messages, std::vector<std::string>{});
}

TEST_F(RecordingTest, AFileThatIsNoUsableRecordingSaysSoInOneMessage) {
    const std::string text = m_folder / "notes.wav";
    std::ofstream(text) << "these are notes, not sound\n";
    const std::string empty = m_folder / "empty.wav";
    std::ofstream{empty};
    testsupport::TSoundConditions c;
    const std::string brief = m_folder / "brief.wav";
    testsupport::WritePcmWav(brief, std::vector<float>(2000, 0.0f), 8000);  // 0.25 s
    const std::string silent = m_folder / "silent.wav";
    testsupport::WritePcmWav(silent, std::vector<float>(16000, 0.0f), 8000);
    const std::map<std::string, std::string> expected = {
        {brief, brief + " is too short (0.25 s): a recording needs at least 0.50 s of sound"},
        {silent, "no keyed Morse tone found in " + silent + " (looked between 300 and 1500 Hz)"},
        {text, text + " is not a sound file that can be read"},
        {empty, empty + " is not a sound file that can be read"}};
    for (const auto& [path, message] : expected) {
        m_dialogs.Messages.clear();
        AnalyseThroughMenu(path);
        ASSERT_EQ(m_dialogs.Messages.size(), 1u) << path;
        EXPECT_EQ(m_dialogs.Messages[0].substr(0, message.size()), message);
        EXPECT_FALSE(Window<app::TRecordingForm>().Visible());
        EXPECT_FALSE(Window<app::TRecordingForm>().Reading());
        EXPECT_FALSE(Window<app::TPastRunForm>().Visible());
    }
    // A cancelled file dialog does nothing at all.
    m_dialogs.Messages.clear();
    m_pump.Passes = 0;
    forms::TApplication::Instance().Dispatch(
        [this] { Window<app::TRecordingForm>().AnalyseClick(); });
    EXPECT_EQ(m_dialogs.Messages, std::vector<std::string>{});
    EXPECT_EQ(m_pump.Passes, 0);
}

TEST_F(RecordingTest, AKeyingTheAnalysisCannotJudgeIsNamedWithWhatTheWindowSaid) {
    // One long tone: a mark and no spaces to average.
    const std::string wav = WriteWav("tone.wav", {{900, true}, {1500, false}}, {});
    AnalyseThroughMenu(wav);
    ASSERT_EQ(m_dialogs.Messages.size(), 1u);
    EXPECT_EQ(m_dialogs.Messages[0],
              std::string("tone.wav") + app::TRecordingForm::kNotAnalysed + "\n(Division by zero)");
    EXPECT_FALSE(Window<app::TPastRunForm>().Visible());
}

TEST_F(RecordingTest, KeepStoresTheRunOnceAndALockedHistoryKeepsItWaiting) {
    const std::vector<coach::TTransition> keyed = Keying();
    const std::string wav = WriteWav("clean.wav", keyed, {});
    ASSERT_EQ(Stored(), 0u);  // the history exists, empty
    AnalyseThroughMenu(wav);
    app::TPastRunForm& shown = Window<app::TPastRunForm>();
    {
        const TLock lock(m_dataHome);
        shown.KeepButton().Click();
        ASSERT_EQ(m_dialogs.Messages.size(), 1u);
        EXPECT_NE(m_dialogs.Messages[0].find("locked"), std::string::npos) << m_dialogs.Messages[0];
        EXPECT_EQ(m_runHistory.Waiting().size(), 1u);
    }
    EXPECT_EQ(shown.KeepButton().Caption(), app::TPastRunForm::kKept);
    EXPECT_FALSE(shown.KeepButton().Enabled());
    shown.KeepButton().Click();  // a second click keeps nothing more
    EXPECT_EQ(m_runHistory.Waiting().size(), 1u);
    EXPECT_TRUE(m_runHistory.StoreWaiting());
    history::THistory& history = *m_runHistory.Open();
    const std::vector<history::TRunSummary> runs = history.List();
    ASSERT_EQ(runs.size(), 1u);
    const std::optional<history::TRun> run = history.Load(runs[0].Id);
    ASSERT_TRUE(run.has_value());
    EXPECT_EQ(run->Transitions.size(), keyed.size());
    EXPECT_EQ(run->ReadBack, "PARIS CQ");

    // A past run opened from the history has nothing to keep.
    shown.ShowRun(*run);
    EXPECT_FALSE(shown.KeepButton().Visible());
}

TEST(RecordingHistoryOffTest, KeepInAHistoryThatIsOffSaysWhyEachTime) {
    testsupport::TTempFolder folder;
    const std::string blocked = folder / "file";
    std::ofstream(blocked) << "x";  // a file where the data folder should be
    app::TRunHistory runHistory(blocked);
    testsupport::TRecordedDialogs dialogs;
    const platform::TScopedServices services{{nullptr, nullptr, nullptr, &dialogs, nullptr}};
    app::TPastRunForm window(nullptr);
    history::TRun run;
    run.Transitions = {{100, 1}, {160, 0}};
    window.ShowRecording(run, "a.wav", runHistory);
    window.KeepButton().Click();
    ASSERT_EQ(dialogs.Messages.size(), 1u);  // the history's own failure, told once
    EXPECT_NE(dialogs.Messages[0].find(app::TRunHistory::kGoingOn), std::string::npos);
    window.KeepButton().Click();
    ASSERT_EQ(dialogs.Messages.size(), 2u);
    EXPECT_EQ(dialogs.Messages[1].rfind("The run cannot be kept: ", 0), 0u) << dialogs.Messages[1];
    EXPECT_TRUE(window.KeepButton().Enabled());
}

TEST(RecordingLengthTest, LengthsReadInTheirLargestUnits) {
    EXPECT_EQ(app::TRecordingForm::LengthText(0.5), "0.5 s");
    EXPECT_EQ(app::TRecordingForm::LengthText(59.94), "59.9 s");
    EXPECT_EQ(app::TRecordingForm::LengthText(60), "1 min 00 s");
    EXPECT_EQ(app::TRecordingForm::LengthText(3599.9), "59 min 59 s");
    EXPECT_EQ(app::TRecordingForm::LengthText(3600), "1 h 00 min");
    EXPECT_EQ(app::TRecordingForm::LengthText(3 * 3600 + 125), "3 h 02 min");
}

}  // namespace
