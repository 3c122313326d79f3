// The main menu and its items.
#pragma once

#include <string>
#include <vector>

#include "classes/Component.h"

namespace forms {

class TMenuItem : public classes::TComponent {
  public:
    explicit TMenuItem(classes::TComponent* owner);
    ~TMenuItem() override;
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& value) { m_caption = value; }
    const classes::TNotifyEvent& OnClick() const { return m_onClick; }
    void SetOnClick(classes::TNotifyEvent handler) { m_onClick = std::move(handler); }
    // Runs the click handler when one is set.
    void Click();

    int32_t Count() const { return static_cast<int32_t>(m_items.size()); }
    TMenuItem* Items(int32_t index) const { return m_items.at(static_cast<size_t>(index)); }
    void Add(TMenuItem* item);
    // Puts an item of this one's at `index` (0 first), moving it when it is already here.
    void Insert(int32_t index, TMenuItem* item);
    void Remove(TMenuItem* item);
    TMenuItem* ParentItem() const { return m_parentItem; }

    bool HasParent() const override { return true; }
    classes::TComponent* ParentComponent() const override;
    void SetParentComponent(classes::TComponent* parent) override;
    void GetChildren(const std::function<void(classes::TComponent*)>& proc,
                     classes::TComponent* root) const override;

  private:
    std::string m_caption;
    classes::TNotifyEvent m_onClick;
    std::vector<TMenuItem*> m_items;  // not owned: the owner frees them
    TMenuItem* m_parentItem = nullptr;
    classes::TComponent* m_menu = nullptr;  // the menu holding a top-level item
};

// A window's main menu: its top-level items.
class TMainMenu : public classes::TComponent {
  public:
    explicit TMainMenu(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    TMenuItem& Items() { return m_root; }
    const TMenuItem& Items() const { return m_root; }

    void GetChildren(const std::function<void(classes::TComponent*)>& proc,
                     classes::TComponent* root) const override;

  private:
    TMenuItem m_root{nullptr};
};

}  // namespace forms
