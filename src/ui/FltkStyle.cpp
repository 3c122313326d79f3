// Font faces, pixel sizes and colours for FLTK, and label text helpers.
#include "ui/FltkStyle.h"

#include <FL/Fl.H>

#include <deque>
#include <map>
#include <vector>

#include "gfx/Colors.h"
#include "gfx/TextEngine.h"

namespace ui {

namespace {
// Character height of a font whose height is 0 ("the default"), pixels.
constexpr int32_t kDefaultCharacterHeight = 11;

// FLTK keeps the face name pointers it is given: the names live here for the whole process.
struct TFaceTable {
    std::deque<std::string> Names;
    std::map<std::string, Fl_Font> Faces;
    Fl_Font Next = FL_FREE_FONT;
};

TFaceTable& Faces() {
    static TFaceTable table;
    return table;
}
}  // namespace

int32_t CharacterHeight(const gfx::TFont& font) {
    const int32_t height = font.Height();
    if (height < 0) {
        return -height;
    }
    if (height == 0) {
        return kDefaultCharacterHeight;
    }
    gfx::TFont probe;
    probe.Assign(font);
    probe.SetHeight(-height);
    gfx::TFontInstance* instance = gfx::TTextEngine::Instance().InstanceFor(probe);
    const int32_t cell = instance != nullptr ? instance->Ascent() + instance->Descent() : 0;
    if (cell <= 0) {
        return height;
    }
    // The em size scales with the cell: em / cell stays the same for one face.
    return std::max<int32_t>(1, static_cast<int32_t>((int64_t{height} * height + cell / 2) / cell));
}

std::string FltkFaceName(const gfx::TFont& font) {
    const bool bold = font.Style().Contains(gfx::TFontStyle::fsBold);
    const bool italic = font.Style().Contains(gfx::TFontStyle::fsItalic);
    const char style = bold ? (italic ? 'P' : 'B') : (italic ? 'I' : ' ');
    return style + gfx::TTextEngine::FamilyFor(font.Name());
}

Fl_Font FltkFace(const gfx::TFont& font) {
    TFaceTable& table = Faces();
    const std::string name = FltkFaceName(font);
    auto found = table.Faces.find(name);
    if (found != table.Faces.end()) {
        return found->second;
    }
    table.Names.push_back(name);
    const Fl_Font face = table.Next++;
    Fl::set_font(face, table.Names.back().c_str());
    table.Faces.emplace(name, face);
    return face;
}

Fl_Color FltkColor(gfx::TColor color) {
    const gfx::TColorRef rgb = gfx::ColorToRGB(color);
    return fl_rgb_color(static_cast<uchar>(rgb & 0xFF), static_cast<uchar>((rgb >> 8) & 0xFF),
                        static_cast<uchar>((rgb >> 16) & 0xFF));
}

std::string LabelText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '@') {
            out += '@';
        }
    }
    return out;
}

std::string NormaliseLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if ((c == '\r' && next == '\n') || (c == '\n' && next == '\r')) {
            out += '\n';
            ++i;
        } else if (c == '\r') {
            out += '\n';
        } else {
            out += c;
        }
    }
    return out;
}

std::string FitDialogText(const std::string& text, size_t maxLines, size_t maxLineBytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (true) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    if (maxLines > 0 && lines.size() > maxLines) {
        const size_t more = lines.size() - (maxLines - 1);
        lines.resize(maxLines - 1);
        // Built in place: prepending to a temporary draws GCC 12's false -Wrestrict at -O3.
        std::string note = "(";
        note += std::to_string(more);
        note += " more lines)";
        lines.push_back(note);
    }
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string& line = lines[i];
        if (line.size() > maxLineBytes) {
            size_t cut = maxLineBytes;
            // Never inside a UTF-8 character: back up to the start of the one at the cut.
            while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) {
                --cut;
            }
            line = line.substr(0, cut) + "...";
        }
        out += i == 0 ? line : "\n" + line;
    }
    return out;
}

}  // namespace ui
