// Main menu and menu items: the item tree as design data nests it.
#include "forms/Menus.h"

#include <algorithm>

#include "classes/ClassBuilder.h"

namespace forms {

TMenuItem::TMenuItem(classes::TComponent* owner) : classes::TComponent(owner) {}

TMenuItem::~TMenuItem() {
    for (TMenuItem* item : m_items) {
        item->m_parentItem = nullptr;
    }
    if (m_parentItem != nullptr) {
        m_parentItem->Remove(this);
    }
}

const classes::TClassInfo& TMenuItem::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TMenuItem>("TMenuItem", &classes::TComponent::StaticClass())
            .Creatable()
            .String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption, std::string())
            .Event("OnClick", &TMenuItem::OnClick, &TMenuItem::SetOnClick)
            .Build();
    return info;
}

const classes::TClassInfo& TMenuItem::ClassInfo() const {
    return StaticClass();
}

void TMenuItem::Update() {
    if (m_onUpdate) {
        m_onUpdate(*this);
    }
}

void TMenuItem::Click() {
    if (m_onClick) {
        m_onClick(this);
    }
}

void TMenuItem::Add(TMenuItem* item) {
    if (item->m_parentItem != nullptr) {
        item->m_parentItem->Remove(item);
    }
    m_items.push_back(item);
    item->m_parentItem = this;
}

void TMenuItem::Insert(int32_t index, TMenuItem* item) {
    if (item->m_parentItem != nullptr) {
        item->m_parentItem->Remove(item);
    }
    index = std::clamp(index, 0, Count());
    m_items.insert(m_items.begin() + index, item);
    item->m_parentItem = this;
}

void TMenuItem::Remove(TMenuItem* item) {
    std::erase(m_items, item);
    item->m_parentItem = nullptr;
}

classes::TComponent* TMenuItem::ParentComponent() const {
    return m_menu != nullptr ? m_menu : m_parentItem;
}

void TMenuItem::SetParentComponent(classes::TComponent* parent) {
    if (auto* menu = dynamic_cast<TMainMenu*>(parent)) {
        m_menu = menu;
        menu->Items().Add(this);
    } else if (auto* item = dynamic_cast<TMenuItem*>(parent)) {
        m_menu = nullptr;
        item->Add(this);
    } else if (parent != nullptr) {
        throw classes::EComponentError("a menu item belongs in a menu or another menu item");
    }
}

void TMenuItem::GetChildren(const std::function<void(classes::TComponent*)>& proc,
                            classes::TComponent* /*root*/) const {
    for (TMenuItem* item : m_items) {
        proc(item);
    }
}

TMainMenu::TMainMenu(classes::TComponent* owner) : classes::TComponent(owner) {}

const classes::TClassInfo& TMainMenu::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TMainMenu>("TMainMenu", &classes::TComponent::StaticClass())
            .Creatable()
            .Build();
    return info;
}

const classes::TClassInfo& TMainMenu::ClassInfo() const {
    return StaticClass();
}

void TMainMenu::GetChildren(const std::function<void(classes::TComponent*)>& proc,
                            classes::TComponent* root) const {
    m_root.GetChildren(proc, root);
}

}  // namespace forms
