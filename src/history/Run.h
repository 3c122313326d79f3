// One analysed keying run as the history keeps it: when, the result boxes' texts, the practice
// text and the key transitions that redraw its chart.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace history {

// The main window's thirteen result boxes, in box order (Edit1 .. Edit13).
constexpr size_t kResultCount = 13;
// Zero-based places of the figures the progress chart draws.
constexpr size_t kSpeedResult = 9;           // words per minute
constexpr size_t kCharacterMeritResult = 6;  // character merit
constexpr size_t kWordMeritResult = 10;      // word merit

// What each result box shows, for the exports' headings.
extern const std::array<const char*, kResultCount> kResultNames;

// One key transition: the run's chart time (milliseconds, the first transition at 100) and the
// key level after it (1 down, 0 up).
struct TTransition {
    uint32_t TimeMs = 0;
    uint8_t Level = 0;
    bool operator==(const TTransition&) const = default;
};

// A stored run without its transitions: a line of the History window and of the history export.
struct TRunSummary {
    int64_t Id = 0;    // given by the history when stored
    int64_t Time = 0;  // when the run was analysed: milliseconds since 1970-01-01 UTC
    std::array<std::string, kResultCount> Results;  // the boxes' texts as shown
    std::string PracticeText;                       // empty when none was set
    // What the coach made of the run. Usable is empty for a run stored before the history kept
    // the coach's judgement, until it is judged; ReadBack and AccuracyPercent then mean nothing.
    std::optional<bool> Usable;             // fit to show the operator's progress
    std::string ReadBack;                   // the listener's read-back
    std::optional<double> AccuracyPercent;  // against the practice text; empty without one
    // The operator's choice: left out of the progress (true), taken back in (false), or none
    // made (the coach's judgement holds).
    std::optional<bool> LeftOut;

    // Whether the progress chart shows the run (see InProgress below).
    bool InProgress() const;

    // The shown integer figures; empty when the box held no integer (a run whose analysis
    // stopped before filling it).
    std::optional<int32_t> Speed() const { return Figure(kSpeedResult); }
    std::optional<int32_t> CharacterMerit() const { return Figure(kCharacterMeritResult); }
    std::optional<int32_t> WordMerit() const { return Figure(kWordMeritResult); }

    bool operator==(const TRunSummary&) const = default;

  private:
    std::optional<int32_t> Figure(size_t result) const;
};

// Whether the progress chart shows a run: the operator's choice, else the coach's judgement (a
// run not judged yet counts).
bool InProgress(std::optional<bool> usable, std::optional<bool> leftOut);

// What the History window shows of a run, a line of its list and a point of each progress line:
// the figures parsed, the practice text, the judgement without the read-back, the choice.
struct TProgressRun {
    int64_t Id = 0;
    int64_t Time = 0;  // milliseconds since 1970-01-01 UTC
    std::optional<int32_t> Speed;
    std::optional<int32_t> CharacterMerit;
    std::optional<int32_t> WordMerit;
    std::string PracticeText;
    std::optional<bool> Usable;
    std::optional<double> AccuracyPercent;
    std::optional<bool> LeftOut;

    bool InProgress() const { return history::InProgress(Usable, LeftOut); }
    bool operator==(const TProgressRun&) const = default;
};

// The window's part of a full summary.
TProgressRun ProgressRun(const TRunSummary& run);

// A box's text as an integer figure; empty when it holds none.
std::optional<int32_t> FigureOf(const std::string& text);

// A stored run with the transitions that redraw its chart.
struct TRun : TRunSummary {
    uint8_t StartLevel = 0;  // key level before the first transition
    std::vector<TTransition> Transitions;
    bool operator==(const TRun&) const = default;
};

// Packs transitions for storage (five bytes each: the time little-endian, then the level) and
// unpacks them; a damaged record (a partial entry, a level other than 0 or 1) raises EHistoryError.
std::string PackTransitions(const std::vector<TTransition>& transitions);
std::vector<TTransition> UnpackTransitions(const std::string& bytes);

}  // namespace history
