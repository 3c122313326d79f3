// The axis panel: its series list, axes, repaint requests and the paint sequence with the drawing
// of each series, its clipping and its marks (the depth order is in AxisPanelDepth.cpp).
#include "chart/engine/AxisPanel.h"

#include <algorithm>

#include "base/Arith.h"
#include "chart/engine/Series.h"
#include "chart/messages/ChartMessages.h"
#include "classes/ClassBuilder.h"

namespace chart {

namespace {
// Default title angles of the side axes, degrees.
constexpr int32_t kLeftTitleAngle = 90;
constexpr int32_t kRightTitleAngle = 270;

// While it lives, and when asked to, the chart's drawing is clipped to its chart rectangle from
// the front to the back of the 3D depth; the clip goes however the drawing ends.
class TPlotClip {
  public:
    TPlotClip(TCustomAxisPanel& chart, bool clip) : m_chart(chart), m_clip(clip) {
        if (m_clip) {
            chart.Canvas().ClipToBox(chart.PlotRect(), 0, chart.DepthExtent());
        }
    }
    TPlotClip(const TPlotClip&) = delete;
    TPlotClip& operator=(const TPlotClip&) = delete;
    ~TPlotClip() {
        if (m_clip) {
            m_chart.Canvas().ClearClip();
        }
    }

  private:
    TCustomAxisPanel& m_chart;
    bool m_clip;
};
}  // namespace

TCustomAxisPanel::TCustomAxisPanel(classes::TComponent* owner) : TCustomChartPanelExtended(owner) {
    m_axisHooks.WallSize = [this](TAxisWall wall) { return AxisWallSize(wall); };
    m_axisHooks.IsAxisShown = [this](const TCustomChartAxis& axis) { return IsAxisShown(axis); };
    const auto make = [this](bool horizontal, bool otherSide, int32_t titleAngle) {
        auto axis = std::make_unique<TChartAxis>(this);
        axis->SetHorizontal(horizontal);
        axis->SetOtherSide(otherSide);
        axis->SetDefaultTitleAngle(titleAngle);
        TChartAxis* result = axis.get();
        AddAxis(std::move(axis));
        return result;
    };
    m_bottomAxis = make(true, false, 0);
    m_topAxis = make(true, true, 0);
    m_leftAxis = make(false, false, kLeftTitleAngle);
    m_rightAxis = make(false, true, kRightTitleAngle);
    auto depth = std::make_unique<TChartDepthAxis>(this);
    depth->SetOtherSide(true);
    depth->SetIsZAxis(true);
    depth->SetVisible(false);
    m_depthAxis = depth.get();
    AddAxis(std::move(depth));
}

TCustomAxisPanel::~TCustomAxisPanel() {
    MarkDestroying();
    FreeAllSeries();
    // Taken out of the list first, so a freed axis finds nothing to leave.
    std::vector<TCustomChartAxis*> axes;
    axes.swap(m_axesList);
    for (TCustomChartAxis* axis : axes) {
        delete axis;
    }
}

void TCustomAxisPanel::Assign(const classes::TPersistent& source) {
    if (const auto* other = dynamic_cast<const TCustomAxisPanel*>(&source)) {
        m_axisVisible = other->m_axisVisible;
        m_clipPoints = other->m_clipPoints;
        m_maxPointsPerPage = other->m_maxPointsPerPage;
        m_page = other->m_page;
        m_scaleLastPage = other->m_scaleLastPage;
        m_view3DWalls = other->m_view3DWalls;
        m_bottomAxis->Assign(*other->m_bottomAxis);
        m_topAxis->Assign(*other->m_topAxis);
        m_leftAxis->Assign(*other->m_leftAxis);
        m_rightAxis->Assign(*other->m_rightAxis);
        m_depthAxis->Assign(*other->m_depthAxis);
    }
    TCustomChartPanelExtended::Assign(source);
}

void TCustomAxisPanel::AddAxis(std::unique_ptr<TCustomChartAxis> axis) {
    AppendAxis(*axis.release());
}

void TCustomAxisPanel::AppendAxis(TCustomChartAxis& axis) {
    axis.SetChartHooks(&m_axisHooks);
    if (std::find(m_axesList.begin(), m_axesList.end(), &axis) == m_axesList.end()) {
        m_axesList.push_back(&axis);
    }
}

void TCustomAxisPanel::RemoveAxis(TCustomChartAxis& axis) {
    if (&axis.ChartHooks() == &m_axisHooks) {
        axis.SetChartHooks(nullptr);
    }
    const auto at = std::find(m_axesList.begin(), m_axesList.end(), &axis);
    if (at == m_axesList.end()) {
        return;
    }
    m_axesList.erase(at);
    // Series bound to the freed axis go back to their default one.
    for (int32_t i = 0; i < SeriesCount(); ++i) {
        TChartSeries& series = *Series(i);
        if (series.CustomHorizAxis() == &axis) {
            series.SetCustomHorizAxis(nullptr);
        }
        if (series.CustomVertAxis() == &axis) {
            series.SetCustomVertAxis(nullptr);
        }
    }
    MarkForRepaint();
}

bool TCustomAxisPanel::IsAxisShown(const TCustomChartAxis& axis) const {
    if (!m_axisVisible || !axis.Visible()) {
        return false;
    }
    if (axis.IsZAxis()) {
        return View3D();
    }
    // Series drawn without axes (pies) neither show nor hide axes.
    bool anyActive = false;
    for (const TChartSeries* series : m_seriesList) {
        if (series->Active() && series->UsesAxes()) {
            anyActive = true;
            if (axis.UsesAxis(*series)) {
                return true;
            }
        }
    }
    return !anyActive;
}

TCustomChartAxis& TCustomAxisPanel::HorizAxisOf(const TChartSeries& series) const {
    if (series.HorizontalAxisRef() != nullptr && series.ParentChart() == this) {
        return *series.HorizontalAxisRef();
    }
    return series.HorizAxis() == THorizAxis::aTopAxis ? static_cast<TCustomChartAxis&>(*m_topAxis)
                                                      : *m_bottomAxis;
}

TCustomChartAxis& TCustomAxisPanel::VertAxisOf(const TChartSeries& series) const {
    if (series.VerticalAxisRef() != nullptr && series.ParentChart() == this) {
        return *series.VerticalAxisRef();
    }
    return series.VertAxis() == TVertAxis::aRightAxis ? static_cast<TCustomChartAxis&>(*m_rightAxis)
                                                      : *m_leftAxis;
}

int32_t TCustomAxisPanel::SeriesValueToPixel(const TChartSeries& series, double value,
                                             bool horizontal) const {
    return horizontal ? HorizAxisOf(series).ValueToXPos(value)
                      : VertAxisOf(series).ValueToYPos(value);
}

void TCustomAxisPanel::SeriesValuesToPixels(const TChartSeries& series,
                                            std::span<const double> values,
                                            std::span<int32_t> pixels, bool horizontal) const {
    const TCustomChartAxis& axis = horizontal ? HorizAxisOf(series) : VertAxisOf(series);
    axis.PixelMapping(horizontal).Pixels(values, pixels);
}

double TCustomAxisPanel::SeriesPixelToValue(const TChartSeries& series, int32_t pixel,
                                            bool horizontal) const {
    return (horizontal ? HorizAxisOf(series) : VertAxisOf(series)).PosToValue(pixel);
}

bool TCustomAxisPanel::SeriesAxisInverted(const TChartSeries& series, bool horizontal) const {
    return (horizontal ? HorizAxisOf(series) : VertAxisOf(series)).Inverted();
}

const classes::TClassInfo& TCustomAxisPanel::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TCustomAxisPanel>("TCustomAxisPanel",
                                                 &TCustomChartPanelExtended::StaticClass())
            .Build();
    return info;
}

const classes::TClassInfo& TCustomAxisPanel::ClassInfo() const {
    return StaticClass();
}

void TCustomAxisPanel::AddSeries(TChartSeries* series) {
    if (series == nullptr ||
        std::find(m_seriesList.begin(), m_seriesList.end(), series) != m_seriesList.end()) {
        return;
    }
    if (series->SeriesColor() == clSeriesDefault) {
        series->SetSeriesColor(FreeSeriesColor(true));
    }
    // Listed first, so that the series' own SetParentChart finds it here and stops.
    m_seriesList.push_back(series);
    series->SetParentChart(this);
    if (Designing() || series->Designing()) {
        series->FillSampleValues(series->SampleValueCount());
    }
    MarkForRepaint();
}

void TCustomAxisPanel::RemoveSeries(TChartSeries* series) {
    const auto it = std::find(m_seriesList.begin(), m_seriesList.end(), series);
    if (it == m_seriesList.end()) {
        return;
    }
    m_seriesList.erase(it);
    series->SetParentChart(nullptr);
    // The chart may be showing the series' cursor (the mouse was over one of its points).
    if (Cursor() == series->Cursor()) {
        SetCursor(SavedCursor());
    }
    MarkForRepaint();
}

void TCustomAxisPanel::FreeAllSeries() {
    while (!m_seriesList.empty()) {
        TChartSeries* first = m_seriesList.front();
        RemoveSeries(first);
        delete first;
    }
}

TChartSeries* TCustomAxisPanel::Series(int32_t index) const {
    if (index < 0 || index >= SeriesCount()) {
        base::ThrowListIndexError(index);
    }
    return m_seriesList[static_cast<size_t>(index)];
}

int32_t TCustomAxisPanel::MaxPointCount() const {
    int32_t result = 0;
    for (const TChartSeries* series : m_seriesList) {
        if (series->Active()) {
            result = std::max(result, series->PointCount());
        }
    }
    return result;
}

bool TCustomAxisPanel::IsColorFree(gfx::TColor color, bool checkBackground) const {
    if (checkBackground && color == Color()) {
        return false;
    }
    return std::none_of(m_seriesList.begin(), m_seriesList.end(),
                        [color](const TChartSeries* s) { return s->SeriesColor() == color; });
}

gfx::TColor TCustomAxisPanel::FreeSeriesColor(bool checkBackground) const {
    for (int32_t i = 0; i < kPaletteSize; ++i) {
        if (IsColorFree(PaletteColor(i), checkBackground)) {
            return PaletteColor(i);
        }
    }
    return PaletteColor(kPaletteSize);
}

TChartSeries* TCustomAxisPanel::LegendSeries(int32_t k) const {
    int32_t shown = 0;
    for (TChartSeries* series : m_seriesList) {
        if (series->Active() && series->ShowInLegend() && shown++ == k) {
            return series;
        }
    }
    return nullptr;
}

std::string TCustomAxisPanel::LegendSeriesTitle(int32_t k) const {
    const TChartSeries* series = LegendSeries(k);
    if (series == nullptr) {
        return std::string();
    }
    if (!series->Title().empty()) {
        return series->Title();
    }
    return !series->Name().empty() ? series->Name() : kMsgSeriesTitlePrefix + std::to_string(k);
}

void TCustomAxisPanel::MarkForRepaint() {
    if (!AutoRepaint() || Destroying()) {
        return;
    }
    ++m_repaintRequests;
    m_repaintPending = true;
    TCustomChartPanelExtended::MarkForRepaint();
}

void TCustomAxisPanel::GetChildren(const std::function<void(classes::TComponent*)>& proc,
                                   classes::TComponent* root) const {
    TCustomChartPanelExtended::GetChildren(proc, root);
    for (TChartSeries* series : m_seriesList) {
        if (series->Owner() == root) {
            proc(series);
        }
    }
}

void TCustomAxisPanel::DrawChartContent(const gfx::TRect& rect) {
    m_axisHooks.MaxPointsPerPage = m_maxPointsPerPage;
    m_axisHooks.Page = m_page;
    m_axisHooks.ScaleLastPage = m_scaleLastPage;
    PaintPanelFrame(rect);
    for (TChartSeries* series : m_seriesList) {
        if (series->Active()) {
            series->BeforeChartDraw();
        }
    }
    DrawTitlesAndLegend();
    ComputeDepthOrder();
    m_axisHooks.MaxDepthIndex = m_maxDepthIndex;
    LayoutAxes();
    ComputeDepthPositions();
    ApplySeriesMargins();
    TChartCanvas3D& canvas = Canvas();
    canvas.SetupProjection(DepthExtent(), PanelBounds(), PlotRect());
    if (canvas.RendersWholeScene()) {
        const gfx::TRect saved = PlotRect();
        SetPlotRect(PanelBounds());
        DrawTitlesAndLegend();
        SetPlotRect(saved);
    }
    DrawWalls();
    const auto drawAxes = [this] {
        if (!m_axisVisible) {
            return;
        }
        if (m_onBeforeDrawAxes) {
            m_onBeforeDrawAxes(this);
        }
        DrawAxes();
    };
    if (AxesBeforeSeries) {
        drawAxes();
    }
    if (m_onBeforeDrawSeries) {
        m_onBeforeDrawSeries(this);
    }
    // A copy: an event handler of a series may add or remove series.
    const std::vector<TChartSeries*> seriesList = m_seriesList;
    std::vector<const TChartSeries*> drawn;
    for (TChartSeries* series : seriesList) {
        if (!series->Active() || std::find(drawn.begin(), drawn.end(), series) != drawn.end()) {
            continue;
        }
        if (View3D() && SharesDepth(*series)) {
            DrawSharedSlot(*series);
            for (const TChartSeries* other : m_seriesList) {
                if (other->Active() && other->AutoDepth() == series->AutoDepth()) {
                    drawn.push_back(other);
                }
            }
        } else {
            DrawSeries(*series);
        }
    }
    if (!AxesBeforeSeries) {
        drawAxes();
    }
    if (ZoomState().Engaged) {
        XorZoomFrame();
    }
    canvas.ResetDrawingState();
    if (OnAfterDraw()) {
        OnAfterDraw()(this);
    }
}

void TCustomAxisPanel::DrawAxes() {
    for (TCustomChartAxis* axis : m_axesList) {
        if (IsAxisShown(*axis)) {
            axis->DrawAxis(true);
        }
    }
}

void TCustomAxisPanel::DrawSeries(TChartSeries& series) {
    series.ComputeVisibleRange();
    if (series.FirstVisibleIndex() == -1) {
        return;
    }
    series.DoBeforeDrawValues();
    {
        const TPlotClip clip(*this, m_clipPoints && ClippingAllowed());
        series.DrawPoints();
    }
    DrawSeriesMarks(series);
    series.DoAfterDrawValues();
}

void TCustomAxisPanel::DrawSeriesMarks(TChartSeries& series) {
    if (!series.Marks().Visible()) {
        return;
    }
    const TPlotClip clip(*this, series.Marks().Clip() && ClippingAllowed());
    series.DrawMarks();
}

bool TCustomAxisPanel::SharesDepth(const TChartSeries& series) const {
    return std::any_of(m_seriesList.begin(), m_seriesList.end(), [&series](const TChartSeries* s) {
        return s != &series && s->Active() && s->AutoDepth() == series.AutoDepth();
    });
}

void TCustomAxisPanel::DrawSharedSlot(TChartSeries& first) {
    std::vector<TChartSeries*> group;
    const auto start = std::find(m_seriesList.begin(), m_seriesList.end(), &first);
    for (auto it = start; it != m_seriesList.end(); ++it) {
        if ((*it)->Active() && (*it)->AutoDepth() == first.AutoDepth()) {
            group.push_back(*it);
        }
    }
    int32_t low = -1;
    int32_t high = -1;
    for (TChartSeries* series : group) {
        series->ComputeVisibleRange();
        series->DoBeforeDrawValues();
        if (series->FirstVisibleIndex() != -1) {
            low = low == -1 ? series->FirstVisibleIndex()
                            : std::min(low, series->FirstVisibleIndex());
            high = std::max(high, series->LastVisibleIndex());
        }
    }
    const auto drawIndex = [&](int32_t index) {
        const bool forward = index >= first.PointCount() || first.SeriesOrderAtIndex(index);
        const auto drawOne = [index](TChartSeries* series) {
            // Only a series with a visible point at that index draws it.
            if (series->FirstVisibleIndex() != -1 && index >= series->FirstVisibleIndex() &&
                index <= series->LastVisibleIndex()) {
                series->DrawPoint(index);
            }
        };
        if (forward) {
            std::for_each(group.begin(), group.end(), drawOne);
        } else {
            std::for_each(group.rbegin(), group.rend(), drawOne);
        }
    };
    {
        const TPlotClip clip(*this, m_clipPoints && ClippingAllowed());
        if (low != -1) {
            if (first.DrawInAscendingOrder()) {
                for (int32_t i = low; i <= high; ++i) {
                    drawIndex(i);
                }
            } else {
                for (int32_t i = high; i >= low; --i) {
                    drawIndex(i);
                }
            }
        }
    }
    for (TChartSeries* series : group) {
        DrawSeriesMarks(*series);
        series->DoAfterDrawValues();
    }
}

void TCustomAxisPanel::SetAxisVisible(bool value) {
    if (m_axisVisible != value) {
        m_axisVisible = value;
        MarkForRepaint();
    }
}

void TCustomAxisPanel::SetClipPoints(bool value) {
    if (m_clipPoints != value) {
        m_clipPoints = value;
        MarkForRepaint();
    }
}

void TCustomAxisPanel::SetView3DWalls(bool value) {
    if (m_view3DWalls != value) {
        m_view3DWalls = value;
        MarkForRepaint();
    }
}

void TCustomAxisPanel::SetScaleLastPage(bool value) {
    if (m_scaleLastPage != value) {
        m_scaleLastPage = value;
        MarkForRepaint();
    }
}

void TCustomAxisPanel::SetMaxPointsPerPage(int32_t value) {
    if (value < 0) {
        throw ChartException(kMsgMaxPointsPerPage);
    }
    if (m_maxPointsPerPage != value) {
        m_maxPointsPerPage = value;
        MarkForRepaint();
    }
    if (NumPages() < m_page) {
        SetPage(NumPages());
    }
}

void TCustomAxisPanel::SetPage(int32_t value) {
    if (Loading()) {
        // Design data is read before the series get their points: keep the page as designed.
        m_page = std::max(1, value);
        return;
    }
    value = std::max(1, std::min(value, NumPages()));
    if (value == m_page) {
        return;
    }
    m_page = value;
    MarkForRepaint();
    if (m_onPageChange) {
        m_onPageChange(this);
    }
}

int32_t TCustomAxisPanel::NumPages() const {
    if (m_maxPointsPerPage < 1 || m_seriesList.empty()) {
        return 1;
    }
    // Pages run along the independent values: X when the first series' Y values are plotted.
    const bool horizontal = m_seriesList.front()->YIsMandatory();
    int32_t result = 1;
    for (int side = 0; side < 2; ++side) {
        int32_t n = 0;
        for (const TChartSeries* series : m_seriesList) {
            if (!series->Active()) {
                continue;
            }
            bool bound = false;
            if (horizontal) {
                const THorizAxis a = series->HorizAxis();
                bound = a == THorizAxis::aBothHorizAxis ||
                        (side == 0 ? a == THorizAxis::aTopAxis : a == THorizAxis::aBottomAxis);
            } else {
                const TVertAxis a = series->VertAxis();
                bound = a == TVertAxis::aBothVertAxis ||
                        (side == 0 ? a == TVertAxis::aLeftAxis : a == TVertAxis::aRightAxis);
            }
            if (bound) {
                n = std::max(n, series->PointCount());
            }
        }
        const int32_t pages =
            n <= 0 ? 1 : n / m_maxPointsPerPage + (n % m_maxPointsPerPage != 0 ? 1 : 0);
        result = std::max(result, pages);
    }
    return result;
}

}  // namespace chart
