// Components: ownership, names, free notification and the design-data tree.
#include "classes/Component.h"

#include <algorithm>
#include <cassert>

#include "classes/ClassBuilder.h"

namespace classes {

bool IsValidIdent(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    auto isAlpha = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    };
    if (!isAlpha(text[0])) {
        return false;
    }
    return std::all_of(text.begin() + 1, text.end(),
                       [&](char c) { return isAlpha(c) || (c >= '0' && c <= '9'); });
}

const TClassInfo& TComponent::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TComponent>("TComponent", &TPersistent::StaticClass())
            .Integer("Tag", &TComponent::Tag, &TComponent::SetTag, 0)
            .Build();
    return info;
}

const TClassInfo& TComponent::ClassInfo() const {
    return StaticClass();
}

TComponent::TComponent(TComponent* owner) {
    if (owner != nullptr) {
        owner->InsertComponent(this);
    }
}

TComponent::~TComponent() {
    m_destroying = true;
    // Tell everyone who asked, then free the owned components, the last created first.
    const std::vector<TComponent*> notifies = m_freeNotifies;
    m_freeNotifies.clear();
    for (TComponent* other : notifies) {
        other->RemoveFreeNotification(this);
        other->Notification(this, TOperation::opRemove);
    }
    while (!m_components.empty()) {
        TComponent* last = m_components.back();
        m_components.pop_back();
        last->m_owner = nullptr;
        delete last;
    }
    if (m_owner != nullptr) {
        m_owner->RemoveComponent(this);
    }
}

TComponent* TComponent::Components(int32_t index) const {
    if (index < 0 || index >= ComponentCount()) {
        base::ThrowListIndexError(index);
    }
    return m_components[static_cast<size_t>(index)];
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) {
        return nullptr;
    }
    for (TComponent* c : m_components) {
        if (SameText(c->m_name, name)) {
            return c;
        }
    }
    return nullptr;
}

void TComponent::SetName(const std::string& name) {
    if (name == m_name) {
        return;
    }
    if (!name.empty() && !IsValidIdent(name)) {
        throw EComponentError("'" + name + "' is not a valid component name");
    }
    if (m_owner != nullptr) {
        TComponent* existing = m_owner->FindComponent(name);
        if (existing != nullptr && existing != this) {
            throw EComponentError("A component named " + name + " already exists");
        }
    }
    m_name = name;
}

void TComponent::InsertComponent(TComponent* component) {
    assert(component->m_owner == nullptr && "component already has an owner");
    if (!component->m_name.empty() && FindComponent(component->m_name) != nullptr) {
        throw EComponentError("A component named " + component->m_name + " already exists");
    }
    m_components.push_back(component);
    component->m_owner = this;
    for (TComponent* c : m_components) {
        if (c != component) {
            c->Notification(component, TOperation::opInsert);
        }
    }
}

void TComponent::RemoveComponent(TComponent* component) {
    auto it = std::find(m_components.begin(), m_components.end(), component);
    if (it == m_components.end()) {
        return;
    }
    m_components.erase(it);
    component->m_owner = nullptr;
    if (!m_destroying) {
        for (TComponent* c : m_components) {
            c->Notification(component, TOperation::opRemove);
        }
        Notification(component, TOperation::opRemove);
    }
}

void TComponent::FreeNotification(TComponent* other) {
    if (other == nullptr || other == this) {
        return;
    }
    if (std::find(other->m_freeNotifies.begin(), other->m_freeNotifies.end(), this) ==
        other->m_freeNotifies.end()) {
        other->m_freeNotifies.push_back(this);
    }
    if (std::find(m_freeNotifies.begin(), m_freeNotifies.end(), other) == m_freeNotifies.end()) {
        m_freeNotifies.push_back(other);
    }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    std::erase(m_freeNotifies, other);
    std::erase(other->m_freeNotifies, this);
}

void TComponent::Notification(TComponent* /*component*/, TOperation /*operation*/) {}

void TComponent::Loaded() {
    m_loading = false;
}

void TComponent::SetParentComponent(TComponent* /*parent*/) {}

void TComponent::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const {
    if (root != this) {
        return;
    }
    for (TComponent* c : m_components) {
        if (!c->HasParent()) {
            proc(c);
        }
    }
}

TNotifyEvent TComponent::FindMethod(std::string_view /*name*/) {
    return {};
}

}  // namespace classes
