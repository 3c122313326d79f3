// The default chart font and the font object.
#include "chart/panel/ChartFonts.h"

#include <cstdlib>
#include <string_view>

#include "base/Arith.h"
#include "base/Conversions.h"
#include "chart/messages/ChartMessages.h"
#include "chart/panel/ChartPanel.h"

namespace chart {

namespace {

// The desktop's primary language identifier for Japanese.
constexpr int32_t kLangJapanese = 17;
constexpr int32_t kPointsPerInch = 72;

// The primary language of the user's locale: Japanese for "ja..." locales, else 0.
int32_t PrimaryLanguage() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return std::string_view(value).starts_with("ja") ? kLangJapanese : 0;
        }
    }
    return 0;
}

// The desktop's user-interface font: that of a new control.
const gfx::TFont& SystemFont() {
    static const gfx::TFont font;
    return font;
}

}  // namespace

std::string DefaultFontName() {
    const std::string name = kMsgDefaultFontName;
    if (PrimaryLanguage() == kLangJapanese && name == "Arial") {
        return SystemFont().Name();
    }
    return name;
}

int32_t DefaultFontSize() {
    int32_t size = base::StrToInt(kMsgDefaultFontSize);
    constexpr int32_t kSizeReplaced = 8;
    if (PrimaryLanguage() == kLangJapanese && size == kSizeReplaced) {
        size = -base::MulDiv(SystemFont().Height(), kPointsPerInch, gfx::kDefaultPixelsPerInch);
    }
    return size;
}

std::unique_ptr<gfx::TFont> NewDefaultFont(gfx::TChangeEvent onChange) {
    auto font = std::make_unique<gfx::TFont>();
    font->SetName(DefaultFontName());
    font->SetSize(DefaultFontSize());
    font->SetColor(gfx::clBlack);
    font->SetStyle(gfx::TFontStyles());
    font->SetOnChange(std::move(onChange));
    return font;
}

bool IsDefaultFontSetting(const gfx::TFont& font) {
    return font.Size() == DefaultFontSize() && font.Name() == DefaultFontName() &&
           font.Color() == gfx::clBlack && font.Style().Empty() &&
           font.Charset() == gfx::kDefaultCharset;
}

TChartFontObject::TChartFontObject(TCustomChartPanel* owner)
    : m_owner(owner), m_font(NewDefaultFont([this] { Repaint(); })) {}

TChartFontObject::~TChartFontObject() = default;

void TChartFontObject::SetFont(const gfx::TFont& value) {
    m_font->Assign(value);
}

void TChartFontObject::Repaint() {
    if (m_owner != nullptr) {
        m_owner->PartChanged();
    }
}

void TChartFontObject::Assign(const classes::TPersistent& source) {
    const auto* other = dynamic_cast<const TChartFontObject*>(&source);
    if (other == nullptr) {
        classes::TPersistent::Assign(source);
        return;
    }
    m_font->Assign(*other->m_font);
}

const classes::TClassInfo& TChartFontObject::StaticClass() {
    static const classes::TClassInfo info("TChartFontObject", &classes::TPersistent::StaticClass());
    return info;
}

const classes::TClassInfo& TChartFontObject::ClassInfo() const {
    return StaticClass();
}

}  // namespace chart
