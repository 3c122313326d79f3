// The base of the controls that hold a list of items of which one or none is chosen.
#pragma once

#include <string>

#include "classes/StringList.h"
#include "forms/Control.h"

namespace forms {

// Items and the chosen one: the item index is -1 (none) or an index of the items, and items
// shrinking past the chosen one leave none chosen.
class TCustomListControl : public TWinControl {
  public:
    classes::TStringList& Items() { return m_items; }
    const classes::TStringList& Items() const { return m_items; }
    int32_t ItemIndex() const { return m_itemIndex; }
    // The first item with that text, or -1.
    int32_t IndexOf(const std::string& text) const;

  protected:
    explicit TCustomListControl(classes::TComponent* owner);
    // The index itself when it names an item, else -1.
    int32_t ValidIndex(int32_t value) const;
    void StoreItemIndex(int32_t index) { m_itemIndex = index; }
    // The items changed; `choiceDropped` when they no longer reach the chosen item (now none).
    virtual void ItemsChanged(bool choiceDropped) = 0;

  private:
    classes::TStringList m_items;
    int32_t m_itemIndex = -1;
};

}  // namespace forms
