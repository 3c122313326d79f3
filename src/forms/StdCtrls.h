// The standard controls: push button, label, single-line edit box and multi-line memo box.
#pragma once

#include <vector>

#include "classes/StringList.h"
#include "forms/Control.h"
#include "forms/ListControl.h"

namespace forms {

// What a button's click tells a modal dialog (mrOk closes it with "OK").
enum class TModalResult { mrNone, mrOk, mrCancel };

class TButton : public TWinControl {
  public:
    explicit TButton(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // The default button of its window: Enter activates it.
    bool Default() const { return m_default; }
    void SetDefault(bool value) { m_default = value; }
    TModalResult ModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult value) { m_modalResult = value; }

  private:
    bool m_default = false;
    TModalResult m_modalResult = TModalResult::mrNone;
};

class TLabel : public TControl {
  public:
    explicit TLabel(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // The label sizes itself to its caption in the front end's font.
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value) { m_autoSize = value; }
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value) { m_transparent = value; }

  private:
    bool m_autoSize = true;
    bool m_transparent = false;
};

// A single-line edit box; its text is the control's caption, published as "Text".
class TEdit : public TWinControl {
  public:
    explicit TEdit(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    const std::string& Text() const { return Caption(); }
    void SetText(const std::string& value) { SetCaption(value); }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool value) { m_readOnly = value; }

  private:
    bool m_readOnly = false;
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line box holding a line list.
class TMemo : public TWinControl {
  public:
    explicit TMemo(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    classes::TLineList& Lines() { return m_lines; }
    const classes::TLineList& Lines() const { return m_lines; }
    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void SetScrollBars(TScrollStyle value) { m_scrollBars = value; }

  private:
    classes::TLineList m_lines;
    TScrollStyle m_scrollBars = TScrollStyle::ssNone;
};

// A list of lines of which the user picks one: the front end shows the items and, when one is
// picked, sets the item index and runs the click handler.
class TListBox : public TCustomListControl {
  public:
    explicit TListBox(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // Picks an item; an index outside the items picks none.
    void SetItemIndex(int32_t value);
    // Items shown greyed (still listed and pickable): a flag per item, items past the flags
    // shown as usual. Items changing later keep the flags by index.
    bool ItemDimmed(int32_t index) const;
    void SetDimmedItems(std::vector<bool> dimmed);

  protected:
    void ItemsChanged(bool choiceDropped) override;

  private:
    std::vector<bool> m_dimmed;
};

}  // namespace forms
