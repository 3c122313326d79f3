// The icon every window of the program shows to the desktop.
#include "ui/WindowIcon.h"

#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Window.H>

#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/ImageFiles.h"

namespace ui {

bool SetWindowIcon(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    gfx::TImageData picture;
    try {
        picture = gfx::ReadPng(path);
    } catch (const gfx::EInvalidGraphic&) {
        return false;  // a damaged icon file costs the icon, never the program
    }
    constexpr int kDepth = 3;  // bytes per pixel: red, green, blue
    // The picture outlives the windows that show it, whether or not the toolkit copies it.
    static std::vector<uint8_t> bytes;
    static std::unique_ptr<Fl_RGB_Image> icon;
    bytes.clear();
    bytes.reserve(picture.Pixels.size() * kDepth);
    for (const uint32_t pixel : picture.Pixels) {
        bytes.push_back(static_cast<uint8_t>(pixel));  // a colour reference: red in the low byte
        bytes.push_back(static_cast<uint8_t>(pixel >> 8));
        bytes.push_back(static_cast<uint8_t>(pixel >> 16));
    }
    icon = std::make_unique<Fl_RGB_Image>(bytes.data(), picture.Width, picture.Height, kDepth);
    Fl_Window::default_icon(icon.get());
    return true;
}

}  // namespace ui
