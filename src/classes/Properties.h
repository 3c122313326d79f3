// Published properties: their kinds, values as design data holds them, and the class information
// that lists them with their declared defaults and stored-tests.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "classes/Persistent.h"

namespace classes {

class TComponent;

// A value as it stands in design data.
struct TDesignValue {
    enum class TKind { dvInteger, dvFloat, dvString, dvIdent, dvSet, dvList };
    TKind Kind = TKind::dvInteger;
    int64_t Integer = 0;
    double Float = 0;
    std::string Text;                // dvString text or dvIdent name
    std::vector<std::string> Items;  // dvSet element names or dvList strings

    static TDesignValue OfInteger(int64_t v);
    static TDesignValue OfFloat(double v);
    static TDesignValue OfString(std::string v);
    static TDesignValue OfIdent(std::string v);
    static TDesignValue OfSet(std::vector<std::string> v);
    static TDesignValue OfList(std::vector<std::string> v);
    bool operator==(const TDesignValue& other) const;
};

enum class TPropKind {
    pkInteger,
    pkFloat,
    pkString,
    pkBoolean,
    pkEnum,
    pkSet,
    pkStrings,
    pkObject,
    pkComponent,
    pkEvent
};

// Names for particular integer values (colour names such as clBlue).
using TIdentMap = std::vector<std::pair<std::string, int64_t>>;

// An event handler bound by name to a method of the root component (a form's "StartClick").
struct TNotifyEvent {
    std::string Name;
    std::function<void(TPersistent* sender)> Code;
    explicit operator bool() const { return static_cast<bool>(Code); }
    void operator()(TPersistent* sender) const { Code(sender); }
};

// One published property. Get/Set convert between the object's field and a design value; Set
// raises on a value of the wrong kind (the reader adds line and column).
struct TPropInfo {
    std::string Name;
    TPropKind Kind = TPropKind::pkInteger;
    std::vector<std::string> EnumNames;  // pkEnum by ordinal, pkSet by bit
    const TIdentMap* Idents = nullptr;   // pkInteger: names of values
    std::function<TDesignValue(const TPersistent&)> Get;
    std::function<void(TPersistent&, const TDesignValue&)> Set;
    std::optional<TDesignValue> Default;                          // none: always stored
    std::function<bool(const TPersistent&)> Stored;               // optional stored-test
    std::function<TPersistent*(TPersistent&)> Object;             // pkObject: the owned sub-object
    std::function<TComponent*(const TPersistent&)> GetComponent;  // pkComponent
    std::function<void(TPersistent&, TComponent*)> SetComponent;  // pkComponent
    std::function<const TNotifyEvent*(const TPersistent&)> GetEvent;  // pkEvent
    std::function<void(TPersistent&, TNotifyEvent)> SetEvent;         // pkEvent

    // True when the writer stores this property of obj: the stored-test passes and the value
    // differs from the declared default (always, when there is none).
    bool IsStored(const TPersistent& obj) const;
};

// Class information: name, parent, the published properties the class adds, and for
// components a factory that creates one with a given owner.
class TClassInfo {
  public:
    using TFactory = std::function<TComponent*(TComponent* owner)>;

    TClassInfo(std::string name, const TClassInfo* parent);

    const std::string& Name() const { return m_name; }
    const TClassInfo* Parent() const { return m_parent; }
    bool InheritsFrom(const TClassInfo& other) const;
    bool Creatable() const { return static_cast<bool>(m_factory); }
    TComponent* Create(TComponent* owner) const;

    // Finds a property of this class or an ancestor, case-insensitively.
    const TPropInfo* FindProperty(std::string_view name) const;
    // Every property, the ancestors' first, in declaration order.
    void ForEachProperty(const std::function<void(const TPropInfo&)>& proc) const;

    void AddProperty(TPropInfo prop) { m_props.push_back(std::move(prop)); }
    void SetFactory(TFactory factory) { m_factory = std::move(factory); }
    TPropInfo& LastProperty() { return m_props.back(); }

  private:
    std::string m_name;
    const TClassInfo* m_parent;
    std::vector<TPropInfo> m_props;
    TFactory m_factory;
};

// The class registry: design data names classes, the registry finds them.
void RegisterClass(const TClassInfo& info);
const TClassInfo* FindClass(std::string_view name);

// Case-insensitive comparison of identifiers.
bool SameText(std::string_view a, std::string_view b);

}  // namespace classes
