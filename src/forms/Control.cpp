// Controls and containers: state, change notification, parent font and the design-data tree.
#include "forms/Control.h"

#include <algorithm>

#include "classes/ClassBuilder.h"
#include "gfx/ColorNames.h"

namespace forms {

const classes::TClassInfo& TControl::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TControl>("TControl", &classes::TComponent::StaticClass())
            .Integer("Left", &TControl::Left, &TControl::SetLeft, 0)
            .Integer("Top", &TControl::Top, &TControl::SetTop, 0)
            .Integer("Width", &TControl::Width, &TControl::SetWidth)
            .Integer("Height", &TControl::Height, &TControl::SetHeight)
            .Set("Anchors", &TControl::Anchors, &TControl::SetAnchors,
                 {"akLeft", "akTop", "akRight", "akBottom"}, kDefaultAnchors)
            .Integer<uint32_t>("Color", &TControl::Color, &TControl::SetColor, gfx::clBtnFace,
                               &gfx::ColorIdents())
            .Object("Font", [](TControl& c) -> gfx::TFont& { return c.Font(); })
            .StoredIf([](const TControl& c) { return !c.ParentFont(); })
            .Boolean("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true)
            .Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled, true)
            .Boolean("Visible", &TControl::Visible, &TControl::SetVisible, true)
            .Event("OnClick", &TControl::OnClick, &TControl::SetOnClick)
            .Build();
    return info;
}

const classes::TClassInfo& TControl::ClassInfo() const {
    return StaticClass();
}

TControl::TControl(classes::TComponent* owner) : classes::TComponent(owner) {
    m_font.SetOnChange([this] {
        if (!m_copyingParentFont) {
            m_parentFont = false;
        }
        Changed(TControlChange::ccFont);
        if (auto* container = dynamic_cast<TWinControl*>(this)) {
            for (TControl* child : container->m_controls) {
                child->ParentFontChanged();
            }
        }
    });
}

TControl::~TControl() {
    if (m_view != nullptr) {
        IControlView* view = m_view;
        m_view = nullptr;
        view->ControlDestroyed(*this);
    }
    SetParent(nullptr);
}

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (left == m_left && top == m_top && width == m_width && height == m_height) {
        return;
    }
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    Changed(TControlChange::ccBounds);
}

void TControl::SetVisible(bool value) {
    if (value != m_visible) {
        m_visible = value;
        Changed(TControlChange::ccVisible);
    }
}

void TControl::SetEnabled(bool value) {
    if (value != m_enabled) {
        m_enabled = value;
        Changed(TControlChange::ccEnabled);
    }
}

void TControl::SetCaption(const std::string& value) {
    if (value != m_caption) {
        m_caption = value;
        Changed(TControlChange::ccCaption);
    }
}

void TControl::SetParentFont(bool value) {
    m_parentFont = value;
    if (value) {
        ParentFontChanged();
    }
}

void TControl::SetColor(gfx::TColor value) {
    if (value != m_color) {
        m_color = value;
        Changed(TControlChange::ccColor);
    }
}

void TControl::ParentFontChanged() {
    if (!m_parentFont || m_parent == nullptr) {
        return;
    }
    m_copyingParentFont = true;
    m_font.Assign(m_parent->Font());
    m_copyingParentFont = false;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == m_parent) {
        return;
    }
    if (m_parent != nullptr) {
        m_parent->RemoveControl(this);
    }
    m_parent = parent;
    if (parent != nullptr) {
        parent->InsertControl(this);
        ParentFontChanged();
    }
}

void TControl::Click() {
    if (m_onClick) {
        m_onClick(this);
    }
}

classes::TComponent* TControl::ParentComponent() const {
    return m_parent;
}

void TControl::SetParentComponent(classes::TComponent* parent) {
    auto* container = dynamic_cast<TWinControl*>(parent);
    if (parent != nullptr && container == nullptr) {
        throw classes::EComponentError(ClassName() + " cannot be placed inside " +
                                       parent->ClassName());
    }
    SetParent(container);
}

void TControl::Changed(TControlChange change) {
    if (m_view != nullptr) {
        m_view->ControlChanged(*this, change);
    }
}

const classes::TClassInfo& TWinControl::StaticClass() {
    static const classes::TClassInfo info =
        classes::TClassBuilder<TWinControl>("TWinControl", &TControl::StaticClass())
            .Integer("TabOrder", &TControl::TabOrder, &TControl::SetTabOrder, -1)
            .Build();
    return info;
}

const classes::TClassInfo& TWinControl::ClassInfo() const {
    return StaticClass();
}

TWinControl::~TWinControl() {
    // Children that outlive their container (freed later by the owner) forget it.
    for (TControl* child : m_controls) {
        child->m_parent = nullptr;
    }
    m_controls.clear();
}

void TWinControl::InsertControl(TControl* control) {
    m_controls.push_back(control);
}

void TWinControl::RemoveControl(TControl* control) {
    std::erase(m_controls, control);
}

void TWinControl::GetChildren(const std::function<void(classes::TComponent*)>& proc,
                              classes::TComponent* root) const {
    TControl::GetChildren(proc, root);
    for (TControl* child : m_controls) {
        if (child->Owner() == root) {
            proc(child);
        }
    }
}

}  // namespace forms
