// Writer of the design-data text format: each component with the properties that differ from
// their declared defaults, its children nested inside.
#include "classes/DesignData.h"

#include <charconv>
#include <cmath>
#include <string>

#include "classes/ClassBuilder.h"
#include "classes/Component.h"

namespace classes {

namespace {

std::string Quote(const std::string& text) {
    std::string out;
    bool inQuote = false;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127) {
            if (inQuote) {
                out += '\'';
                inQuote = false;
            }
            out += '#' + std::to_string(u);
            continue;
        }
        if (!inQuote) {
            out += '\'';
            inQuote = true;
        }
        out += c == '\'' ? std::string("''") : std::string(1, c);
    }
    if (inQuote) {
        out += '\'';
    }
    return out.empty() ? "''" : out;
}

std::string FloatText(double v) {
    char buffer[64];
    const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    (void)ec;
    std::string s(buffer, ptr);
    if (s.find_first_of(".e") == std::string::npos && std::isfinite(v)) {
        s += ".0";
    }
    return s;
}

std::string ValueText(const TDesignValue& v, const std::string& indent) {
    switch (v.Kind) {
        case TDesignValue::TKind::dvInteger:
            return std::to_string(v.Integer);
        case TDesignValue::TKind::dvFloat:
            return FloatText(v.Float);
        case TDesignValue::TKind::dvString:
            return Quote(v.Text);
        case TDesignValue::TKind::dvIdent:
            return v.Text;
        case TDesignValue::TKind::dvSet: {
            std::string out = "[";
            for (size_t i = 0; i < v.Items.size(); ++i) {
                out += (i == 0 ? "" : ", ") + v.Items[i];
            }
            return out + "]";
        }
        case TDesignValue::TKind::dvList: {
            std::string out = "(";
            for (const std::string& item : v.Items) {
                out += "\n" + indent + "  " + Quote(item);
            }
            return out + ")";
        }
    }
    return "";
}

void WriteProperties(const TPersistent& obj, const std::string& prefix, const std::string& indent,
                     std::string& out) {
    obj.ClassInfo().ForEachProperty([&](const TPropInfo& p) {
        if (p.Stored && !p.Stored(obj)) {
            return;
        }
        switch (p.Kind) {
            case TPropKind::pkObject:
                WriteProperties(*p.Object(const_cast<TPersistent&>(obj)), prefix + p.Name + ".",
                                indent, out);
                return;
            case TPropKind::pkComponent: {
                const TComponent* c = p.GetComponent(obj);
                if (c != nullptr && !c->Name().empty()) {
                    out += indent + prefix + p.Name + " = " + c->Name() + "\n";
                }
                return;
            }
            case TPropKind::pkEvent: {
                const TNotifyEvent* e = p.GetEvent(obj);
                if (e != nullptr && !e->Name.empty()) {
                    out += indent + prefix + p.Name + " = " + e->Name + "\n";
                }
                return;
            }
            case TPropKind::pkInteger:
            case TPropKind::pkFloat:
            case TPropKind::pkString:
            case TPropKind::pkBoolean:
            case TPropKind::pkEnum:
            case TPropKind::pkSet:
            case TPropKind::pkStrings:
                break;
        }
        if (p.IsStored(obj)) {
            out += indent + prefix + p.Name + " = " + ValueText(p.Get(obj), indent) + "\n";
        }
    });
}

void WriteObject(const TComponent& c, const TComponent& root, const std::string& indent,
                 std::string& out) {
    out += indent + "object " + c.Name() + ": " + c.ClassName() + "\n";
    WriteProperties(c, "", indent + "  ", out);
    c.GetChildren([&](TComponent* child) { WriteObject(*child, root, indent + "  ", out); },
                  const_cast<TComponent*>(&root));
    out += indent + "end\n";
}

}  // namespace

std::string WriteComponent(const TComponent& root) {
    std::string out;
    WriteObject(root, root, "", out);
    return out;
}

}  // namespace classes
