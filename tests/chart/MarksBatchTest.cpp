// Series marks measured once per paint with their boxes straight into the rows, against the same
// marks each measured and drawn through the general shapes: seeded random line, point and bar
// series with texts of many lengths and lines (some empty), frames, arrows in the point's
// colour, transparent and opaque boxes, fonts, arrow lengths, clipping, zoomed axes and nulls
// give the same picture, flat and in 3D, and the same stored mark positions.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "chart/component/Chart.h"
#include "chart/panel/ChartProcs.h"
#include "chart/series/AreaPointSeries.h"
#include "chart/series/BarSeries.h"

namespace chart {
namespace {

// A series kind whose marks are drawn one by one, the general path.
template <class TKind>
class TMarkByMark : public TKind {
  public:
    using TKind::TKind;
    void DrawMarks() override { this->DrawMarksOneByOne(); }
};

// The settings of one seeded case; Describe() reproduces it.
struct TCase {
    uint32_t Seed = 0;
    int32_t Points = 0;
    int32_t Kind = 0;  // 0 line, 1 point, 2 bar
    bool View3D = false;
    bool Frame = true;
    int32_t FrameWidth = 1;
    bool Arrow = true;
    bool ArrowInPointColor = false;
    bool Transparent = false;
    bool Clip = false;
    bool Zoomed = false;
    bool Bold = false;
    int32_t FontSize = 8;
    int32_t ArrowLength = 8;
    std::string Describe() const {
        std::ostringstream text;
        text << "TCase{" << Seed << ", " << Points << ", " << Kind << ", " << View3D << ", "
             << Frame << ", " << FrameWidth << ", " << Arrow << ", " << ArrowInPointColor << ", "
             << Transparent << ", " << Clip << ", " << Zoomed << ", " << Bold << ", " << FontSize
             << ", " << ArrowLength << "}";
        return text.str();
    }
};

// A text of 0 to 3 lines of varied characters; the same seed gives the same text.
std::string RandomText(std::mt19937& random) {
    static const std::string kCharacters = "0123456789.,-% WiMl|gjy";
    std::string text;
    const uint32_t lines = random() % 8 == 0 ? 0 : 1 + random() % 3;
    for (uint32_t line = 0; line < lines; ++line) {
        if (line > 0) {
            text += LineBreakChar;
        }
        const uint32_t length = random() % 12;
        for (uint32_t k = 0; k < length; ++k) {
            text += kCharacters[random() % kCharacters.size()];
        }
    }
    return text;
}

class TCaseChart {
  public:
    TCaseChart(const TCase& c, bool markByMark) {
        m_chart = new TChart(&m_form);
        m_chart->SetBounds(0, 0, 260, 180);
        m_chart->SetView3D(c.View3D);
        m_chart->Legend().SetVisible(false);
        switch (c.Kind) {
            case 0:
                m_series =
                    markByMark ? new TMarkByMark<TLineSeries>(&m_form) : new TLineSeries(&m_form);
                break;
            case 1:
                m_series =
                    markByMark ? new TMarkByMark<TPointSeries>(&m_form) : new TPointSeries(&m_form);
                break;
            default:
                m_series =
                    markByMark ? new TMarkByMark<TBarSeries>(&m_form) : new TBarSeries(&m_form);
                break;
        }
        m_chart->AddSeries(m_series);
        TSeriesMarks& marks = m_series->Marks();
        marks.SetVisible(true);
        marks.Frame().SetVisible(c.Frame);
        marks.Frame().SetWidth(c.FrameWidth);
        marks.Arrow().SetVisible(c.Arrow);
        marks.SetTransparent(c.Transparent);
        marks.SetClip(c.Clip);
        marks.SetArrowLength(c.ArrowLength);
        marks.Font().SetSize(c.FontSize);
        if (c.Bold) {
            marks.Font().SetStyle(gfx::TFontStyles{gfx::TFontStyle::fsBold});
        }
        if (c.ArrowInPointColor) {
            marks.Arrow().SetColor(m_series->SeriesColor());
        }
        std::mt19937 random(c.Seed);
        std::vector<std::string> texts;
        for (int32_t i = 0; i < c.Points; ++i) {
            texts.push_back(RandomText(random));
            const double y = static_cast<double>(random() % 100);
            if (random() % 12 == 0) {
                m_series->AppendNullXY(i, y);
            } else {
                m_series->AppendXY(i, y);
            }
        }
        m_series->SetOnGetMarkText([texts](TChartSeries&, int32_t index, std::string& text) {
            text = texts[static_cast<size_t>(index)];
        });
        if (c.Zoomed) {
            m_chart->BottomAxis().SetAxisRange(c.Points * 0.25, c.Points * 0.6);
            m_chart->LeftAxis().SetAxisRange(20, 70);
        }
    }

    const std::vector<uint32_t>& Paint() {
        m_chart->PartChanged();
        m_chart->Paint();
        return m_chart->Surface().Pixels();
    }
    // Where the marks were drawn, as "left top width height" per point.
    std::string Positions() {
        std::ostringstream text;
        TSeriesMarks& marks = m_series->Marks();
        for (int32_t i = 0; i < marks.PositionCount(); ++i) {
            const TSeriesMarkPosition& p = marks.Position(i);
            text << p.Left << ' ' << p.Top << ' ' << p.Width << ' ' << p.Height << ' ' << p.ArrowToY
                 << '\n';
        }
        return text.str();
    }

  private:
    classes::TComponent m_form{nullptr};
    TChart* m_chart = nullptr;
    TChartSeries* m_series = nullptr;
};

TEST(MarksBatchTest, MarksLookAsWhenDrawnOneByOne) {
    std::mt19937 random(8128);
    for (int trial = 0; trial < 240; ++trial) {
        TCase c;
        c.Seed = random();
        c.Points = 1 + static_cast<int32_t>(random() % 60);
        c.Kind = static_cast<int32_t>(random() % 3);
        c.View3D = trial % 4 == 0;
        c.Frame = random() % 4 != 0;
        c.FrameWidth = random() % 4 == 0 ? 2 : 1;
        c.Arrow = random() % 4 != 0;
        c.ArrowInPointColor = random() % 3 == 0;
        c.Transparent = random() % 4 == 0;
        c.Clip = random() % 3 == 0;
        c.Zoomed = random() % 3 == 0;
        c.Bold = random() % 4 == 0;
        c.FontSize = 6 + static_cast<int32_t>(random() % 8);
        c.ArrowLength = static_cast<int32_t>(random() % 16);
        TCaseChart batched(c, false);
        TCaseChart general(c, true);
        ASSERT_EQ(batched.Paint(), general.Paint()) << "trial " << trial << ": " << c.Describe();
        ASSERT_EQ(batched.Positions(), general.Positions())
            << "trial " << trial << ": " << c.Describe();
    }
}

}  // namespace
}  // namespace chart
