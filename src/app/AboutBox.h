// The About box (shown by the Help menu), the second About-box template and the three empty
// windows created at start-up.
#pragma once

#include "forms/Form.h"

namespace app {

class TAboutBox : public forms::TForm {
  public:
    explicit TAboutBox(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
    classes::TNotifyEvent FindMethod(std::string_view name) override;

    // OK closes the box, which hides it; it can be shown again.
    void OKButtonClick(classes::TPersistent* sender);
};

// A generic About-box template; created hidden and never shown.
class TAboutBox1 : public forms::TForm {
  public:
    explicit TAboutBox1(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
};

// Empty windows of the button-face colour and the default font; never shown.
class TForm2 : public forms::TForm {
  public:
    explicit TForm2(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
};

class TForm4 : public forms::TForm {
  public:
    explicit TForm4(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
};

class TForm5 : public forms::TForm {
  public:
    explicit TForm5(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;
};

}  // namespace app
