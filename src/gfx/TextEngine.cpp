// Text engine: fontconfig matching, FreeType loading and glyph rendering with caches.
#include "gfx/TextEngine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cmath>

#include "base/Arith.h"

namespace gfx {

namespace {

// Em size used for a font of height 0 (the device's default), pixels.
constexpr int32_t kDefaultEmPixels = 12;

FT_Face FaceOf(void* face) {
    return static_cast<FT_Face>(face);
}

int32_t ScaleUp(int64_t fontUnits, int32_t em, int32_t unitsPerEm) {
    return static_cast<int32_t>((fontUnits * em + unitsPerEm - 1) / unitsPerEm);
}

int32_t ScaleRound(int64_t fontUnits, int32_t em, int32_t unitsPerEm) {
    return static_cast<int32_t>(std::lround(static_cast<double>(fontUnits) * em / unitsPerEm));
}

std::string Lower(const std::string& text) {
    std::string result = text;
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

}  // namespace

TFontInstance::~TFontInstance() {
    if (m_face != nullptr) {
        FT_Done_Face(FaceOf(m_face));
    }
}

const TGlyph& TFontInstance::Glyph(char32_t code) {
    auto found = m_glyphs.find(code);
    if (found != m_glyphs.end()) {
        return found->second;
    }
    TGlyph glyph;
    FT_Face face = FaceOf(m_face);
    if (FT_Load_Char(face, code, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) == 0 &&
        FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) == 0) {
        FT_GlyphSlot slot = face->glyph;
        glyph.Left = slot->bitmap_left;
        glyph.Top = slot->bitmap_top;
        glyph.Width = static_cast<int32_t>(slot->bitmap.width);
        glyph.Height = static_cast<int32_t>(slot->bitmap.rows);
        glyph.Advance = static_cast<int32_t>((slot->advance.x + 32) >> 6);
        glyph.Bits.resize(static_cast<size_t>(glyph.Width) * static_cast<size_t>(glyph.Height));
        for (int32_t row = 0; row < glyph.Height; ++row) {
            const unsigned char* src = slot->bitmap.buffer + row * slot->bitmap.pitch;
            for (int32_t col = 0; col < glyph.Width; ++col) {
                glyph.Bits[static_cast<size_t>(row * glyph.Width + col)] =
                    static_cast<uint8_t>((src[col >> 3] >> (7 - (col & 7))) & 1);
            }
        }
    }
    return m_glyphs.emplace(code, std::move(glyph)).first->second;
}

int32_t TFontInstance::TextWidth(std::u32string_view text) {
    int32_t width = 0;
    for (char32_t c : text) {
        width += Glyph(c).Advance;
    }
    return width;
}

TTextEngine& TTextEngine::Instance() {
    static TTextEngine engine;
    return engine;
}

TTextEngine::TTextEngine() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) == 0) {
        m_library = library;
    }
    m_config = FcInitLoadConfigAndFonts();
}

TTextEngine::~TTextEngine() {
    m_instances.clear();
    if (m_library != nullptr) {
        FT_Done_FreeType(static_cast<FT_Library>(m_library));
    }
    if (m_config != nullptr) {
        FcConfigDestroy(static_cast<FcConfig*>(m_config));
    }
}

std::string TTextEngine::FamilyFor(const std::string& name) {
    std::string key = Lower(name);
    if (key.empty() || key == "arial" || key == "ms sans serif" || key == "microsoft sans serif" ||
        key == "helvetica") {
        return "Liberation Sans";
    }
    if (key == "times new roman" || key == "times") {
        return "Liberation Serif";
    }
    if (key == "courier new" || key == "courier") {
        return "Liberation Mono";
    }
    return name;
}

TFontInstance* TTextEngine::InstanceFor(const TFont& font, int32_t scalePercent) {
    constexpr int32_t kWhole = 100;
    const int32_t height =
        scalePercent == kWhole ? font.Height() : base::MulDiv(font.Height(), scalePercent, kWhole);
    bool bold = font.Style().Contains(TFontStyle::fsBold);
    bool italic = font.Style().Contains(TFontStyle::fsItalic);
    if (m_last.Instance != nullptr && m_last.Height == height && m_last.Bold == bold &&
        m_last.Italic == italic && m_last.Name == font.Name()) {
        return m_last.Instance;
    }
    TFontInstance* instance = FindInstance(font, height, bold, italic);
    if (instance != nullptr) {
        m_last = {font.Name(), height, bold, italic, instance};
    }
    return instance;
}

TFontInstance* TTextEngine::FindInstance(const TFont& font, int32_t height, bool bold,
                                         bool italic) {
    std::string family = FamilyFor(font.Name());
    std::string key =
        family + '\n' + std::to_string(height) + (bold ? "b" : "") + (italic ? "i" : "");
    auto found = m_instances.find(key);
    if (found != m_instances.end()) {
        return found->second.get();
    }
    if (m_library == nullptr || m_config == nullptr) {
        return nullptr;
    }
    auto* config = static_cast<FcConfig*>(m_config);

    // Ask fontconfig for the closest face.
    std::string file;
    int index = 0;
    std::string matchedFamily;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    if (match != nullptr) {
        FcChar8* path = nullptr;
        FcChar8* matched = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
            file = reinterpret_cast<const char*>(path);
        }
        if (FcPatternGetString(match, FC_FAMILY, 0, &matched) == FcResultMatch) {
            matchedFamily = reinterpret_cast<const char*>(matched);
        }
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    if (file.empty()) {
        return nullptr;
    }

    FT_Face face = nullptr;
    if (FT_New_Face(static_cast<FT_Library>(m_library), file.c_str(), index, &face) != 0) {
        return nullptr;
    }
    std::unique_ptr<TFontInstance> instance(new TFontInstance());
    instance->m_face = face;
    instance->m_family = matchedFamily;

    int32_t unitsPerEm = std::max<int32_t>(face->units_per_EM, 1);
    int64_t ascender = face->ascender;
    int64_t descender = -static_cast<int64_t>(face->descender);
    int64_t strikePos = ascender * 3 / 10;
    int64_t strikeSize = face->underline_thickness;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
        ascender = os2->usWinAscent;
        descender = os2->usWinDescent;
        strikePos = os2->yStrikeoutPosition;
        strikeSize = os2->yStrikeoutSize;
    }
    // A negative height is the em size; a positive one the cell (ascent plus descent).
    int32_t em = kDefaultEmPixels;
    if (height < 0) {
        em = -height;
    } else if (height > 0) {
        em = std::max(1,
                      ScaleRound(int64_t{height} * unitsPerEm, 1,
                                 static_cast<int32_t>(std::max<int64_t>(ascender + descender, 1))));
    }
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em));
    instance->m_ascent = ScaleUp(ascender, em, unitsPerEm);
    instance->m_descent = ScaleUp(descender, em, unitsPerEm);
    instance->m_underlineOffset =
        std::max(1, ScaleRound(-face->underline_position, em, unitsPerEm));
    instance->m_lineThickness = std::max(
        1, ScaleRound(std::max<int64_t>(strikeSize, face->underline_thickness), em, unitsPerEm));
    instance->m_strikeOutOffset = std::max(1, ScaleRound(strikePos, em, unitsPerEm));

    TFontInstance* created = instance.get();
    m_instances.emplace(key, std::move(instance));
    return created;
}

std::u32string DecodeText(std::string_view text) {
    std::u32string result;
    result.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        auto byte = static_cast<unsigned char>(text[i]);
        size_t extra = byte >= 0xF0 && byte < 0xF5   ? 3
                       : byte >= 0xE0 && byte < 0xF0 ? 2
                       : byte >= 0xC2 && byte < 0xE0 ? 1
                                                     : 0;
        char32_t code = byte;
        size_t length = 1;
        if (extra > 0 && i + extra < text.size()) {
            char32_t value = byte & (0x3Fu >> extra);
            bool valid = true;
            for (size_t k = 1; valid && k <= extra; ++k) {
                auto next = static_cast<unsigned char>(text[i + k]);
                valid = (next & 0xC0) == 0x80;
                value = (value << 6) | (next & 0x3Fu);
            }
            if (valid) {
                code = value;
                length = extra + 1;
            }
        }
        result.push_back(code);
        i += length;
    }
    return result;
}

}  // namespace gfx
