// The Details window: the coach's text for a run in a memo box and the two histograms drawn by
// the chart engine, each with red lines at the ideal lengths for the run's speed.
#include "app/DetailsForm.h"

#include <algorithm>

#include "app/DesignTexts.h"
#include "app/FormClass.h"
#include "app/MainForm.h"
#include "base/Conversions.h"
#include "chart/component/Chart.h"
#include "chart/component/ChartTitle.h"
#include "chart/engine/Series.h"
#include "classes/ClassBuilder.h"
#include "classes/DesignData.h"

namespace app {

namespace {
// Widths of the spread table's columns, characters.
constexpr size_t kKindColumn = 16;
constexpr size_t kNumberColumn = 8;
// Widths of the verdicts' columns: the figure, its value, what the value counts.
constexpr size_t kFigureColumn = 21;
constexpr size_t kUnitColumn = 7;
// Characters of a sentence's line in the memo boxes, which do not wrap by themselves.
constexpr size_t kAdviceWidth = 66;

std::string PadLeft(const std::string& text, size_t width) {
    return text.size() >= width ? " " + text : std::string(width - text.size(), ' ') + text;
}

std::string PadRight(const std::string& text, size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

// A sentence broken at blanks into lines of at most `width` characters (a longer word has a line
// of its own); the lines after the first are indented by two blanks.
std::vector<std::string> Wrapped(const std::string& sentence, size_t width) {
    std::vector<std::string> lines;
    std::string line;
    size_t from = 0;
    while (from < sentence.size()) {
        size_t to = sentence.find(' ', from);
        to = to == std::string::npos ? sentence.size() : to;
        const std::string word = sentence.substr(from, to - from);
        from = to + 1;
        if (word.empty()) {
            continue;
        }
        const std::string indent = lines.empty() ? "" : "  ";
        if (!line.empty() && indent.size() + line.size() + 1 + word.size() > width) {
            lines.push_back(indent + line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) {
        lines.push_back((lines.empty() ? "" : "  ") + line);
    }
    return lines;
}

// Bars at the middle of their bins, and the ideal lengths as vertical lines as high as the
// highest bar, kept apart by null points.
void FillHistogram(chart::TChartSeries& bars, chart::TChartSeries& ideals,
                   const coach::THistogram& histogram, const std::vector<double>& idealMs) {
    bars.ClearPoints();
    ideals.ClearPoints();
    uint32_t highest = 1;
    for (size_t i = 0; i < histogram.Counts.size(); ++i) {
        const double middle = (static_cast<double>(i) + 0.5) * histogram.BinWidthMs;
        bars.AppendXY(middle, histogram.Counts[i], "", chart::clSeriesDefault);
        highest = std::max(highest, histogram.Counts[i]);
    }
    for (size_t i = 0; i < idealMs.size(); ++i) {
        if (idealMs[i] <= 0) {
            continue;
        }
        if (ideals.PointCount() > 0) {
            ideals.AppendXY(idealMs[i], 0, "", gfx::clNone);
        }
        ideals.AppendXY(idealMs[i], 0, "", chart::clSeriesDefault);
        ideals.AppendXY(idealMs[i], highest, "", chart::clSeriesDefault);
    }
}

void SetTitle(chart::TChart& chart, const std::string& text) {
    chart.Title().SetText(classes::TStringList({text}));
}
}  // namespace

const classes::TClassInfo& TDetailsForm::StaticClass() {
    return FormClass<TDetailsForm>("TDetailsForm");
}

const classes::TClassInfo& TDetailsForm::ClassInfo() const {
    return StaticClass();
}

template <class T>
T* TDetailsForm::Field(std::string_view name) const {
    T* field = dynamic_cast<T*>(FindComponent(name));
    if (field == nullptr) {
        throw std::logic_error("the Details window's design data lacks " + std::string(name));
    }
    return field;
}

TDetailsForm::TDetailsForm(classes::TComponent* owner) : forms::TForm(owner) {
    classes::ReadComponent(DesignText("TDetailsForm"), *this);
    m_text = Field<forms::TMemo>("TextMemo");
    m_strict = Field<forms::TEdit>("StrictEdit");
    m_coaching = Field<forms::TLabel>("CoachingLabel");
    m_verdicts = Field<forms::TMemo>("VerdictMemo");
    m_markChart = Field<chart::TChart>("MarkChart");
    m_spaceChart = Field<chart::TChart>("SpaceChart");
    m_markBars = Field<chart::TChartSeries>("MarkBars");
    m_markIdeals = Field<chart::TChartSeries>("MarkIdeals");
    m_spaceBars = Field<chart::TChartSeries>("SpaceBars");
    m_spaceIdeals = Field<chart::TChartSeries>("SpaceIdeals");
    FillNoRun();
}

void TDetailsForm::ShowRun(const coach::TKeyedRun& run, const std::string& heading) {
    Fill(run, heading);
    Show();
}

void TDetailsForm::ShowLastRun(const TForm1& main) {
    if (const coach::TKeyedRun* run = main.LastAnalysedRun()) {
        Fill(*run, "The last run");
    } else {
        FillNoRun();
    }
    Show();
}

void TDetailsForm::FillNoRun() {
    m_text->Lines().SetRawLines({kNoRunText});
    m_strict->SetText("");
    m_coaching->SetCaption("");
    m_verdicts->Lines().SetRawLines({});
    m_markBars->ClearPoints();
    m_markIdeals->ClearPoints();
    m_spaceBars->ClearPoints();
    m_spaceIdeals->ClearPoints();
    SetTitle(*m_markChart, "Marks, ms");
    SetTitle(*m_spaceChart, "Spaces, ms");
}

void TDetailsForm::Fill(const coach::TKeyedRun& run, const std::string& heading) {
    const coach::TDetails details = coach::ComputeDetails(run);
    std::vector<std::string> lines;
    if (!heading.empty()) {
        lines.push_back(heading);
        lines.emplace_back();
    }
    const std::vector<std::string> text = DetailsText(details);
    lines.insert(lines.end(), text.begin(), text.end());
    m_text->Lines().SetRawLines(std::move(lines));
    m_strict->SetText(details.StrictReadBack.Text);
    // The sentence is empty only when both readings are the same.
    m_coaching->SetCaption(details.Coaching.empty() ? "It reads the same as the read-back."
                                                    : "Coaching: " + details.Coaching);
    m_verdicts->Lines().SetRawLines(VerdictText(details.Verdicts));

    using coach::TElementKind;
    auto ideal = [&](TElementKind kind) { return details.IdealMs[static_cast<size_t>(kind)]; };
    FillHistogram(*m_markBars, *m_markIdeals, details.MarkHistogram,
                  {ideal(TElementKind::ekDit), ideal(TElementKind::ekDah)});
    FillHistogram(*m_spaceBars, *m_spaceIdeals, details.SpaceHistogram,
                  {ideal(TElementKind::ekElementGap), ideal(TElementKind::ekCharacterGap),
                   ideal(TElementKind::ekWordGap)});
    const std::string speed = base::UIntToStr(details.Speeds.Wpm) + " wpm";
    SetTitle(*m_markChart, "Marks, ms (red: ideal dit and dah at " + speed + ")");
    SetTitle(*m_spaceChart, "Spaces, ms (red: ideal gaps at " + speed + ")");
}

std::vector<std::string> DetailsText(const coach::TDetails& details) {
    std::vector<std::string> lines;
    lines.push_back("Read back:");
    lines.push_back(details.ReadBack.Text.empty() ? "(nothing)" : details.ReadBack.Text);
    lines.emplace_back();
    if (details.HasPractice) {
        const coach::TAlignment& alignment = details.Alignment;
        const coach::TAlignmentLines aligned = coach::AlignmentLines(alignment);
        lines.push_back("Practice text against the read-back (~ wrong, - missed, + extra):");
        lines.push_back("Sent  " + aligned.Sent);
        lines.push_back("Read  " + aligned.Read);
        lines.push_back("      " + aligned.Marks);
        lines.push_back("Character accuracy: " + coach::DetailsNumber(alignment.AccuracyPercent) +
                        " % (" + base::UIntToStr(static_cast<uint32_t>(alignment.Wrong)) +
                        " wrong, " + base::UIntToStr(static_cast<uint32_t>(alignment.Missed)) +
                        " missed, " + base::UIntToStr(static_cast<uint32_t>(alignment.Extra)) +
                        " extra)");
        if (alignment.Cut) {
            lines.push_back(coach::AlignmentCutNote());
        }
        lines.emplace_back();
    }
    lines.push_back("Unit " + coach::DetailsNumber(details.Timing.UnitMs) +
                    " ms (the average dit), speed " + base::UIntToStr(details.Speeds.Wpm) +
                    " wpm;");
    lines.push_back("with the gaps as keyed, " + base::UIntToStr(details.Speeds.EffectiveWpm) +
                    " wpm effective.");
    const std::vector<std::string> note =
        Wrapped(coach::MainWindowSpeedNote(details.Speeds), kAdviceWidth);
    lines.insert(lines.end(), note.begin(), note.end());
    lines.emplace_back();
    const char* const headings[] = {"count", "mean", "sd", "cv %", "min", "max"};
    std::string header = PadRight("ms", kKindColumn);
    for (const char* heading : headings) {
        header += PadLeft(heading, kNumberColumn);
    }
    lines.push_back(header);
    for (int k = 0; k < coach::kElementKindCount; ++k) {
        const coach::TSpread& s = details.Spread[static_cast<size_t>(k)];
        lines.push_back(
            PadRight(coach::KindName(static_cast<coach::TElementKind>(k)), kKindColumn) +
            PadLeft(base::UIntToStr(s.Count), kNumberColumn) +
            PadLeft(coach::DetailsNumber(s.MeanMs), kNumberColumn) +
            PadLeft(coach::DetailsNumber(s.DeviationMs), kNumberColumn) +
            PadLeft(coach::DetailsNumber(s.VariationPercent), kNumberColumn) +
            PadLeft(base::UIntToStr(s.MinMs), kNumberColumn) +
            PadLeft(base::UIntToStr(s.MaxMs), kNumberColumn));
    }
    lines.emplace_back();
    lines.push_back("Worst characters:");
    if (details.Worst.empty()) {
        lines.push_back("(none)");
    }
    for (const coach::TCharacterStray& stray : details.Worst) {
        lines.push_back(stray.Sentence);
    }
    return lines;
}

std::vector<std::string> VerdictText(const coach::TVerdicts& verdicts) {
    // The advice first: it is what the operator acts on, and stays in sight when the rows do not.
    std::vector<std::string> lines;
    for (const std::string& advice : verdicts.Advice) {
        const std::vector<std::string> wrapped = Wrapped(advice, kAdviceWidth);
        lines.insert(lines.end(), wrapped.begin(), wrapped.end());
    }
    if (!lines.empty() && !verdicts.Figures.empty()) {
        lines.emplace_back();
    }
    for (const coach::TVerdict& verdict : verdicts.Figures) {
        // The weighting's sign tells heavy from light; a value that shows as 0 has none.
        std::string value = coach::VerdictValue(verdict.Value);
        if (verdict.Figure == coach::TFigure::fgWeighting && value != "0" && verdict.Value > 0) {
            value = "+" + value;
        }
        lines.push_back(PadRight(coach::FigureName(verdict.Figure), kFigureColumn) +
                        PadLeft(value, kNumberColumn) + " " +
                        PadRight(coach::FigureUnit(verdict.Figure), kUnitColumn) +
                        coach::GradeName(verdict.Grade));
    }
    return lines;
}

}  // namespace app
