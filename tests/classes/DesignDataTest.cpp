// Components and the design-data reader and writer: creation through the registry, defaults,
// nested objects, references, events, round trips and exact errors.
#include "classes/DesignData.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "base/FalseWarnings.h"
#include "classes/ClassBuilder.h"
#include "classes/Component.h"

namespace {

using classes::TClassBuilder;
using classes::TClassInfo;
using classes::TComponent;

enum class TShape { shCircle, shSquare };

// A sub-object with its own properties ("Pen.Width").
class TPenLike : public classes::TPersistent {
  public:
    static const TClassInfo& StaticClass() {
        static const TClassInfo info =
            TClassBuilder<TPenLike>("TPenLike", &TPersistent::StaticClass())
                .Integer("Width", &TPenLike::Width, &TPenLike::SetWidth, 1)
                .Build();
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }
    int32_t Width() const { return m_width; }
    void SetWidth(int32_t w) {
        if (w < 0) {
            throw base::Exception("width must not be negative");
        }
        m_width = w;
    }

  private:
    int32_t m_width = 1;
};

const classes::TIdentMap kColours = {{"clBlack", 0}, {"clBlue", 0xFF0000}};

// A component with one property of each kind; a widget holds children.
class TWidget : public TComponent {
  public:
    explicit TWidget(TComponent* owner) : TComponent(owner) {}
    static const TClassInfo& StaticClass() {
        static const TClassInfo info =
            TClassBuilder<TWidget>("TWidget", &TComponent::StaticClass())
                .Creatable()
                .Integer("Left", &TWidget::Left, &TWidget::SetLeft, 0)
                .Integer<uint32_t>("Color", &TWidget::Color, &TWidget::SetColor, 0, &kColours)
                .Float("Ratio", &TWidget::Ratio, &TWidget::SetRatio)
                .String("Caption", &TWidget::Caption, &TWidget::SetCaption, std::string())
                .Boolean("Visible", &TWidget::Visible, &TWidget::SetVisible, true)
                .Enum<TShape>("Shape", &TWidget::Shape, &TWidget::SetShape,
                              {"shCircle", "shSquare"}, TShape::shCircle)
                .Set("Style", &TWidget::Style, &TWidget::SetStyle, {"fsBold", "fsItalic"}, 0u)
                .Strings("Lines", [](TWidget& w) -> classes::TStringList& { return w.m_lines; })
                .Object("Pen", [](TWidget& w) -> TPenLike& { return w.m_pen; })
                .Component<TWidget>("Buddy", &TWidget::Buddy, &TWidget::SetBuddy)
                .Event("OnClick", &TWidget::OnClick, &TWidget::SetOnClick)
                .Build();
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    bool HasParent() const override { return true; }
    TComponent* ParentComponent() const override { return m_parent; }
    void SetParentComponent(TComponent* parent) override {
        m_parent = parent;
        if (auto* w = dynamic_cast<TWidget*>(parent)) {
            w->m_children.push_back(this);
        }
    }
    void GetChildren(const std::function<void(TComponent*)>& proc,
                     TComponent* root) const override {
        TComponent::GetChildren(proc, root);
        for (TComponent* c : m_children) {
            proc(c);
        }
    }
    void Loaded() override {
        TComponent::Loaded();
        ++m_loadedCalls;
    }

    int32_t Left() const { return m_left; }
    void SetLeft(int32_t v) { m_left = v; }
    uint32_t Color() const { return m_color; }
    void SetColor(uint32_t v) { m_color = v; }
    double Ratio() const { return m_ratio; }
    void SetRatio(double v) { m_ratio = v; }
    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& v) { m_caption = v; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool v) { m_visible = v; }
    TShape Shape() const { return m_shape; }
    void SetShape(TShape v) { m_shape = v; }
    uint32_t Style() const { return m_style; }
    void SetStyle(uint32_t v) { m_style = v; }
    TWidget* Buddy() const { return m_buddy; }
    void SetBuddy(TWidget* v) { m_buddy = v; }
    const classes::TNotifyEvent& OnClick() const { return m_onClick; }
    void SetOnClick(classes::TNotifyEvent e) { m_onClick = std::move(e); }
    classes::TStringList& Lines() { return m_lines; }
    TPenLike& Pen() { return m_pen; }
    int LoadedCalls() const { return m_loadedCalls; }

  private:
    int32_t m_left = 0;
    uint32_t m_color = 0;
    double m_ratio = 0;
    std::string m_caption;
    bool m_visible = true;
    TShape m_shape = TShape::shCircle;
    uint32_t m_style = 0;
    TWidget* m_buddy = nullptr;
    classes::TNotifyEvent m_onClick;
    classes::TStringList m_lines;
    TPenLike m_pen;
    TComponent* m_parent = nullptr;
    std::vector<TComponent*> m_children;
    int m_loadedCalls = 0;
};

// The root: a widget whose methods design data can bind.
class TPanelForm : public TWidget {
  public:
    explicit TPanelForm(TComponent* owner) : TWidget(owner) {}
    static const TClassInfo& StaticClass() {
        static const TClassInfo info =
            TClassBuilder<TPanelForm>("TPanelForm", &TWidget::StaticClass()).Build();
        return info;
    }
    const TClassInfo& ClassInfo() const override { return StaticClass(); }
    bool HasParent() const override { return false; }
    classes::TNotifyEvent FindMethod(std::string_view name) override {
        if (name == "ButtonClick") {
            return {std::string(name), [this](classes::TPersistent*) { ++clicks; }};
        }
        return {};
    }
    int clicks = 0;
};

class DesignDataTest : public ::testing::Test {
  protected:
    void SetUp() override { classes::RegisterClass(TWidget::StaticClass()); }

    std::string ErrorOf(const std::string& text) {
        TPanelForm form(nullptr);
        try {
            classes::ReadComponent(text, form);
        } catch (const classes::EDesignDataError& e) {
            return e.Message();
        }
        return "<no error>";
    }
};

const char* const kForm = R"(object Form1: TPanelForm
  Caption = 'It''s a form'#13#10'second line'
  object Inner: TWidget
    Left = -12
    Color = clBlue
    Ratio = 2.5
    Visible = False
    Shape = shSquare
    Style = [fsBold, fsItalic]
    Lines = (
      'Times'
      '')
    Pen.Width = 3
    Buddy = Other
    OnClick = ButtonClick
    object Deep: TWidget
      Color = 255
    end
  end
  object Other: TWidget
  end
end
)";

TEST_F(DesignDataTest, ReadsNestedObjectsThroughTheRegistry) {
    TPanelForm form(nullptr);
    classes::ReadComponent(kForm, form);
    EXPECT_EQ(form.Name(), "Form1");
    EXPECT_EQ(form.Caption(), "It's a form\r\nsecond line");
    auto* inner = dynamic_cast<TWidget*>(form.FindComponent("inner"));
    auto* deep = dynamic_cast<TWidget*>(form.FindComponent("Deep"));
    ASSERT_NE(inner, nullptr);
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(deep->Owner(), &form);  // the root owns everything
    EXPECT_EQ(deep->ParentComponent(), inner);
    EXPECT_EQ(inner->Left(), -12);
    EXPECT_EQ(inner->Color(), 0xFF0000u);
    EXPECT_EQ(inner->Ratio(), 2.5);
    EXPECT_FALSE(inner->Visible());
    EXPECT_EQ(inner->Shape(), TShape::shSquare);
    EXPECT_EQ(inner->Style(), 3u);
    EXPECT_EQ(inner->Lines().RawLines(), (std::vector<std::string>{"Times", ""}));
    EXPECT_EQ(inner->Pen().Width(), 3);
    EXPECT_EQ(inner->Buddy(), form.FindComponent("Other"));
    ASSERT_TRUE(inner->OnClick());
    inner->OnClick()(inner);
    EXPECT_EQ(form.clicks, 1);
    EXPECT_EQ(inner->LoadedCalls(), 1);
    EXPECT_FALSE(inner->Loading());
}

TEST_F(DesignDataTest, WriterStoresOnlyWhatDiffersAndRoundTrips) {
    TPanelForm form(nullptr);
    classes::ReadComponent(kForm, form);
    const std::string written = classes::WriteComponent(form);
    EXPECT_EQ(written.find("Tag ="), std::string::npos);
    EXPECT_EQ(written.find("Other: TWidget\n    end"), std::string::npos);
    EXPECT_NE(written.find("  object Other: TWidget\n    Ratio = 0.0\n  end\n"), std::string::npos);
    EXPECT_NE(written.find("Color = clBlue"), std::string::npos);
    EXPECT_NE(written.find("Ratio = 2.5"), std::string::npos);  // no default: always stored
    TPanelForm again(nullptr);
    classes::ReadComponent(written, again);
    EXPECT_EQ(classes::WriteComponent(again), written);
}

TEST_F(DesignDataTest, BadDataNamesLineColumnAndWhatWasExpected) {
    EXPECT_EQ(ErrorOf("object Form1: TWidget\nend"),
              "Design data error at line 1, column 15: expected class TPanelForm but found "
              "'TWidget'");
    EXPECT_EQ(ErrorOf("object Form1: TPanelForm\n  Left 3\nend"),
              "Design data error at line 2, column 8: expected '=' but found a number");
    EXPECT_EQ(ErrorOf("object Form1: TPanelForm\n  Lefty = 3\nend"),
              "Design data error at line 2, column 3: unknown property 'Lefty' of TPanelForm");
    EXPECT_EQ(ErrorOf("object Form1: TPanelForm\n  Left = 'x'\nend"),
              "Design data error at line 2, column 10: expected an integer for property 'Left'");
    EXPECT_EQ(ErrorOf("object Form1: TPanelForm\n  Pen.Width = -1\nend"),
              "Design data error at line 2, column 15: width must not be negative for property "
              "'Pen.Width'");
    EXPECT_EQ(ErrorOf("object Form1: TPanelForm\n  object A: TNope\n  end\nend"),
              "Design data error at line 2, column 13: unknown class 'TNope'");
    EXPECT_EQ(ErrorOf("object Form1: TPanelForm\n  OnClick = Nothing\nend"),
              "Design data error at line 2, column 13: method 'Nothing' not found in TPanelForm");
    EXPECT_EQ(ErrorOf("object Form1: TPanelForm\n  Buddy = Ghost\nend"),
              "Design data error at line 2, column 11: unknown component 'Ghost'");
    EXPECT_EQ(ErrorOf("object Form1: TPanelForm\n  Caption = 'open\nend"),
              "Design data error at line 2, column 13: unterminated string");
    EXPECT_EQ(ErrorOf("object Form1: TPanelForm\n  Style = [fsBold, fsWide]\nend"),
              "Design data error at line 2, column 11: unknown set element 'fsWide', expected "
              "one of fsBold, fsItalic for property 'Style'");
    EXPECT_EQ(ErrorOf("object Form1: TPanelForm\n  object A: TWidget\n  end\n  object A: TWidget\n"
                      "  end\nend"),
              "Design data error at line 4, column 10: a component named A was read already");
    EXPECT_EQ(ErrorOf("object Form1: TPanelForm\n"),
              "Design data error at line 2, column 1: expected a property name, 'object' or "
              "'end' but found the end of the text");
}

// GCC 12 at -O3 raises its false -Wrestrict on the assignment of "x" here.
KEYVET_FALSE_RESTRICT_BEGIN
TEST_F(DesignDataTest, RandomMutationsNeverCrashTheReader) {
    // A small in-test fuzz run; the libFuzzer target explores further in CI.
    std::mt19937 random(12345);
    const std::string base = kForm;
    for (int round = 0; round < 3000; ++round) {
        std::string text = base;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e) {
            const size_t pos = random() % text.size();
            switch (random() % 3) {
                case 0:
                    text.erase(pos, 1 + random() % 5);
                    break;
                case 1:
                    text.insert(pos, 1, static_cast<char>(random() % 128));
                    break;
                default:
                    text[pos] = "'#[](),=:.$-0end"[random() % 16];
                    break;
            }
            if (text.empty()) {
                text = "x";
            }
        }
        TPanelForm form(nullptr);
        try {
            classes::ReadComponent(text, form);
        } catch (const base::Exception&) {
        }
    }
}
KEYVET_FALSE_RESTRICT_END

TEST(ComponentTest, OwnerFreesItsComponentsAndNamesAreUnique) {
    auto owner = std::make_unique<TComponent>(nullptr);
    auto* a = new TComponent(owner.get());
    a->SetName("Alpha");
    auto* b = new TComponent(owner.get());
    EXPECT_THROW(b->SetName("alpha"), classes::EComponentError);
    EXPECT_THROW(b->SetName("9lives"), classes::EComponentError);
    b->SetName("Beta");
    EXPECT_EQ(owner->ComponentCount(), 2);
    delete a;  // a freed on its own leaves its owner
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(owner->FindComponent("Alpha"), nullptr);
}

TEST(ComponentTest, FreeNotificationTellsTheWatcher) {
    struct TWatcher : TComponent {
        using TComponent::TComponent;
        TComponent* removed = nullptr;
        void Notification(TComponent* c, classes::TOperation op) override {
            if (op == classes::TOperation::opRemove) {
                removed = c;
            }
        }
    };
    TWatcher watcher(nullptr);
    auto* watched = new TComponent(nullptr);
    watcher.FreeNotification(watched);
    delete watched;
    EXPECT_EQ(watcher.removed, watched);
}

}  // namespace
