// The picture: ownership of its bitmap, files, drawing and assignment.
#include "gfx/Picture.h"

#include "classes/Properties.h"
#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/ImageFiles.h"

namespace gfx {

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

TBitmap& TPicture::Bitmap() {
    if (!m_bitmap) {
        m_bitmap = std::make_unique<TBitmap>();
        m_bitmap->SetOnChange([this] { Changed(); });
    }
    return *m_bitmap;
}

int32_t TPicture::Width() const {
    return m_bitmap ? m_bitmap->Width() : 0;
}
int32_t TPicture::Height() const {
    return m_bitmap ? m_bitmap->Height() : 0;
}
bool TPicture::Empty() const {
    return !m_bitmap || m_bitmap->Empty();
}

void TPicture::Clear() {
    if (m_bitmap) {
        m_bitmap.reset();
        Changed();
    }
}

void TPicture::LoadFromFile(const std::string& path) {
    auto loaded = std::make_unique<TBitmap>();
    loaded->LoadFromFile(path);
    loaded->SetOnChange([this] { Changed(); });
    m_bitmap = std::move(loaded);
    Changed();
}

void TPicture::SaveToFile(const std::string& path) const {
    if (Empty()) {
        throw EInvalidGraphic("Cannot save an empty picture to \"" + path + "\"");
    }
    m_bitmap->SaveToFile(path);
}

void TPicture::Draw(TCanvas& canvas, const TRect& rect) const {
    if (!Empty()) {
        canvas.StretchDraw(rect, *m_bitmap);
    }
}

void TPicture::Assign(const classes::TPersistent& source) {
    if (const auto* other = dynamic_cast<const TPicture*>(&source)) {
        if (other == this) {
            return;
        }
        if (other->m_bitmap) {
            Bitmap().Assign(*other->m_bitmap);  // fires the change event through the bitmap
        } else {
            Clear();
        }
        return;
    }
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(&source)) {
        if (bitmap != m_bitmap.get()) {
            Bitmap().Assign(*bitmap);
        }
        return;
    }
    TGraphicsObject::Assign(source);
}

const classes::TClassInfo& TPicture::StaticClass() {
    static const classes::TClassInfo info("TPicture", &TGraphicsObject::StaticClass());
    return info;
}

const classes::TClassInfo& TPicture::ClassInfo() const {
    return StaticClass();
}

}  // namespace gfx
