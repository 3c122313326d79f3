// The base of the list controls: the items, the chosen index and its bounds.
#include "forms/ListControl.h"

namespace forms {

TCustomListControl::TCustomListControl(classes::TComponent* owner) : TWinControl(owner) {
    SetColor(gfx::clWindow);
    m_items.OnChange = [this] {
        const bool dropped = m_itemIndex >= m_items.Count();
        if (dropped) {
            m_itemIndex = -1;
        }
        ItemsChanged(dropped);
    };
}

int32_t TCustomListControl::IndexOf(const std::string& text) const {
    for (int32_t i = 0; i < m_items.Count(); ++i) {
        if (m_items.Strings(i) == text) {
            return i;
        }
    }
    return -1;
}

int32_t TCustomListControl::ValidIndex(int32_t value) const {
    return value >= 0 && value < m_items.Count() ? value : -1;
}

}  // namespace forms
