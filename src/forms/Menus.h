// The main menu and its items.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classes/Component.h"

namespace forms {

// A keyboard shortcut: a key with the modifiers held with it, 0 for none. The key is a printable
// ASCII character (letters in lower case) or kscFunctionKey + n for the function key Fn.
using TShortCut = uint32_t;
constexpr TShortCut kscFunctionKey = 0x100;
constexpr TShortCut kscKeyMask = 0xFFFF;
constexpr TShortCut kscCtrl = 0x10000;
constexpr TShortCut kscAlt = 0x20000;

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
    // The key that chooses the item (a command) or opens it (a menu of the menu bar) from
    // anywhere in its window.
    TShortCut ShortCut() const { return m_shortCut; }
    void SetShortCut(TShortCut value) { m_shortCut = value; }

    // A disabled item is shown greyed and cannot be chosen; a radio item shows whether it is the
    // checked one of its group.
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value) { m_enabled = value; }
    bool RadioItem() const { return m_radioItem; }
    void SetRadioItem(bool value) { m_radioItem = value; }
    bool Checked() const { return m_checked; }
    void SetChecked(bool value) { m_checked = value; }
    // Called just before the item is shown (its menu opens) or its key is tried, so that it can
    // bring its caption and states up to date.
    void SetOnUpdate(std::function<void(TMenuItem&)> handler) { m_onUpdate = std::move(handler); }
    void Update();

    int32_t Count() const { return static_cast<int32_t>(m_items.size()); }
    TMenuItem* Items(int32_t index) const { return m_items.at(static_cast<size_t>(index)); }
    void Add(TMenuItem* item);
    // Puts the item at index (clamped to 0..Count()), moving it when it is here already.
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
    TShortCut m_shortCut = 0;
    bool m_enabled = true;
    bool m_radioItem = false;
    bool m_checked = false;
    std::function<void(TMenuItem&)> m_onUpdate;
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
