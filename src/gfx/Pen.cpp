// The pen's setters: store a changed value and notify.
#include "gfx/Pen.h"

#include "classes/Properties.h"

namespace gfx {

void TPen::SetColor(TColor value) {
    if (value != m_color) {
        m_color = value;
        Changed();
    }
}

void TPen::SetMode(TPenMode value) {
    if (value != m_mode) {
        m_mode = value;
        Changed();
    }
}

void TPen::SetStyle(TPenStyle value) {
    if (value != m_style) {
        m_style = value;
        Changed();
    }
}

void TPen::SetWidth(int32_t value) {
    if (value != m_width) {
        m_width = value;
        Changed();
    }
}

void TPen::Assign(const classes::TPersistent& source) {
    const auto* other = dynamic_cast<const TPen*>(&source);
    if (other == nullptr) {
        TGraphicsObject::Assign(source);
        return;
    }
    m_color = other->m_color;
    m_mode = other->m_mode;
    m_style = other->m_style;
    m_width = other->m_width;
    Changed();
}

const classes::TClassInfo& TPen::StaticClass() {
    static const classes::TClassInfo info("TPen", &TGraphicsObject::StaticClass());
    return info;
}

const classes::TClassInfo& TPen::ClassInfo() const {
    return StaticClass();
}

}  // namespace gfx
