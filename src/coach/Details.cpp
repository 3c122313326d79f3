// The coach's results for one run, and their TAB-separated lines.
#include "coach/Details.h"

#include "base/Conversions.h"
#include "coach/Coaching.h"
#include "base/PrintableText.h"
#include "coach/Morse.h"

namespace coach {

TDetails ComputeDetails(const TKeyedRun& run) {
    TDetails details;
    details.Intervals = Intervals(run.Transitions);
    details.StrictIntervals = details.Intervals;
    details.Timing = Classify(details.StrictIntervals);
    details.StrictReadBack = Decode(details.StrictIntervals);
    details.Listening = Listen(details.Intervals);
    details.ReadBack = DecodeSplitting(details.Intervals);
    details.Coaching = CoachingSentence(details.Intervals, details.ReadBack, details.Listening,
                                        details.StrictIntervals, details.StrictReadBack);
    details.Spread = SpreadTable(details.Intervals);
    details.MarkHistogram = MarkHistogram(details.Intervals, details.Timing);
    details.SpaceHistogram = SpaceHistogram(details.Intervals, details.Timing);
    details.IdealMs = IdealLengthsMs(details.Timing.UnitMs);
    details.Speeds = RunSpeeds(details.Intervals, details.Timing.UnitMs);
    details.Verdicts = JudgeRun(details.Intervals, details.Timing.UnitMs);
    details.Worst = WorstCharacters(details.Intervals, details.ReadBack, details.Timing);
    details.PracticeText = run.PracticeText;
    details.HasPractice = !Symbols(run.PracticeText).empty();
    if (details.HasPractice) {
        details.Alignment = Align(run.PracticeText, details.ReadBack.Text);
    }
    return details;
}

std::string AlignmentCutNote() {
    return "(only the first " + base::UIntToStr(static_cast<uint32_t>(kMaxAlignedSymbols)) +
           " characters of each were compared)";
}

std::string DetailsNumber(double value) {
    return base::FormatFloat("0.#", value);
}

std::string VerdictValue(double value) {
    return base::FormatFloat("0.##", value);
}

std::vector<std::string> DetailsLines(const TDetails& details) {
    std::vector<std::string> lines;
    lines.push_back("ReadBack\t" + details.ReadBack.Text);
    lines.push_back("Strict\t" + details.StrictReadBack.Text);
    if (!details.Coaching.empty()) {
        lines.push_back("Coaching\t" + details.Coaching);
    }
    lines.push_back("Timing\t" + DetailsNumber(details.Timing.UnitMs) + "\tms\t" +
                    base::UIntToStr(details.Speeds.Wpm) + "\twpm\t" +
                    base::UIntToStr(details.Speeds.EffectiveWpm) + "\teffective wpm");
    const std::string note = MainWindowSpeedNote(details.Speeds);
    if (!note.empty()) {
        lines.push_back("SpeedNote\t" + note);
    }
    for (int k = 0; k < kElementKindCount; ++k) {
        const TSpread& s = details.Spread[static_cast<size_t>(k)];
        lines.push_back(std::string("Spread\t") + KindName(static_cast<TElementKind>(k)) + "\t" +
                        base::UIntToStr(s.Count) + "\t" + DetailsNumber(s.MeanMs) + "\t" +
                        DetailsNumber(s.DeviationMs) + "\t" + DetailsNumber(s.VariationPercent) +
                        "\t" + base::UIntToStr(s.MinMs) + "\t" + base::UIntToStr(s.MaxMs));
    }
    for (const TCharacterStray& stray : details.Worst) {
        lines.push_back("Worst\t" + stray.Sentence);
    }
    if (details.HasPractice) {
        const TAlignmentLines aligned = AlignmentLines(details.Alignment);
        // The practice text is the user's file: its control bytes must not act on a terminal.
        lines.push_back("Sent\t" + base::PrintableText(aligned.Sent));
        lines.push_back("Read\t" + aligned.Read);
        lines.push_back("Marks\t" + aligned.Marks);
        std::string accuracy =
            "Accuracy\t" + DetailsNumber(details.Alignment.AccuracyPercent) + " %";
        if (details.Alignment.Cut) {
            accuracy += "\t" + AlignmentCutNote();
        }
        lines.push_back(accuracy);
    }
    for (const TVerdict& verdict : details.Verdicts.Figures) {
        lines.push_back(std::string("Verdict\t") + FigureName(verdict.Figure) + "\t" +
                        VerdictValue(verdict.Value) + "\t" + GradeName(verdict.Grade));
    }
    for (const std::string& advice : details.Verdicts.Advice) {
        lines.push_back("Advice\t" + advice);
    }
    return lines;
}

}  // namespace coach
