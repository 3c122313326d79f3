// Components: objects with an owner that frees them, a name unique among the owner's
// components, a tag, free notification, and their place in the design-data tree.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Exceptions.h"
#include "classes/Persistent.h"
#include "classes/Properties.h"

namespace classes {

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  public:
    // The owner takes ownership and frees this component when it is freed itself.
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    const TClassInfo& ClassInfo() const override;
    static const TClassInfo& StaticClass();

    TComponent* Owner() const { return m_owner; }
    const std::string& Name() const { return m_name; }
    // A valid identifier (or empty) not used by another component of the same owner; otherwise
    // EComponentError "'<name>' is not a valid component name" or "A component named <name>
    // already exists".
    void SetName(const std::string& name);
    int32_t Tag() const { return m_tag; }
    void SetTag(int32_t tag) { m_tag = tag; }

    int32_t ComponentCount() const { return static_cast<int32_t>(m_components.size()); }
    TComponent* Components(int32_t index) const;
    // The owned component with that name (case-insensitive), or nullptr.
    TComponent* FindComponent(std::string_view name) const;

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    // Asks to be told (Notification with opRemove) when `other` is freed.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);
    virtual void Notification(TComponent* component, TOperation operation);

    // Loading from design data: Loading() is true from the start of the read until Loaded().
    bool Loading() const { return m_loading; }
    bool Destroying() const { return m_destroying; }
    void BeginLoading() { m_loading = true; }
    virtual void Loaded();
    // Design time: the component is edited in a designer, which shows sample data where
    // run-time data would come later.
    bool Designing() const { return m_designing; }
    void SetDesigning(bool value) { m_designing = value; }

    // The design-data tree: a component with a parent is stored inside that parent's object.
    virtual bool HasParent() const { return false; }
    virtual TComponent* ParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* parent);
    // Calls proc for each component stored directly inside this one when root is written.
    virtual void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const;

    // Event binding: the method of this (root) component that design data names, or an empty
    // event when there is none.
    virtual TNotifyEvent FindMethod(std::string_view name);

  protected:
    void MarkDestroying() { m_destroying = true; }

  private:
    TComponent* m_owner = nullptr;
    std::string m_name;
    int32_t m_tag = 0;
    std::vector<TComponent*> m_components;    // owned
    std::vector<TComponent*> m_freeNotifies;  // told when this one is freed
    bool m_loading = false;
    bool m_destroying = false;
    bool m_designing = false;
};

// A component's name or its place in the tree is refused.
class EComponentError : public base::Exception {
  public:
    using Exception::Exception;
};

// True when text is a valid identifier: a letter or underscore, then letters, digits, underscores.
bool IsValidIdent(std::string_view text);

}  // namespace classes
