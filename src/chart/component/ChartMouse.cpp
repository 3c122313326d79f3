// The chart's mouse handling: a press is hit-tested and reported to the click events, a drag
// with the zoom button to the right and down zooms the axes to the dragged rectangle (any other
// direction undoes the zoom), a drag with the pan button scrolls the axes, and the wheel scrolls
// the vertical axes.
#include <cstdlib>

#include "chart/component/Chart.h"
#include "chart/engine/Axis.h"
#include "chart/engine/Series.h"

namespace chart {
namespace {

using forms::TMouseButton;
using forms::TShiftState;

bool ButtonWithKeys(TMouseButton button, TShiftState shift, TMouseButton wanted, TShiftState keys) {
    return button == wanted && (shift & keys) == keys;
}

bool PansDirection(TPanningMode mode, bool horizontal) {
    switch (mode) {
        case TPanningMode::pmNone:
            return false;
        case TPanningMode::pmHorizontal:
            return horizontal;
        case TPanningMode::pmVertical:
            return !horizontal;
        case TPanningMode::pmBoth:
            return true;
    }
    return false;
}

}  // namespace

TChartClickedPart TChart::HitTestChart(int32_t x, int32_t y) {
    TChartClickedPart part;
    for (int32_t i = SeriesCount() - 1; i >= 0; --i) {
        TChartSeries* series = Series(i);
        if (!series->Active()) {
            continue;
        }
        const int32_t index = series->PointAtScreen(x, y);
        if (index != -1) {
            part.Part = TChartClickedPartStyle::cpSeries;
            part.Series = series;
            part.PointIndex = index;
            return part;
        }
    }
    for (TCustomChartAxis* axis : AxesList()) {
        if (axis->AxisClicked(x, y)) {
            part.Part = TChartClickedPartStyle::cpAxis;
            part.Axis = axis;
            return part;
        }
    }
    if (Title().Clicked(x, y)) {
        part.Part = TChartClickedPartStyle::cpTitle;
    } else if (Foot().Clicked(x, y)) {
        part.Part = TChartClickedPartStyle::cpFoot;
    } else if (SeriesCount() > 0 && PlotRect().Contains(x, y)) {
        part.Part = TChartClickedPartStyle::cpChartRect;
    } else if (LegendHit(x, y)) {
        part.Part = TChartClickedPartStyle::cpLegend;
    }
    return part;
}

bool TChart::ClickBackground(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
    if (!m_onClickBackground) {
        return false;
    }
    SetSuppressMouse(true);
    m_onClickBackground(*this, button, shift, x, y);
    return SuppressMouse();
}

void TChart::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
    if (ZoomState().Engaged || PanState().Engaged) {
        return;
    }
    if (SuppressMouse()) {
        SetSuppressMouse(false);
        return;
    }
    const TChartClickedPart part = HitTestChart(x, y);
    bool handled = false;
    switch (part.Part) {
        case TChartClickedPartStyle::cpLegend:
            if (m_onClickLegend) {
                SetSuppressMouse(true);
                m_onClickLegend(*this, button, shift, x, y);
                handled = SuppressMouse();
            }
            break;
        case TChartClickedPartStyle::cpAxis:
            if (m_onClickAxis) {
                SetSuppressMouse(true);
                m_onClickAxis(*this, *part.Axis, button, shift, x, y);
                handled = SuppressMouse();
            }
            if (!handled) {
                handled = StartMouseDrag(button, shift, x, y);
            }
            break;
        case TChartClickedPartStyle::cpSeries:
            handled = part.Series->SeriesClicked(part.PointIndex, button, shift, x, y);
            if (m_onClickSeries) {
                SetSuppressMouse(true);
                m_onClickSeries(*this, *part.Series, part.PointIndex, button, shift, x, y);
                handled = SuppressMouse();
            }
            if (!handled) {
                handled = StartMouseDrag(button, shift, x, y);
            }
            break;
        case TChartClickedPartStyle::cpChartRect:
            handled = ClickBackground(button, shift, x, y);
            if (!handled) {
                handled = StartMouseDrag(button, shift, x, y);
            }
            break;
        case TChartClickedPartStyle::cpTitle:
        case TChartClickedPartStyle::cpFoot:
        case TChartClickedPartStyle::cpNone:
            break;
    }
    // A click in the chart area that its handler let through reaches the background handler a
    // second time, as every part's unhandled click does.
    if (!handled) {
        ClickBackground(button, shift, x, y);
    }
    SetSuppressMouse(false);
}

bool TChart::StartMouseDrag(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
    bool handled = false;
    if (AllowZoom() && ButtonWithKeys(button, shift, ZoomButton, ZoomShiftKeys)) {
        SetCursor(forms::crDefault);
        ZoomState().BeginAt(x, y);
        XorZoomFrame();
        handled = true;
    }
    if (AllowPanning() != TPanningMode::pmNone &&
        ButtonWithKeys(button, shift, PanButton, PanShiftKeys)) {
        SetCursor(forms::crDefault);
        PanState().BeginAt(x, y);
        handled = true;
    }
    return handled;
}

void TChart::MouseMove(TShiftState shift, int32_t x, int32_t y) {
    TZoomPanningRecord& zoom = ZoomState();
    TZoomPanningRecord& pan = PanState();
    if (zoom.Engaged) {
        if (x != zoom.EndX || y != zoom.EndY) {
            XorZoomFrame();  // erases the frame at the old corner
            zoom.EndX = x;
            zoom.EndY = y;
            XorZoomFrame();
        }
        return;
    }
    if (pan.Engaged) {
        if (!PlotRect().Contains(x, y)) {
            pan.Engaged = false;
            return;
        }
        if (x == pan.EndX && y == pan.EndY) {
            return;
        }
        // The end corner is the last mouse position: it is not put in order with the start
        // corner, which would make a drag to the left or up scroll by the whole way from the
        // start at every step instead of by the last step.
        SaveAxesRangesOnce();
        PanAxesBy(true, x, pan.EndX);
        PanAxesBy(false, y, pan.EndY);
        pan.EndX = x;
        pan.EndY = y;
        if (PansDirection(AllowPanning(), true) || PansDirection(AllowPanning(), false)) {
            if (OnScroll()) {
                OnScroll()(this);
            }
            MarkForRepaint();
        }
        return;
    }
    // By index: a series may leave the chart while it reacts.
    for (int32_t i = 0; i < SeriesCount(); ++i) {
        Series(i)->SeriesMouseMove(shift, x, y);
    }
    // The cursor: a series' own over its points, the hand over a part that reacts to a click,
    // otherwise the control's own.
    for (int32_t i = 0; i < SeriesCount(); ++i) {
        TChartSeries* series = Series(i);
        if (series->Active() && series->Cursor() != forms::crDefault &&
            series->PointAtScreen(x, y) != -1) {
            SetCursor(series->Cursor());
            return;
        }
    }
    const bool anyClickEvent =
        m_onClickLegend || m_onClickAxis || m_onClickSeries || m_onClickBackground;
    SetCursor(anyClickEvent && PartIsClickable(HitTestChart(x, y)) ? forms::crHandPoint
                                                                   : SavedCursor());
}

bool TChart::PartIsClickable(const TChartClickedPart& part) const {
    switch (part.Part) {
        case TChartClickedPartStyle::cpLegend:
            return static_cast<bool>(m_onClickLegend);
        case TChartClickedPartStyle::cpAxis:
            return static_cast<bool>(m_onClickAxis);
        case TChartClickedPartStyle::cpSeries:
            return static_cast<bool>(m_onClickSeries);
        case TChartClickedPartStyle::cpChartRect:
        case TChartClickedPartStyle::cpTitle:
        case TChartClickedPartStyle::cpFoot:
            return static_cast<bool>(m_onClickBackground);
        case TChartClickedPartStyle::cpNone:
            return false;
    }
    return false;
}

void TChart::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
    for (int32_t i = 0; i < SeriesCount(); ++i) {
        Series(i)->SeriesMouseUp(button, shift, x, y);
    }
    TZoomPanningRecord& zoom = ZoomState();
    if (zoom.Engaged && button == ZoomButton) {
        zoom.Engaged = false;
        XorZoomFrame();  // erases the last frame
        Canvas().Pen().SetMode(gfx::TPenMode::pmCopy);
        zoom.EndX = x;
        zoom.EndY = y;
        if (std::abs(x - zoom.StartX) > kMinimumZoomDrag &&
            std::abs(y - zoom.StartY) > kMinimumZoomDrag) {
            if (zoom.StartX < x && zoom.StartY < y) {
                ZoomToRectangle();
            } else {
                UndoZoom();
            }
            MarkForRepaint();
        }
    }
    PanState().Engaged = false;
}

void TChart::MouseWheel(bool down) {
    for (TCustomChartAxis* axis : AxesList()) {
        if (axis->Horizontal() || axis->IsZAxis()) {
            continue;
        }
        const double step = (axis->Maximum() - axis->Minimum()) * kWheelScrollPercent / 100.0;
        axis->ShiftAxisRange(down ? step : -step, false);
    }
}

void TChart::MouseLeave() {
    TCustomAxisPanel::MouseLeave();
}

bool TChart::PanAxesBy(bool horizontal, int32_t newPosition, int32_t oldPosition) {
    if (newPosition == oldPosition || !PansDirection(AllowPanning(), horizontal)) {
        return false;
    }
    for (TCustomChartAxis* axis : AxesList()) {
        if (axis->IsZAxis() || axis->Horizontal() != horizontal) {
            continue;
        }
        const double delta = axis->PosToValue(oldPosition) - axis->PosToValue(newPosition);
        double minimum = axis->Minimum() + delta;
        double maximum = axis->Maximum() + delta;
        bool allow = true;
        if (m_onAllowScroll) {
            m_onAllowScroll(*this, *axis, minimum, maximum, allow);
        }
        if (allow) {
            axis->SetAxisRange(minimum, maximum);
        }
    }
    return true;
}

TAxesRanges TChart::CurrentAxesRanges() const {
    TAxesRanges ranges;
    const TCustomChartAxis* axes[kZoomAxisCount] = {&LeftAxis(), &TopAxis(), &RightAxis(),
                                                    &BottomAxis()};
    for (int32_t i = 0; i < kZoomAxisCount; ++i) {
        ranges[i] = TSavedAxisRange{axes[i]->Minimum(), axes[i]->Maximum(), axes[i]->Automatic(),
                                    axes[i]->AutomaticMinimum(), axes[i]->AutomaticMaximum()};
    }
    return ranges;
}

void TChart::SaveAxesRangesOnce() {
    if (!m_savedAxesRanges.has_value()) {
        m_savedAxesRanges = CurrentAxesRanges();
    }
}

void TChart::SetAxisTo(TZoomAxis which, double minimum, double maximum) {
    TCustomChartAxis* axes[kZoomAxisCount] = {&LeftAxis(), &TopAxis(), &RightAxis(), &BottomAxis()};
    axes[which]->SetAxisRange(minimum, maximum);
}

void TChart::ZoomToRectangle() {
    TZoomPanningRecord& zoom = ZoomState();
    zoom.NormalizeCorners();
    TAxesRanges targets;
    // Screen rows grow downwards: the bottom edge gives the vertical axes' lower value.
    targets[zaLeft].Minimum = LeftAxis().PosToValue(zoom.EndY);
    targets[zaLeft].Maximum = LeftAxis().PosToValue(zoom.StartY);
    targets[zaRight].Minimum = RightAxis().PosToValue(zoom.EndY);
    targets[zaRight].Maximum = RightAxis().PosToValue(zoom.StartY);
    targets[zaTop].Minimum = TopAxis().PosToValue(zoom.StartX);
    targets[zaTop].Maximum = TopAxis().PosToValue(zoom.EndX);
    targets[zaBottom].Minimum = BottomAxis().PosToValue(zoom.StartX);
    targets[zaBottom].Maximum = BottomAxis().PosToValue(zoom.EndX);
    ZoomAxesTo(targets);
}

void TChart::ZoomAxesTo(const TAxesRanges& targets) {
    SaveAxesRangesOnce();
    constexpr TZoomAxis kOrder[kZoomAxisCount] = {zaLeft, zaRight, zaTop, zaBottom};
    if (AnimatedZoom()) {
        for (int32_t step = 1; step < AnimatedZoomSteps(); ++step) {
            const TAxesRanges now = CurrentAxesRanges();
            for (const TZoomAxis which : kOrder) {
                const double maximum =
                    now[which].Maximum -
                    (now[which].Maximum - targets[which].Maximum) / AnimatedZoomFactor;
                const double minimum =
                    now[which].Minimum +
                    (targets[which].Minimum - now[which].Minimum) / AnimatedZoomFactor;
                SetAxisTo(which, minimum, maximum);
            }
            PaintNow();
        }
    }
    for (const TZoomAxis which : kOrder) {
        SetAxisTo(which, targets[which].Minimum, targets[which].Maximum);
    }
    SetZoomActive(true);
    if (OnZoom()) {
        OnZoom()(this);
    }
}

void TChart::UndoZoom() {
    if (m_savedAxesRanges.has_value()) {
        const TAxesRanges saved = *m_savedAxesRanges;
        m_savedAxesRanges.reset();
        TCustomChartAxis* axes[kZoomAxisCount] = {&LeftAxis(), &TopAxis(), &RightAxis(),
                                                  &BottomAxis()};
        for (int32_t i = 0; i < kZoomAxisCount; ++i) {
            axes[i]->SetAxisRange(saved[i].Minimum, saved[i].Maximum);
            // An axis that followed its series before the zoom follows them again, so that
            // points added since are in view.
            if (saved[i].Automatic) {
                axes[i]->SetAutomatic(true);
            } else {
                axes[i]->SetAutomaticMinimum(saved[i].AutomaticMinimum);
                axes[i]->SetAutomaticMaximum(saved[i].AutomaticMaximum);
            }
        }
    }
    ResetZoom();
}

bool TChart::LegendHit(int32_t x, int32_t y) const {
    return m_legend->Visible() && m_legend->LegendClicked(x, y) != -1;
}

void TChart::CancelMouseDrag() {
    ZoomState().Engaged = false;
    PanState().Engaged = false;
    Canvas().Pen().SetMode(gfx::TPenMode::pmCopy);
}

}  // namespace chart
