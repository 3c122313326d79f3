// The font's setters and the height/size relation.
#include "gfx/Font.h"

#include "classes/ClassBuilder.h"
#include "gfx/ColorNames.h"

#include <stdexcept>

#include "base/Arith.h"
#include "base/Exceptions.h"

namespace gfx {

namespace {
constexpr int32_t kPointsPerInch = 72;
}

void TFont::SetName(const std::string& value) {
    if (value != m_name) {
        m_name = value;
        Changed();
    }
}

void TFont::SetHeight(int32_t value) {
    if (value != m_height) {
        m_height = value;
        Changed();
    }
}

int32_t TFont::Size() const {
    return -base::MulDiv(m_height, kPointsPerInch, m_pixelsPerInch);
}

void TFont::SetSize(int32_t value) {
    SetHeight(-base::MulDiv(value, m_pixelsPerInch, kPointsPerInch));
}

void TFont::SetPixelsPerInch(int32_t value) {
    if (value <= 0) {
        throw base::Exception("Font pixels per inch must be positive");
    }
    if (value != m_pixelsPerInch) {
        m_pixelsPerInch = value;
        Changed();
    }
}

void TFont::SetStyle(TFontStyles value) {
    if (value != m_style) {
        m_style = value;
        Changed();
    }
}

void TFont::SetColor(TColor value) {
    if (value != m_color) {
        m_color = value;
        Changed();
    }
}

void TFont::SetCharset(uint8_t value) {
    if (value != m_charset) {
        m_charset = value;
        Changed();
    }
}

void TFont::SetOrientation(int32_t value) {
    if (value != m_orientation) {
        m_orientation = value;
        Changed();
    }
}

void TFont::Assign(const classes::TPersistent& source) {
    const auto* other = dynamic_cast<const TFont*>(&source);
    if (other == nullptr) {
        TGraphicsObject::Assign(source);
        return;
    }
    m_name = other->m_name;
    m_height = other->m_height;
    m_style = other->m_style;
    m_color = other->m_color;
    m_charset = other->m_charset;
    m_orientation = other->m_orientation;
    Changed();
}

const classes::TClassInfo& TFont::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TFont>("TFont", &TGraphicsObject::StaticClass())
            .Integer(
                "Charset", &TFont::Charset,
                [](TFont& f, int32_t v) { f.SetCharset(static_cast<uint8_t>(v)); }, kDefaultCharset)
            .Integer<uint32_t>("Color", &TFont::Color, &TFont::SetColor, clWindowText,
                               &ColorIdents())
            .Integer("Height", &TFont::Height, &TFont::SetHeight)
            .Integer("Orientation", &TFont::Orientation, &TFont::SetOrientation, 0)
            .String("Name", &TFont::Name, &TFont::SetName)
            .Set(
                "Style", [](const TFont& f) { return static_cast<uint32_t>(f.Style().Bits()); },
                [](TFont& f, uint32_t bits) {
                    TFontStyles styles;
                    for (const TFontStyle s : {TFontStyle::fsBold, TFontStyle::fsItalic,
                                               TFontStyle::fsUnderline, TFontStyle::fsStrikeOut}) {
                        if ((bits & (1u << static_cast<uint32_t>(s))) != 0) {
                            styles = styles.With(s);
                        }
                    }
                    f.SetStyle(styles);
                },
                {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, 0u)
            .Build();
    return info;
}

const classes::TClassInfo& TFont::ClassInfo() const {
    return StaticClass();
}

}  // namespace gfx
