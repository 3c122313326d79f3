// The brush's setters: store a changed value and notify.
#include "gfx/Brush.h"

#include "classes/Properties.h"

namespace gfx {

void TBrush::SetColor(TColor value) {
    if (value != m_color) {
        m_color = value;
        Changed();
    }
}

void TBrush::SetStyle(TBrushStyle value) {
    if (value != m_style) {
        m_style = value;
        Changed();
    }
}

void TBrush::Assign(const classes::TPersistent& source) {
    const auto* other = dynamic_cast<const TBrush*>(&source);
    if (other == nullptr) {
        TGraphicsObject::Assign(source);
        return;
    }
    m_color = other->m_color;
    m_style = other->m_style;
    Changed();
}

const classes::TClassInfo& TBrush::StaticClass() {
    static const classes::TClassInfo info("TBrush", &TGraphicsObject::StaticClass());
    return info;
}

const classes::TClassInfo& TBrush::ClassInfo() const {
    return StaticClass();
}

}  // namespace gfx
