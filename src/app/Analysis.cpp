// Analyze: splits the run into marks and spaces, the marks into dits and dahs and the spaces into
// element and character spaces around their averages, and fills the result boxes with the
// averages, the timing ratios, the speed, both merit scores and the advice.
#include <cmath>

#include "app/MainForm.h"
#include "base/Arith.h"
#include "base/Conversions.h"

namespace app {

namespace {
// Ideal timing: a dah plus a space is twice a dit plus a space; a dit as long as its space; a
// character space as long as a dit, a dah and two element spaces halved.
constexpr double kIdealRatio = 2.0;
constexpr double kIdealWeight = 1.0;
constexpr double kIdealCharSpace = 1.0;
constexpr double kPerfectScore = 100.0;
// Points lost per unit of deviation.
constexpr double kWeightCost = 20.0;
constexpr double kShortDashCost = 100.0;
constexpr double kLongDashCost = 50.0;
constexpr double kShortCharSpaceCost = 30.0;  // C above 1: the character space is short
constexpr double kLongCharSpaceCost = 10.0;   // C below 1: the character space is long
// Words per minute from the length of one dit, dah and both spaces, milliseconds.
constexpr uint32_t kSpeedDividend = 9600;

// Result boxes by what they show.
constexpr int kDitBox = 1, kDahBox = 2, kDitSpaceBox = 3, kDahSpaceBox = 4, kRatioBox = 5,
              kWeightBox = 6, kCharMeritBox = 7, kWeightAdviceBox = 8, kDashAdviceBox = 9,
              kSpeedBox = 10, kWordMeritBox = 11, kCharSpaceBox = 12, kCharSpaceAdviceBox = 13;
// Data boxes of the analysis.
constexpr int kTimesMemo = 1, kScratchMemo = 3, kMarksMemo = 4, kSpacesMemo = 5;
}  // namespace

int32_t TForm1::LineInt(int memo, int32_t index) const {
    return base::StrToInt(Memo(memo).Lines().Strings(index));
}

uint32_t TForm1::Average(int memo) const {
    const classes::TLineList& lines = Memo(memo).Lines();
    const int32_t count = lines.Count();
    uint32_t sum = 0;
    for (int32_t i = 0; i < count; ++i) {
        sum += static_cast<uint32_t>(base::StrToInt(lines.Strings(i)));
    }
    return static_cast<uint32_t>(base::DivTrunc(static_cast<int64_t>(sum), count));
}

void TForm1::CopySplit(int from, int to, uint32_t average, bool below) {
    const classes::TLineList& source = Memo(from).Lines();
    classes::TLineList& target = Memo(to).Lines();
    target.Clear();
    const int32_t count = source.Count();
    for (int32_t i = 0; i < count; ++i) {
        const std::string line = source.Strings(i);
        // The signed value and the unsigned average compare as 64-bit integers.
        const int64_t value = base::StrToInt(line);
        const int64_t avg = average;
        if (below ? value < avg : value > avg) {
            target.Add(line);
        }
    }
}

void TForm1::Button2Click(classes::TPersistent* /*sender*/) {
    m_button2->SetEnabled(false);
    Memo(kMarksMemo).Lines().Clear();
    Memo(kSpacesMemo).Lines().Clear();
    const int32_t n = Memo(kTimesMemo).Lines().Count();
    for (int32_t i = 1; i < n; i += 2) {
        const uint32_t mark = static_cast<uint32_t>(LineInt(kTimesMemo, i)) -
                              static_cast<uint32_t>(LineInt(kTimesMemo, i - 1));
        Memo(kMarksMemo).Lines().Add(base::UIntToStr(mark));
    }
    for (int32_t i = 2; i < n; i += 2) {
        const uint32_t space = static_cast<uint32_t>(LineInt(kTimesMemo, i)) -
                               static_cast<uint32_t>(LineInt(kTimesMemo, i - 1));
        Memo(kSpacesMemo).Lines().Add(base::UIntToStr(space));
    }
    const uint32_t avgMark = Average(kMarksMemo);
    const uint32_t avgSpace = Average(kSpacesMemo);

    CopySplit(kMarksMemo, kTimesMemo, avgMark, true);
    const uint32_t dit = Average(kTimesMemo);
    Edit(kDitBox).SetText(base::UIntToStr(dit));
    CopySplit(kMarksMemo, kScratchMemo, avgMark, false);
    const uint32_t dah = Average(kScratchMemo);
    Edit(kDahBox).SetText(base::UIntToStr(dah));
    CopySplit(kSpacesMemo, kTimesMemo, avgSpace, true);
    const uint32_t ditSpace = Average(kTimesMemo);
    Edit(kDitSpaceBox).SetText(base::UIntToStr(ditSpace));
    CopySplit(kSpacesMemo, kScratchMemo, avgSpace, false);
    const uint32_t dahSpace = Average(kScratchMemo);
    Edit(kDahSpaceBox).SetText(base::UIntToStr(dahSpace));

    const double ratio = base::DivFloat(static_cast<long double>(dah + ditSpace),
                                        static_cast<long double>(dit + ditSpace));
    Edit(kRatioBox).SetText(base::FloatToStr(ratio));
    const double weight =
        base::DivFloat(static_cast<long double>(dit), static_cast<long double>(ditSpace));
    Edit(kWeightBox).SetText(base::FloatToStr(weight));
    const uint32_t wpm = base::DivUnsigned(kSpeedDividend, dit + ditSpace + dah + dahSpace);
    Edit(kSpeedBox).SetText(base::UIntToStr(wpm));

    // Each intermediate score is stored as a 64-bit float.
    double score = std::fabs(weight - kIdealWeight) * kWeightCost;
    if (ratio < kIdealRatio) {
        score = (kIdealRatio - ratio) * kShortDashCost + score;
    }
    if (ratio > kIdealRatio) {
        score = (ratio - kIdealRatio) * kLongDashCost + score;
    }
    score = kPerfectScore - score;
    Edit(kCharMeritBox).SetText(base::IntToStr(base::Round(score)));

    m_start->SetEnabled(true);
    m_start->SetCaption("Re-start: Press TWICE");

    if (weight > kIdealWeight) {
        Edit(kWeightAdviceBox).SetText("weighting is heavy");
    }
    if (weight < kIdealWeight) {
        Edit(kWeightAdviceBox).SetText("weighting is light");
    }
    if (ratio > kIdealRatio) {
        Edit(kDashAdviceBox).SetText("dashes are too long");
    }
    if (ratio < kIdealRatio) {
        Edit(kDashAdviceBox).SetText("dashes are too short");
    }

    double charSpace = static_cast<double>(dit + dah + 2 * ditSpace) / 2.0;
    charSpace = base::DivFloat(charSpace, static_cast<long double>(dahSpace));
    if (charSpace > kIdealCharSpace) {
        score = score - (charSpace - kIdealCharSpace) * kShortCharSpaceCost;
    }
    if (charSpace < kIdealCharSpace) {
        score = score - (kIdealCharSpace - charSpace) * kLongCharSpaceCost;
    }
    Edit(kWordMeritBox).SetText(base::IntToStr(base::Round(score)));
    Edit(kCharSpaceBox).SetText(base::FloatToStr(charSpace));
    if (charSpace > kIdealCharSpace) {
        Edit(kCharSpaceAdviceBox).SetText("Charspace is short");
    }
    if (charSpace < kIdealCharSpace) {
        Edit(kCharSpaceAdviceBox).SetText("Charspace is long");
    }
}

}  // namespace app
