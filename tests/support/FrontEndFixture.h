// A fixture with the program's windows and a front end bound to them (no display needed): the
// main window, its view, and the widget of a control by name.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/MainForm.h"
#include "app/Startup.h"
#include "forms/Application.h"
#include "ui/FormView.h"
#include "ui/FrontEnd.h"

namespace testsupport {

class TFrontEndFixture : public testing::Test {
  protected:
    void SetUp() override {
        forms::TApplication::Instance().ResetTerminated();
        app::CreateWindows();
        m_frontEnd = std::make_unique<ui::TFrontEnd>(forms::TApplication::Instance());
        m_frontEnd->BindForms();
        m_form1 = dynamic_cast<app::TForm1*>(forms::TApplication::Instance().MainForm());
        ASSERT_NE(m_form1, nullptr);
        m_view = m_frontEnd->ViewOf(*m_form1);
        ASSERT_NE(m_view, nullptr);
    }
    void TearDown() override {
        m_frontEnd.reset();
        forms::TApplication::Instance().DestroyForms();
        forms::TApplication::Instance().ResetTerminated();
    }
    Fl_Widget& WidgetOf(const std::string& name) {
        ui::TControlView* view = m_view->ViewOf(name);
        EXPECT_NE(view, nullptr) << name;
        return *view->Widget();
    }

    std::unique_ptr<ui::TFrontEnd> m_frontEnd;
    app::TForm1* m_form1 = nullptr;
    ui::TFormView* m_view = nullptr;
};

}  // namespace testsupport
