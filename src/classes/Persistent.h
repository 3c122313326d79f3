// Persistent objects and their class information: published properties and the class registry.
#pragma once

#include <string>
#include <string_view>

namespace classes {

class TClassInfo;

// Base of every object whose settings can be assigned and stored in design data.
class TPersistent {
  public:
    TPersistent() = default;
    TPersistent(const TPersistent&) = delete;
    TPersistent& operator=(const TPersistent&) = delete;
    virtual ~TPersistent() = default;

    // Copies settings from source; by default asks source to assign itself to this object, and
    // fails with EConvertError "Cannot assign a <source class> to a <this class>".
    virtual void Assign(const TPersistent& source);

    // The class information of this object's most derived class.
    virtual const TClassInfo& ClassInfo() const;
    static const TClassInfo& StaticClass();

    const std::string& ClassName() const;
    bool InheritsFrom(const TClassInfo& info) const;

  protected:
    // Copies this object's settings into dest; the default refuses.
    virtual void AssignTo(TPersistent& dest) const;
};

}  // namespace classes
