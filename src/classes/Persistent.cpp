// Persistent objects, class information and the class registry.
#include "classes/Persistent.h"

#include <cctype>
#include <map>

#include "base/Exceptions.h"
#include "classes/ClassBuilder.h"
#include "classes/Properties.h"

namespace classes {

const TClassInfo& TPersistent::StaticClass() {
    static const TClassInfo info("TPersistent", nullptr);
    return info;
}

const TClassInfo& TPersistent::ClassInfo() const {
    return StaticClass();
}

const std::string& TPersistent::ClassName() const {
    return ClassInfo().Name();
}

bool TPersistent::InheritsFrom(const TClassInfo& info) const {
    return ClassInfo().InheritsFrom(info);
}

void TPersistent::Assign(const TPersistent& source) {
    source.AssignTo(*this);
}

void TPersistent::AssignTo(TPersistent& dest) const {
    throw base::EConvertError("Cannot assign a " + ClassName() + " to a " + dest.ClassName());
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

TDesignValue TDesignValue::OfInteger(int64_t v) {
    TDesignValue d;
    d.Kind = TKind::dvInteger;
    d.Integer = v;
    return d;
}

TDesignValue TDesignValue::OfFloat(double v) {
    TDesignValue d;
    d.Kind = TKind::dvFloat;
    d.Float = v;
    return d;
}

TDesignValue TDesignValue::OfString(std::string v) {
    TDesignValue d;
    d.Kind = TKind::dvString;
    d.Text = std::move(v);
    return d;
}

TDesignValue TDesignValue::OfIdent(std::string v) {
    TDesignValue d;
    d.Kind = TKind::dvIdent;
    d.Text = std::move(v);
    return d;
}

TDesignValue TDesignValue::OfSet(std::vector<std::string> v) {
    TDesignValue d;
    d.Kind = TKind::dvSet;
    d.Items = std::move(v);
    return d;
}

TDesignValue TDesignValue::OfList(std::vector<std::string> v) {
    TDesignValue d;
    d.Kind = TKind::dvList;
    d.Items = std::move(v);
    return d;
}

bool TDesignValue::operator==(const TDesignValue& other) const {
    if (Kind != other.Kind) {
        return false;
    }
    switch (Kind) {
        case TKind::dvInteger:
            return Integer == other.Integer;
        case TKind::dvFloat:
            return Float == other.Float;
        case TKind::dvString:
            return Text == other.Text;
        case TKind::dvIdent:
            return SameText(Text, other.Text);
        case TKind::dvSet:
        case TKind::dvList:
            return Items == other.Items;
    }
    return false;
}

bool TPropInfo::IsStored(const TPersistent& obj) const {
    if (Stored && !Stored(obj)) {
        return false;
    }
    if (!Get) {
        return true;
    }
    return !Default || !(Get(obj) == *Default);
}

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent)
    : m_name(std::move(name)), m_parent(parent) {}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
    for (const TClassInfo* c = this; c != nullptr; c = c->m_parent) {
        if (c == &other) {
            return true;
        }
    }
    return false;
}

TComponent* TClassInfo::Create(TComponent* owner) const {
    if (!m_factory) {
        throw base::EConvertError("Class " + m_name + " cannot be created from design data");
    }
    return m_factory(owner);
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
    for (const TClassInfo* c = this; c != nullptr; c = c->m_parent) {
        // A derived class may redeclare a property (a new default); the most derived one wins.
        for (const TPropInfo& p : c->m_props) {
            if (SameText(p.Name, name)) {
                return &p;
            }
        }
    }
    return nullptr;
}

void TClassInfo::ForEachProperty(const std::function<void(const TPropInfo&)>& proc) const {
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = this; c != nullptr; c = c->m_parent) {
        chain.push_back(c);
    }
    std::vector<std::string> seen;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        for (const TPropInfo& p : (*it)->m_props) {
            // A redeclared property is listed once, at its first place, with the newest info.
            bool already = false;
            for (const std::string& s : seen) {
                already = already || SameText(s, p.Name);
            }
            if (!already) {
                seen.push_back(p.Name);
                proc(*FindProperty(p.Name));
            }
        }
    }
}

namespace {
std::map<std::string, const TClassInfo*>& Registry() {
    static std::map<std::string, const TClassInfo*> registry;
    return registry;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}
}  // namespace

void RegisterClass(const TClassInfo& info) {
    Registry()[Lower(info.Name())] = &info;
}

const TClassInfo* FindClass(std::string_view name) {
    auto it = Registry().find(Lower(name));
    return it == Registry().end() ? nullptr : it->second;
}

}  // namespace classes
