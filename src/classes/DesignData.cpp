// Reader of the design-data text format: a lexer and a reader that creates the components and
// sets their properties, resolving references to components once everything is loaded.
#include "classes/DesignData.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "classes/ClassBuilder.h"
#include "classes/Component.h"

namespace classes {

EDesignDataError::EDesignDataError(int line, int column, const std::string& what)
    : base::Exception("Design data error at line " + std::to_string(line) + ", column " +
                      std::to_string(column) + ": " + what),
      m_line(line),
      m_column(column) {}

namespace {

enum class TTokenKind { tkEnd, tkIdent, tkInteger, tkFloat, tkString, tkSymbol };

struct TToken {
    TTokenKind Kind = TTokenKind::tkEnd;
    std::string Text;  // identifier, symbol, or the decoded string
    int64_t Integer = 0;
    double Float = 0;
    int Line = 1;
    int Column = 1;
};

std::string Describe(const TToken& t) {
    switch (t.Kind) {
        case TTokenKind::tkEnd:
            return "the end of the text";
        case TTokenKind::tkIdent:
            return "'" + t.Text + "'";
        case TTokenKind::tkInteger:
        case TTokenKind::tkFloat:
            return "a number";
        case TTokenKind::tkString:
            return "a string";
        case TTokenKind::tkSymbol:
            return "'" + t.Text + "'";
    }
    return "?";
}

class TLexer {
  public:
    explicit TLexer(std::string_view text) : m_text(text) { Advance(); }

    const TToken& Peek() const { return m_token; }
    TToken Take() {
        TToken t = m_token;
        Advance();
        return t;
    }

    [[noreturn]] void Fail(const TToken& at, const std::string& what) const {
        throw EDesignDataError(at.Line, at.Column, what);
    }
    [[noreturn]] void Expected(const std::string& what) const {
        Fail(m_token, "expected " + what + " but found " + Describe(m_token));
    }

    TToken ExpectIdent(const std::string& what) {
        if (m_token.Kind != TTokenKind::tkIdent) {
            Expected(what);
        }
        return Take();
    }
    void ExpectSymbol(char symbol) {
        if (m_token.Kind != TTokenKind::tkSymbol || m_token.Text[0] != symbol) {
            Expected(std::string("'") + symbol + "'");
        }
        Take();
    }
    bool IsSymbol(char symbol) const {
        return m_token.Kind == TTokenKind::tkSymbol && m_token.Text[0] == symbol;
    }
    bool IsKeyword(std::string_view word) const {
        return m_token.Kind == TTokenKind::tkIdent && SameText(m_token.Text, word);
    }

  private:
    char At(size_t i) const { return i < m_text.size() ? m_text[i] : '\0'; }

    void Step() {
        if (m_text[m_pos] == '\n') {
            ++m_line;
            m_column = 1;
        } else {
            ++m_column;
        }
        ++m_pos;
    }

    void SkipBlanks() {
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                Step();
            } else if (c == '/' && At(m_pos + 1) == '/') {
                while (m_pos < m_text.size() && m_text[m_pos] != '\n') {
                    Step();
                }
            } else {
                break;
            }
        }
    }

    static bool IsIdentStart(char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    void Advance() {
        SkipBlanks();
        m_token = TToken();
        m_token.Line = m_line;
        m_token.Column = m_column;
        if (m_pos >= m_text.size()) {
            return;
        }
        const char c = m_text[m_pos];
        if (IsIdentStart(c)) {
            // Identifiers may be dotted paths ("Font.Style").
            m_token.Kind = TTokenKind::tkIdent;
            while (m_pos < m_text.size() &&
                   (IsIdentStart(m_text[m_pos]) || IsDigit(m_text[m_pos]) ||
                    (m_text[m_pos] == '.' && IsIdentStart(At(m_pos + 1))))) {
                m_token.Text += m_text[m_pos];
                Step();
            }
        } else if (IsDigit(c) || c == '$' ||
                   ((c == '-' || c == '+') && (IsDigit(At(m_pos + 1)) || At(m_pos + 1) == '$'))) {
            LexNumber();
        } else if (c == '\'' || c == '#') {
            LexString();
        } else if (c == '=' || c == ':' || c == '[' || c == ']' || c == '(' || c == ')' ||
                   c == ',' || c == '<' || c == '>') {
            m_token.Kind = TTokenKind::tkSymbol;
            m_token.Text = std::string(1, c);
            Step();
        } else {
            Fail(m_token, std::string("unexpected character '") + c + "'");
        }
    }

    void LexNumber() {
        std::string text;
        bool negative = false;
        if (m_text[m_pos] == '-' || m_text[m_pos] == '+') {
            negative = m_text[m_pos] == '-';
            Step();
        }
        if (m_text[m_pos] == '$') {
            Step();
            while (m_pos < m_text.size() &&
                   std::isxdigit(static_cast<unsigned char>(m_text[m_pos]))) {
                text += m_text[m_pos];
                Step();
            }
            uint64_t v = 0;
            const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v, 16);
            if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() ||
                v > 0xFFFFFFFFFFFFull) {
                Fail(m_token, "expected a hexadecimal number");
            }
            m_token.Kind = TTokenKind::tkInteger;
            m_token.Integer = negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
            return;
        }
        bool isFloat = false;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (IsDigit(c)) {
                text += c;
            } else if (c == '.' && IsDigit(At(m_pos + 1))) {
                isFloat = true;
                text += c;
            } else if ((c == 'e' || c == 'E') &&
                       (IsDigit(At(m_pos + 1)) || ((At(m_pos + 1) == '-' || At(m_pos + 1) == '+') &&
                                                   IsDigit(At(m_pos + 2))))) {
                isFloat = true;
                text += c;
                Step();
                text += m_text[m_pos];
            } else {
                break;
            }
            Step();
        }
        if (negative) {
            text.insert(text.begin(), '-');
        }
        if (isFloat) {
            double v = 0;
            const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
            if (ec != std::errc() || ptr != text.data() + text.size()) {
                Fail(m_token, "expected a number");
            }
            m_token.Kind = TTokenKind::tkFloat;
            m_token.Float = v;
        } else {
            int64_t v = 0;
            const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
            if (ec != std::errc() || ptr != text.data() + text.size()) {
                Fail(m_token, "expected an integer that fits 64 bits");
            }
            m_token.Kind = TTokenKind::tkInteger;
            m_token.Integer = v;
        }
    }

    void LexString() {
        m_token.Kind = TTokenKind::tkString;
        while (m_pos < m_text.size() && (m_text[m_pos] == '\'' || m_text[m_pos] == '#')) {
            if (m_text[m_pos] == '#') {
                Step();
                std::string digits;
                while (m_pos < m_text.size() && IsDigit(m_text[m_pos])) {
                    digits += m_text[m_pos];
                    Step();
                }
                const int code = digits.empty() || digits.size() > 3 ? 256 : std::stoi(digits);
                if (code > 255) {
                    Fail(m_token, "expected a character code from #0 to #255");
                }
                m_token.Text += static_cast<char>(code);
                continue;
            }
            Step();  // opening quote
            while (true) {
                if (m_pos >= m_text.size() || m_text[m_pos] == '\n') {
                    Fail(m_token, "unterminated string");
                }
                if (m_text[m_pos] == '\'') {
                    if (At(m_pos + 1) == '\'') {
                        m_token.Text += '\'';
                        Step();
                        Step();
                        continue;
                    }
                    Step();
                    break;
                }
                m_token.Text += m_text[m_pos];
                Step();
            }
        }
    }

    std::string_view m_text;
    size_t m_pos = 0;
    int m_line = 1;
    int m_column = 1;
    TToken m_token;
};

struct TFixup {
    TPersistent* Target;
    const TPropInfo* Prop;
    TToken Value;
};

class TReader {
  public:
    TReader(std::string_view text, TComponent& root) : m_lex(text), m_root(root) {}

    void Read() {
        if (!m_lex.IsKeyword("object")) {
            m_lex.Expected("'object'");
        }
        m_lex.Take();
        const TToken name = m_lex.ExpectIdent("a component name");
        m_lex.ExpectSymbol(':');
        const TToken cls = m_lex.ExpectIdent("a class name");
        if (!SameText(cls.Text, m_root.ClassName())) {
            m_lex.Fail(cls,
                       "expected class " + m_root.ClassName() + " but found '" + cls.Text + "'");
        }
        SetName(m_root, name);
        MarkLoading(m_root);
        ReadBody(m_root);
        if (m_lex.Peek().Kind != TTokenKind::tkEnd) {
            m_lex.Expected("the end of the text");
        }
        ResolveFixups();
        for (TComponent* c : m_loaded) {
            c->Loaded();
        }
        m_root.Loaded();
    }

  private:
    void MarkLoading(TComponent& c) { c.BeginLoading(); }

    void SetName(TComponent& c, const TToken& name) {
        try {
            c.SetName(name.Text);
        } catch (const base::Exception& e) {
            m_lex.Fail(name, e.Message());
        }
    }

    // Properties and nested objects up to the matching "end".
    void ReadBody(TComponent& current) {
        while (true) {
            if (m_lex.IsKeyword("end")) {
                m_lex.Take();
                return;
            }
            if (m_lex.IsKeyword("object")) {
                ReadChild(current);
                continue;
            }
            if (m_lex.Peek().Kind != TTokenKind::tkIdent) {
                m_lex.Expected("a property name, 'object' or 'end'");
            }
            ReadProperty(current);
        }
    }

    void ReadChild(TComponent& parent) {
        m_lex.Take();
        const TToken name = m_lex.ExpectIdent("a component name");
        m_lex.ExpectSymbol(':');
        const TToken cls = m_lex.ExpectIdent("a class name");
        const TClassInfo* info = FindClass(cls.Text);
        if (info == nullptr) {
            m_lex.Fail(cls, "unknown class '" + cls.Text + "'");
        }
        TComponent* child = m_root.FindComponent(name.Text);
        if (child != nullptr &&
            std::find(m_loaded.begin(), m_loaded.end(), child) != m_loaded.end()) {
            m_lex.Fail(name, "a component named " + name.Text + " was read already");
        }
        if (child != nullptr && !child->InheritsFrom(*info)) {
            m_lex.Fail(cls, "component " + name.Text + " exists with class " + child->ClassName());
        }
        if (child == nullptr) {
            if (!info->Creatable()) {
                m_lex.Fail(cls, "class '" + cls.Text + "' cannot be created from design data");
            }
            child = info->Create(&m_root);
            SetName(*child, name);
        }
        MarkLoading(*child);
        try {
            child->SetParentComponent(&parent);
        } catch (const base::Exception& e) {
            m_lex.Fail(name, e.Message());
        }
        m_loaded.push_back(child);
        ReadBody(*child);
    }

    void ReadProperty(TComponent& current) {
        const TToken path = m_lex.Take();
        TPersistent* target = &current;
        const TPropInfo* prop = nullptr;
        size_t start = 0;
        while (true) {
            const size_t dot = path.Text.find('.', start);
            const std::string part =
                path.Text.substr(start, dot == std::string::npos ? dot : dot - start);
            prop = target->ClassInfo().FindProperty(part);
            if (prop == nullptr) {
                m_lex.Fail(path, "unknown property '" + part + "' of " + target->ClassName());
            }
            if (dot == std::string::npos) {
                break;
            }
            if (prop->Kind != TPropKind::pkObject) {
                m_lex.Fail(path, "property '" + part + "' of " + target->ClassName() +
                                     " has no sub-properties");
            }
            target = prop->Object(*target);
            start = dot + 1;
        }
        m_lex.ExpectSymbol('=');
        const TToken at = m_lex.Peek();
        switch (prop->Kind) {
            case TPropKind::pkComponent:
            case TPropKind::pkEvent: {
                const TToken value = m_lex.ExpectIdent("a name");
                m_fixups.push_back({target, prop, value});
                return;
            }
            case TPropKind::pkObject:
                m_lex.Fail(path, "property '" + prop->Name + "' is an object; set its properties");
            case TPropKind::pkInteger:
            case TPropKind::pkFloat:
            case TPropKind::pkString:
            case TPropKind::pkBoolean:
            case TPropKind::pkEnum:
            case TPropKind::pkSet:
            case TPropKind::pkStrings:
                break;
        }
        const TDesignValue value = ReadValue();
        try {
            prop->Set(*target, value);
        } catch (const base::Exception& e) {
            m_lex.Fail(at, e.Message() + " for property '" + path.Text + "'");
        }
    }

    TDesignValue ReadValue() {
        const TToken t = m_lex.Peek();
        switch (t.Kind) {
            case TTokenKind::tkInteger:
                m_lex.Take();
                return TDesignValue::OfInteger(t.Integer);
            case TTokenKind::tkFloat:
                m_lex.Take();
                return TDesignValue::OfFloat(t.Float);
            case TTokenKind::tkString:
                m_lex.Take();
                return TDesignValue::OfString(t.Text);
            case TTokenKind::tkIdent:
                m_lex.Take();
                return TDesignValue::OfIdent(t.Text);
            case TTokenKind::tkSymbol:
                if (t.Text == "[") {
                    m_lex.Take();
                    std::vector<std::string> items;
                    if (!m_lex.IsSymbol(']')) {
                        while (true) {
                            items.push_back(m_lex.ExpectIdent("a set element").Text);
                            if (m_lex.IsSymbol(']')) {
                                break;
                            }
                            m_lex.ExpectSymbol(',');
                        }
                    }
                    m_lex.Take();
                    return TDesignValue::OfSet(std::move(items));
                }
                if (t.Text == "(") {
                    m_lex.Take();
                    std::vector<std::string> items;
                    while (!m_lex.IsSymbol(')')) {
                        if (m_lex.Peek().Kind != TTokenKind::tkString) {
                            m_lex.Expected("a string or ')'");
                        }
                        items.push_back(m_lex.Take().Text);
                    }
                    m_lex.Take();
                    return TDesignValue::OfList(std::move(items));
                }
                break;
            case TTokenKind::tkEnd:
                break;
        }
        m_lex.Expected("a value");
    }

    void ResolveFixups() {
        for (const TFixup& f : m_fixups) {
            try {
                if (f.Prop->Kind == TPropKind::pkEvent) {
                    TNotifyEvent event = m_root.FindMethod(f.Value.Text);
                    if (!event) {
                        m_lex.Fail(f.Value, "method '" + f.Value.Text + "' not found in " +
                                                m_root.ClassName());
                    }
                    event.Name = f.Value.Text;
                    f.Prop->SetEvent(*f.Target, event);
                } else {
                    TComponent* c = SameText(f.Value.Text, m_root.Name())
                                        ? &m_root
                                        : m_root.FindComponent(f.Value.Text);
                    if (c == nullptr && !SameText(f.Value.Text, "nil")) {
                        m_lex.Fail(f.Value, "unknown component '" + f.Value.Text + "'");
                    }
                    f.Prop->SetComponent(*f.Target, c);
                }
            } catch (const EDesignDataError&) {
                throw;
            } catch (const base::Exception& e) {
                m_lex.Fail(f.Value, e.Message() + " for property '" + f.Prop->Name + "'");
            }
        }
    }

    TLexer m_lex;
    TComponent& m_root;
    std::vector<TFixup> m_fixups;
    std::vector<TComponent*> m_loaded;
};

}  // namespace

void ReadComponent(std::string_view text, TComponent& root) {
    TReader reader(text, root);
    reader.Read();
}

}  // namespace classes
