// The panel and the picture control.
#include "forms/ExtCtrls.h"

#include "classes/ClassBuilder.h"

namespace forms {

namespace {
const std::vector<std::string> kBevelNames = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};
}

TPanel::TPanel(classes::TComponent* owner) : TWinControl(owner) {}

const classes::TClassInfo& TPanel::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TPanel>("TPanel", &TWinControl::StaticClass())
            .Creatable()
            .String("Caption", &TControl::Caption, &TControl::SetCaption, std::string())
            .Enum<TPanelBevel>("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner,
                               kBevelNames, TPanelBevel::bvNone)
            .Enum<TPanelBevel>("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter,
                               kBevelNames, TPanelBevel::bvRaised)
            .Integer("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth, 1)
            .Build();
    return info;
}

const classes::TClassInfo& TPanel::ClassInfo() const {
    return StaticClass();
}

void TPanel::SetBevelInner(TPanelBevel value) {
    if (value != m_bevelInner) {
        m_bevelInner = value;
        Invalidate();
    }
}

void TPanel::SetBevelOuter(TPanelBevel value) {
    if (value != m_bevelOuter) {
        m_bevelOuter = value;
        Invalidate();
    }
}

void TPanel::SetBevelWidth(int32_t value) {
    if (value < 1) {
        throw base::Exception("BevelWidth must be at least 1");
    }
    if (value != m_bevelWidth) {
        m_bevelWidth = value;
        Invalidate();
    }
}

TImage::TImage(classes::TComponent* owner) : TControl(owner) {}

const classes::TClassInfo& TImage::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TImage>("TImage", &TControl::StaticClass())
            .Creatable()
            .String("PictureName", &TImage::PictureName, &TImage::SetPictureName, std::string())
            .Boolean("Stretch", &TImage::Stretch, &TImage::SetStretch, false)
            .Build();
    return info;
}

const classes::TClassInfo& TImage::ClassInfo() const {
    return StaticClass();
}

void TImage::SetPictureName(const std::string& value) {
    if (value != m_pictureName) {
        m_pictureName = value;
        Changed(TControlChange::ccPicture);
    }
}

void TImage::SetStretch(bool value) {
    if (value != m_stretch) {
        m_stretch = value;
        Changed(TControlChange::ccPicture);
    }
}

}  // namespace forms
