// The registry of class bitmaps.
#include "chart/panel/ClassBitmaps.h"

#include <map>
#include <memory>

namespace chart {

namespace {

std::map<std::string, std::unique_ptr<gfx::TBitmap>>& Registry() {
    static std::map<std::string, std::unique_ptr<gfx::TBitmap>> registry;
    return registry;
}

}  // namespace

void RegisterClassBitmap(const std::string& className, const gfx::TBitmap& bitmap) {
    auto copy = std::make_unique<gfx::TBitmap>();
    copy->Assign(bitmap);
    Registry()[className] = std::move(copy);
}

bool FindClassBitmap(const classes::TClassInfo& info, gfx::TBitmap& bitmap) {
    for (const classes::TClassInfo* c : {&info, info.Parent()}) {
        if (c == nullptr) {
            continue;
        }
        const auto it = Registry().find(c->Name());
        if (it != Registry().end()) {
            bitmap.Assign(*it->second);
            return true;
        }
    }
    return false;
}

}  // namespace chart
