// Declares a class's published properties with typed getters and setters:
//   TClassBuilder<TButton>("TButton", &TControl::StaticClass()).Creatable()
//       .String("Caption", &TButton::Caption, &TButton::SetCaption, std::string()).Build();
#pragma once

#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "base/Exceptions.h"
#include "classes/Properties.h"
#include "classes/StringList.h"

namespace classes {

// A value of the wrong kind for a property ("expected an integer").
class EPropertyError : public base::Exception {
  public:
    using Exception::Exception;
};

template <class T>
class TClassBuilder {
  public:
    TClassBuilder(std::string name, const TClassInfo* parent) : m_info(std::move(name), parent) {}

    // Components: the registry can create one with a given owner.
    TClassBuilder& Creatable() {
        m_info.SetFactory([](TComponent* owner) -> TComponent* { return new T(owner); });
        return *this;
    }

    template <class V = int32_t, class G, class S>
    TClassBuilder& Integer(std::string name, G get, S set, std::optional<int64_t> def = {},
                           const TIdentMap* idents = nullptr) {
        TPropInfo p = Base(std::move(name), TPropKind::pkInteger);
        p.Idents = idents;
        p.Get = [get, idents](const TPersistent& o) {
            const int64_t v = static_cast<int64_t>(std::invoke(get, Self(o)));
            if (idents != nullptr) {
                for (const auto& [identName, identValue] : *idents) {
                    if (identValue == v) {
                        return TDesignValue::OfIdent(identName);
                    }
                }
            }
            return TDesignValue::OfInteger(v);
        };
        p.Set = [set, idents](TPersistent& o, const TDesignValue& v) {
            int64_t value = 0;
            if (v.Kind == TDesignValue::TKind::dvInteger) {
                value = v.Integer;
            } else if (v.Kind == TDesignValue::TKind::dvIdent && idents != nullptr &&
                       FindIdent(*idents, v.Text, value)) {
            } else {
                throw EPropertyError("expected an integer");
            }
            if (value < static_cast<int64_t>(std::numeric_limits<V>::min()) ||
                value > static_cast<int64_t>(std::numeric_limits<V>::max())) {
                throw EPropertyError("integer out of range");
            }
            std::invoke(set, Self(o), static_cast<V>(value));
        };
        if (def) {
            p.Default = DefaultOf(*def, idents);
        }
        return Add(std::move(p));
    }

    template <class G, class S>
    TClassBuilder& Float(std::string name, G get, S set, std::optional<double> def = {}) {
        TPropInfo p = Base(std::move(name), TPropKind::pkFloat);
        p.Get = [get](const TPersistent& o) {
            return TDesignValue::OfFloat(static_cast<double>(std::invoke(get, Self(o))));
        };
        p.Set = [set](TPersistent& o, const TDesignValue& v) {
            if (v.Kind == TDesignValue::TKind::dvFloat) {
                std::invoke(set, Self(o), v.Float);
            } else if (v.Kind == TDesignValue::TKind::dvInteger) {
                std::invoke(set, Self(o), static_cast<double>(v.Integer));
            } else {
                throw EPropertyError("expected a number");
            }
        };
        if (def) {
            p.Default = TDesignValue::OfFloat(*def);
        }
        return Add(std::move(p));
    }

    template <class G, class S>
    TClassBuilder& String(std::string name, G get, S set, std::optional<std::string> def = {}) {
        TPropInfo p = Base(std::move(name), TPropKind::pkString);
        p.Get = [get](const TPersistent& o) {
            return TDesignValue::OfString(std::string(std::invoke(get, Self(o))));
        };
        p.Set = [set](TPersistent& o, const TDesignValue& v) {
            if (v.Kind != TDesignValue::TKind::dvString) {
                throw EPropertyError("expected a quoted string");
            }
            std::invoke(set, Self(o), v.Text);
        };
        if (def) {
            p.Default = TDesignValue::OfString(*def);
        }
        return Add(std::move(p));
    }

    template <class G, class S>
    TClassBuilder& Boolean(std::string name, G get, S set, std::optional<bool> def = {}) {
        TPropInfo p = Base(std::move(name), TPropKind::pkBoolean);
        p.Get = [get](const TPersistent& o) {
            return TDesignValue::OfIdent(std::invoke(get, Self(o)) ? "True" : "False");
        };
        p.Set = [set](TPersistent& o, const TDesignValue& v) {
            if (v.Kind == TDesignValue::TKind::dvIdent && SameText(v.Text, "True")) {
                std::invoke(set, Self(o), true);
            } else if (v.Kind == TDesignValue::TKind::dvIdent && SameText(v.Text, "False")) {
                std::invoke(set, Self(o), false);
            } else {
                throw EPropertyError("expected True or False");
            }
        };
        if (def) {
            p.Default = TDesignValue::OfIdent(*def ? "True" : "False");
        }
        return Add(std::move(p));
    }

    // An enumeration stored by the name of its value; names are listed by ordinal.
    template <class E, class G, class S>
    TClassBuilder& Enum(std::string name, G get, S set, std::vector<std::string> names,
                        std::optional<E> def = {}) {
        TPropInfo p = Base(std::move(name), TPropKind::pkEnum);
        p.EnumNames = names;
        p.Get = [get, names](const TPersistent& o) {
            const auto ordinal = static_cast<size_t>(std::invoke(get, Self(o)));
            return TDesignValue::OfIdent(ordinal < names.size() ? names[ordinal]
                                                                : std::to_string(ordinal));
        };
        p.Set = [set, names](TPersistent& o, const TDesignValue& v) {
            if (v.Kind == TDesignValue::TKind::dvIdent) {
                for (size_t i = 0; i < names.size(); ++i) {
                    if (SameText(names[i], v.Text)) {
                        std::invoke(set, Self(o), static_cast<E>(i));
                        return;
                    }
                }
            }
            throw EPropertyError("expected one of " + JoinNames(names));
        };
        if (def) {
            p.Default = TDesignValue::OfIdent(names.at(static_cast<size_t>(*def)));
        }
        return Add(std::move(p));
    }

    // A set held as a bit mask (bit i = names[i]), stored as "[a, b]".
    template <class G, class S>
    TClassBuilder& Set(std::string name, G get, S set, std::vector<std::string> names,
                       std::optional<uint32_t> def = {}) {
        TPropInfo p = Base(std::move(name), TPropKind::pkSet);
        p.EnumNames = names;
        p.Get = [get, names](const TPersistent& o) {
            return SetValueOf(static_cast<uint32_t>(std::invoke(get, Self(o))), names);
        };
        p.Set = [set, names](TPersistent& o, const TDesignValue& v) {
            if (v.Kind != TDesignValue::TKind::dvSet) {
                throw EPropertyError("expected a set in brackets");
            }
            uint32_t mask = 0;
            for (const std::string& item : v.Items) {
                size_t i = 0;
                while (i < names.size() && !SameText(names[i], item)) {
                    ++i;
                }
                if (i == names.size()) {
                    throw EPropertyError("unknown set element '" + item + "', expected one of " +
                                         JoinNames(names));
                }
                mask |= 1u << i;
            }
            std::invoke(set, Self(o), mask);
        };
        if (def) {
            p.Default = SetValueOf(*def, names);
        }
        return Add(std::move(p));
    }

    // A string list owned by the object; get returns a TStringList&.
    template <class G>
    TClassBuilder& Strings(std::string name, G get) {
        TPropInfo p = Base(std::move(name), TPropKind::pkStrings);
        p.Get = [get](const TPersistent& o) {
            TStringList& list = std::invoke(get, const_cast<T&>(Self(o)));
            return TDesignValue::OfList(list.RawLines());
        };
        p.Set = [get](TPersistent& o, const TDesignValue& v) {
            if (v.Kind != TDesignValue::TKind::dvList) {
                throw EPropertyError("expected a list of strings in parentheses");
            }
            std::invoke(get, Self(o)).SetRawLines(v.Items);
        };
        p.Default = TDesignValue::OfList({});
        return Add(std::move(p));
    }

    // An owned sub-object whose own properties are stored as "Name.Property".
    template <class G>
    TClassBuilder& Object(std::string name, G get) {
        TPropInfo p = Base(std::move(name), TPropKind::pkObject);
        p.Object = [get](TPersistent& o) -> TPersistent* { return &std::invoke(get, Self(o)); };
        return Add(std::move(p));
    }

    // A reference to another component, stored by name and resolved after loading.
    template <class C, class G, class S>
    TClassBuilder& Component(std::string name, G get, S set) {
        TPropInfo p = Base(std::move(name), TPropKind::pkComponent);
        p.GetComponent = [get](const TPersistent& o) -> TComponent* {
            return std::invoke(get, Self(o));
        };
        p.SetComponent = [set](TPersistent& o, TComponent* c) {
            C* typed = c == nullptr ? nullptr : dynamic_cast<C*>(c);
            if (c != nullptr && typed == nullptr) {
                throw EPropertyError("component of the wrong class");
            }
            std::invoke(set, Self(o), typed);
        };
        return Add(std::move(p));
    }

    // An event bound by the name of a method of the root component.
    template <class G, class S>
    TClassBuilder& Event(std::string name, G get, S set) {
        TPropInfo p = Base(std::move(name), TPropKind::pkEvent);
        p.GetEvent = [get](const TPersistent& o) -> const TNotifyEvent* {
            return &std::invoke(get, Self(o));
        };
        p.SetEvent = [set](TPersistent& o, TNotifyEvent e) { std::invoke(set, Self(o), e); };
        return Add(std::move(p));
    }

    // A property written out by hand (a computed list, say).
    TClassBuilder& Property(TPropInfo p) { return Add(std::move(p)); }

    // A stored-test for the property declared last.
    TClassBuilder& StoredIf(std::function<bool(const T&)> test) {
        m_info.LastProperty().Stored = [test](const TPersistent& o) { return test(Self(o)); };
        return *this;
    }

    TClassInfo Build() { return std::move(m_info); }

  private:
    static const T& Self(const TPersistent& o) { return static_cast<const T&>(o); }
    static T& Self(TPersistent& o) { return static_cast<T&>(o); }

    static TPropInfo Base(std::string name, TPropKind kind) {
        TPropInfo p;
        p.Name = std::move(name);
        p.Kind = kind;
        return p;
    }

    TClassBuilder& Add(TPropInfo p) {
        m_info.AddProperty(std::move(p));
        return *this;
    }

    static bool FindIdent(const TIdentMap& idents, const std::string& name, int64_t& value) {
        for (const auto& [identName, identValue] : idents) {
            if (SameText(identName, name)) {
                value = identValue;
                return true;
            }
        }
        return false;
    }

    static TDesignValue DefaultOf(int64_t v, const TIdentMap* idents) {
        if (idents != nullptr) {
            for (const auto& [identName, identValue] : *idents) {
                if (identValue == v) {
                    return TDesignValue::OfIdent(identName);
                }
            }
        }
        return TDesignValue::OfInteger(v);
    }

    static TDesignValue SetValueOf(uint32_t mask, const std::vector<std::string>& names) {
        std::vector<std::string> items;
        for (size_t i = 0; i < names.size() && i < 32; ++i) {
            if ((mask & (1u << i)) != 0) {
                items.push_back(names[i]);
            }
        }
        return TDesignValue::OfSet(std::move(items));
    }

    static std::string JoinNames(const std::vector<std::string>& names) {
        std::string out;
        for (const std::string& n : names) {
            out += out.empty() ? n : ", " + n;
        }
        return out;
    }

    TClassInfo m_info;
};

}  // namespace classes
