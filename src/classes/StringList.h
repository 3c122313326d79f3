// String lists: a plain list of strings, and the line list of a multi-line box with its count
// and past-end reading rules.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "classes/Persistent.h"

namespace classes {

// A list of strings with a change notification after every change.
class TStringList : public TPersistent {
  public:
    TStringList() = default;
    explicit TStringList(std::vector<std::string> lines) : m_lines(std::move(lines)) {}

    void Assign(const TPersistent& source) override;
    const TClassInfo& ClassInfo() const override;
    static const TClassInfo& StaticClass();

    // Number of strings; an index outside 0 .. Count-1 raises "List index out of bounds (%d)".
    virtual int32_t Count() const;
    virtual std::string Strings(int32_t index) const;
    void Add(std::string line);
    void Insert(int32_t index, std::string line);
    void Delete(int32_t index);
    void Clear();
    void Put(int32_t index, std::string line);

    // The lines joined, each followed by a carriage return and line feed.
    std::string Text() const;

    // Every stored line, also a trailing empty one (design data stores these).
    const std::vector<std::string>& RawLines() const { return m_lines; }
    void SetRawLines(std::vector<std::string> lines);

    // Called after every change.
    std::function<void()> OnChange;

  protected:
    void Changed();
    std::vector<std::string> m_lines;
};

// The lines of a multi-line box as the program reads them: the count leaves out a last line that
// is empty (so an empty box counts 0), reading at or past the end gives an empty line, and a line
// is read through a buffer of kLineBufferChars characters.
class TLineList : public TStringList {
  public:
    using TStringList::TStringList;

    const TClassInfo& ClassInfo() const override;
    static const TClassInfo& StaticClass();

    // Characters of a line that a read can return.
    static constexpr size_t kLineBufferChars = 4096;

    int32_t Count() const override;
    std::string Strings(int32_t index) const override;
};

}  // namespace classes
