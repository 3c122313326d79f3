// The About boxes and the empty windows, each built from its design data.
#include "app/AboutBox.h"

#include "app/DesignTexts.h"
#include "app/FormClass.h"
#include "classes/ClassBuilder.h"
#include "classes/DesignData.h"

namespace app {

TAboutBox::TAboutBox(classes::TComponent* owner) : forms::TForm(owner) {
    classes::ReadComponent(DesignText("TAboutBox"), *this);
}
const classes::TClassInfo& TAboutBox::StaticClass() {
    return FormClass<TAboutBox>("TAboutBox");
}
const classes::TClassInfo& TAboutBox::ClassInfo() const {
    return StaticClass();
}

classes::TNotifyEvent TAboutBox::FindMethod(std::string_view name) {
    if (classes::SameText(name, "OKButtonClick")) {
        return {"OKButtonClick", [this](classes::TPersistent* sender) { OKButtonClick(sender); }};
    }
    return {};
}

void TAboutBox::OKButtonClick(classes::TPersistent* /*sender*/) {
    Close();
}

TAboutBox1::TAboutBox1(classes::TComponent* owner) : forms::TForm(owner) {
    classes::ReadComponent(DesignText("TAboutBox1"), *this);
}
const classes::TClassInfo& TAboutBox1::StaticClass() {
    return FormClass<TAboutBox1>("TAboutBox1");
}
const classes::TClassInfo& TAboutBox1::ClassInfo() const {
    return StaticClass();
}

TForm2::TForm2(classes::TComponent* owner) : forms::TForm(owner) {
    classes::ReadComponent(DesignText("TForm2"), *this);
}
const classes::TClassInfo& TForm2::StaticClass() {
    return FormClass<TForm2>("TForm2");
}
const classes::TClassInfo& TForm2::ClassInfo() const {
    return StaticClass();
}

TForm4::TForm4(classes::TComponent* owner) : forms::TForm(owner) {
    classes::ReadComponent(DesignText("TForm4"), *this);
}
const classes::TClassInfo& TForm4::StaticClass() {
    return FormClass<TForm4>("TForm4");
}
const classes::TClassInfo& TForm4::ClassInfo() const {
    return StaticClass();
}

TForm5::TForm5(classes::TComponent* owner) : forms::TForm(owner) {
    classes::ReadComponent(DesignText("TForm5"), *this);
}
const classes::TClassInfo& TForm5::StaticClass() {
    return FormClass<TForm5>("TForm5");
}
const classes::TClassInfo& TForm5::ClassInfo() const {
    return StaticClass();
}

}  // namespace app
