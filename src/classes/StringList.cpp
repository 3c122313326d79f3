// String lists and the line list of multi-line boxes.
#include "classes/StringList.h"

#include "base/Exceptions.h"
#include "classes/ClassBuilder.h"

namespace classes {

const TClassInfo& TStringList::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TStringList>("TStringList", &TPersistent::StaticClass()).Build();
    return info;
}

const TClassInfo& TStringList::ClassInfo() const {
    return StaticClass();
}

void TStringList::Assign(const TPersistent& source) {
    if (const auto* list = dynamic_cast<const TStringList*>(&source)) {
        SetRawLines(list->m_lines);
        return;
    }
    TPersistent::Assign(source);
}

int32_t TStringList::Count() const {
    return static_cast<int32_t>(m_lines.size());
}

std::string TStringList::Strings(int32_t index) const {
    if (index < 0 || index >= static_cast<int32_t>(m_lines.size())) {
        base::ThrowListIndexError(index);
    }
    return m_lines[static_cast<size_t>(index)];
}

void TStringList::Add(std::string line) {
    m_lines.push_back(std::move(line));
    Changed();
}

void TStringList::Insert(int32_t index, std::string line) {
    if (index < 0 || index > static_cast<int32_t>(m_lines.size())) {
        base::ThrowListIndexError(index);
    }
    m_lines.insert(m_lines.begin() + index, std::move(line));
    Changed();
}

void TStringList::Delete(int32_t index) {
    if (index < 0 || index >= static_cast<int32_t>(m_lines.size())) {
        base::ThrowListIndexError(index);
    }
    m_lines.erase(m_lines.begin() + index);
    Changed();
}

void TStringList::Put(int32_t index, std::string line) {
    if (index < 0 || index >= static_cast<int32_t>(m_lines.size())) {
        base::ThrowListIndexError(index);
    }
    m_lines[static_cast<size_t>(index)] = std::move(line);
    Changed();
}

void TStringList::Clear() {
    m_lines.clear();
    Changed();
}

std::string TStringList::Text() const {
    std::string out;
    for (const std::string& line : m_lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

void TStringList::SetRawLines(std::vector<std::string> lines) {
    m_lines = std::move(lines);
    Changed();
}

void TStringList::Changed() {
    if (OnChange) {
        OnChange();
    }
}

const TClassInfo& TLineList::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TLineList>("TLineList", &TStringList::StaticClass()).Build();
    return info;
}

const TClassInfo& TLineList::ClassInfo() const {
    return StaticClass();
}

int32_t TLineList::Count() const {
    const auto n = static_cast<int32_t>(m_lines.size());
    return n > 0 && m_lines.back().empty() ? n - 1 : n;
}

std::string TLineList::Strings(int32_t index) const {
    if (index < 0 || index >= static_cast<int32_t>(m_lines.size())) {
        return std::string();
    }
    const std::string& line = m_lines[static_cast<size_t>(index)];
    return line.size() > kLineBufferChars ? line.substr(0, kLineBufferChars) : line;
}

}  // namespace classes
