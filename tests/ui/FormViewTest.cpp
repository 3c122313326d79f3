// The program's windows as FLTK widgets, without a display: widgets follow their controls,
// labels size themselves, anchors place the controls, the chart's buffer repaints on request,
// and handlers run as the event loop runs them.
#include "ui/FormView.h"

#include <FL/Fl_Button.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "chart/component/Chart.h"
#include "forms/Menus.h"
#include "gfx/Bitmap.h"
#include "gfx/Colors.h"
#include "gfx/TextEngine.h"
#include "support/FrontEndFixture.h"
#include "ui/ChartView.h"
#include "ui/FrontEnd.h"

namespace {

class TRecordingDialogs : public platform::IDialogs {
  public:
    void ShowMessage(const std::string& text) override { Messages.push_back(text); }
    void Beep() override { ++Beeps; }
    std::vector<std::string> Messages;
    int Beeps = 0;
};

using FormViewTest = testsupport::TFrontEndFixture;

TEST_F(FormViewTest, WindowsStartClosedWithTheirCaptionsAndClientSizes) {
    EXPECT_STREQ(m_view->Window().label(), "Morse Keyvet version 2:  Pelvar Tavik July 2012");
    EXPECT_EQ(m_view->Window().w(), 790);
    EXPECT_EQ(m_view->Window().h(), 585 + m_view->ClientTop());
    EXPECT_EQ(m_view->ClientTop(), forms::kFrameMenu);
    EXPECT_FALSE(m_view->Window().shown());
    for (const auto& view : m_frontEnd->FormViews()) {
        EXPECT_FALSE(view->Window().shown()) << view->Form()->Name();
    }
}

TEST_F(FormViewTest, ButtonWidgetsFollowCaptionEnabledAndVisible) {
    auto& start = static_cast<Fl_Button&>(WidgetOf("Start"));
    auto& finish = static_cast<Fl_Button&>(WidgetOf("Button1"));
    EXPECT_STREQ(start.label(), "Start");
    EXPECT_TRUE(start.active());
    EXPECT_FALSE(finish.active());
    EXPECT_FALSE(WidgetOf("Button2").visible());
    EXPECT_FALSE(WidgetOf("Memo2").visible());

    m_form1->Start().SetCaption("Re-start: Press TWICE");
    m_form1->Button1().SetEnabled(true);
    m_form1->Start().SetEnabled(false);
    EXPECT_STREQ(start.label(), "Re-start: Press TWICE");
    EXPECT_TRUE(finish.active());
    EXPECT_FALSE(start.active());
    // Design place in the window: below the menu bar.
    EXPECT_EQ(start.x(), 8);
    EXPECT_EQ(start.y(), 277 + forms::kFrameMenu);
    EXPECT_EQ(start.w(), 137);
    EXPECT_EQ(start.h(), 25);
}

TEST_F(FormViewTest, EditWidgetsShowTheTextAndGiveTypedTextBack) {
    auto& edit = static_cast<Fl_Input&>(WidgetOf("Edit5"));
    m_form1->Edit(5).SetText("1.65605095541401");
    EXPECT_STREQ(edit.value(), "1.65605095541401");
    EXPECT_EQ(edit.position(), 0) << "the beginning of a long value is shown";
    edit.value("2");
    edit.do_callback();
    EXPECT_EQ(m_form1->Edit(5).Text(), "2");
}

TEST_F(FormViewTest, LabelsSizeThemselvesToTheirCaptionInTheirFont) {
    forms::TLabel& label1 = m_form1->Label1();
    gfx::TFont font;
    font.Assign(label1.Font());
    gfx::TFontInstance* instance = gfx::TTextEngine::Instance().InstanceFor(font);
    ASSERT_NE(instance, nullptr) << "the sans face must be installed";
    EXPECT_EQ(label1.Width(), 0) << "an empty caption has no width";
    label1.SetCaption("129");
    EXPECT_EQ(label1.Width(), instance->TextWidth(U"129"));
    EXPECT_EQ(label1.Height(), instance->Ascent() + instance->Descent());
    EXPECT_EQ(WidgetOf("Label1").w(), label1.Width());
    EXPECT_EQ(label1.Left(), 24) << "a label grows to the right";
}

TEST_F(FormViewTest, ResizingTheFormStretchesTheChartAndMovesLeftBottomControls) {
    m_form1->SetBounds(m_form1->Left(), m_form1->Top(), 898, 691);
    EXPECT_EQ(m_view->Window().w(), 890);
    chart::TChart& chart = m_form1->Chart1();
    EXPECT_EQ(chart.Width(), 868);
    EXPECT_EQ(chart.Height(), 309);
    EXPECT_EQ(m_form1->Start().Top(), 337);
    EXPECT_EQ(m_form1->Start().Left(), 8);
    EXPECT_EQ(m_form1->Edit(8).Top(), 543);
    EXPECT_EQ(WidgetOf("Chart1").w(), 868);
    // A hidden top-left label stays put.
    forms::TControl* label2 = dynamic_cast<forms::TControl*>(m_form1->FindComponent("Label2"));
    ASSERT_NE(label2, nullptr);
    EXPECT_EQ(label2->Top(), 552);

    // Back to the design size: back to the design places, nothing drifts.
    m_form1->SetBounds(m_form1->Left(), m_form1->Top(), 798, 631);
    EXPECT_EQ(chart.Width(), 768);
    EXPECT_EQ(chart.Height(), 249);
    EXPECT_EQ(m_form1->Start().Top(), 277);
}

TEST_F(FormViewTest, ProgramMovesAreTheNewAnchoringReference) {
    m_form1->Start().SetTop(200);
    m_form1->SetBounds(m_form1->Left(), m_form1->Top(), 798, 651);
    EXPECT_EQ(m_form1->Start().Top(), 220);
}

TEST_F(FormViewTest, ChartBufferShowsTheChartPaintAndRepaintsOnceForManyRequests) {
    auto* view = dynamic_cast<ui::TChartView*>(m_view->ViewOf("Chart1"));
    ASSERT_NE(view, nullptr);
    const gfx::TBitmap& buffer = view->UpdatedBuffer();
    ASSERT_EQ(buffer.Width(), 768);
    ASSERT_EQ(buffer.Height(), 249);
    // The chart's own paint: its light-cyan panel inside a raised bevel.
    EXPECT_EQ(buffer.ScanLine(124)[384], 16777088u);
    EXPECT_EQ(buffer.ScanLine(0)[0], gfx::ColorToRGB(gfx::clBtnHighlight));
    EXPECT_EQ(buffer.ScanLine(248)[767], gfx::ColorToRGB(gfx::clBtnShadow));
    const int64_t paints = view->PaintCount();

    view->UpdatedBuffer();
    EXPECT_EQ(view->PaintCount(), paints) << "nothing changed: served from the buffer";

    m_form1->Chart1().Invalidate();
    m_form1->Chart1().Invalidate();
    EXPECT_TRUE(view->BufferStale());
    view->UpdatedBuffer();
    EXPECT_EQ(view->PaintCount(), paints + 1);
    EXPECT_FALSE(m_form1->Chart1().RepaintPending());

    int painted = 0;
    view->SetPainter([&painted](chart::TChart&, gfx::TBitmap& target) {
        ++painted;
        target.ScanLine(0)[0] = 0x0000FF;
    });
    EXPECT_EQ(view->UpdatedBuffer().ScanLine(0)[0], 0x0000FFu);
    EXPECT_EQ(painted, 1);
}

TEST_F(FormViewTest, AnExceptionLeavingAHandlerIsShownAndTheProgramGoesOn) {
    TRecordingDialogs dialogs;
    platform::TScopedServices scoped(
        platform::TServices{nullptr, nullptr, nullptr, &dialogs, nullptr});
    m_frontEnd->RunHandler([] { throw std::runtime_error("Division by zero"); });
    ASSERT_EQ(dialogs.Messages.size(), 1u);
    EXPECT_EQ(dialogs.Messages[0], "Division by zero");
    bool ran = false;
    m_frontEnd->RunHandler([&ran] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST_F(FormViewTest, ClosingLeavesAPumpingHandlerWithoutAMessage) {
    TRecordingDialogs dialogs;
    platform::TScopedServices scoped(
        platform::TServices{nullptr, nullptr, nullptr, &dialogs, nullptr});
    bool after = false;
    m_frontEnd->RunHandler([&after] {
        throw ui::TProgramClosing{};
        after = true;
    });
    EXPECT_FALSE(after);
    EXPECT_TRUE(dialogs.Messages.empty());
}

TEST_F(FormViewTest, MenuEntriesFollowTheirItemsWhenAMenuIsAboutToOpen) {
    Fl_Menu_Bar& bar = *m_view->MenuBar();
    // Nothing to play back before the first run.
    const Fl_Menu_Item* playBack = bar.find_item("Run/Play back");
    ASSERT_NE(playBack, nullptr);
    EXPECT_FALSE(playBack->active());
    auto* details = dynamic_cast<forms::TMenuItem*>(m_form1->FindComponent("Details1"));
    ASSERT_NE(details, nullptr);
    details->SetCaption("Details (none)");
    details->SetEnabled(false);
    details->SetRadioItem(true);
    details->SetChecked(true);
    EXPECT_NE(bar.find_item("Run/Details\u2026"), nullptr);  // not until the menu is updated
    m_view->UpdateMenu();
    EXPECT_EQ(bar.find_item("Run/Details\u2026"), nullptr);
    const Fl_Menu_Item* entry = bar.find_item("Run/Details (none)");
    ASSERT_NE(entry, nullptr);
    EXPECT_FALSE(entry->active());
    EXPECT_TRUE(entry->radio());
    EXPECT_NE(entry->value(), 0);
    details->SetEnabled(true);
    details->SetChecked(false);
    m_view->UpdateMenu();
    EXPECT_TRUE(entry->active());
    EXPECT_EQ(entry->value(), 0);
}

// (Opening windows needs a display: the end-to-end tests show and close them.)
TEST_F(FormViewTest, ClosingTheMainWindowEndsTheProgramOtherWindowsOnlyHide) {
    forms::TForm* about = forms::TApplication::Instance().Forms(2);
    // Escape does not close the main window.
    m_frontEnd->CloseRequested(*m_view, true);
    EXPECT_FALSE(forms::TApplication::Instance().Terminated());
    EXPECT_FALSE(m_frontEnd->Pump().Closing());
    // Another window's close box only closes that window.
    m_frontEnd->CloseRequested(*m_frontEnd->ViewOf(*about), false);
    EXPECT_FALSE(about->Visible());
    EXPECT_FALSE(forms::TApplication::Instance().Terminated());

    m_frontEnd->CloseRequested(*m_view, false);
    EXPECT_TRUE(forms::TApplication::Instance().Terminated());
    EXPECT_TRUE(m_frontEnd->Pump().Closing());
    EXPECT_FALSE(m_form1->Visible());
}

}  // namespace
