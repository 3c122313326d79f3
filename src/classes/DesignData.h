// The design-data text format: a readable nested description of a component tree.
//
//   object Form1: TForm1
//     Caption = 'Morse Keyvet'
//     Font.Style = [fsBold]
//     Lines = (
//       'first'
//       'second')
//     object Start: TButton
//       OnClick = StartClick
//     end
//   end
//
// Values: integers (decimal, or hexadecimal after "$"), floats, quoted strings ('' is a quote;
// #13 is a character by code, pieces written side by side are joined), identifiers (enumeration
// values, True/False, colour names, component and method names), sets "[a, b]" and string lists
// "( ... )". Comments start with "//" and run to the end of the line.
#pragma once

#include <string>
#include <string_view>

#include "base/Exceptions.h"

namespace classes {

class TComponent;

// Bad design data: names the line and column (from 1) and what was expected there.
class EDesignDataError : public base::Exception {
  public:
    EDesignDataError(int line, int column, const std::string& what);
    int Line() const { return m_line; }
    int Column() const { return m_column; }

  private:
    int m_line;
    int m_column;
};

// Reads design data into root, whose class must be the class the text's top object names. The
// nested objects are created through the class registry with root as their owner, each placed
// inside the object that encloses it (SetParentComponent). Component references and events are
// resolved once the whole text is read; then every component gets Loaded().
void ReadComponent(std::string_view text, TComponent& root);

// Writes root and the components stored inside it, each property only where it differs from its
// declared default.
std::string WriteComponent(const TComponent& root);

}  // namespace classes
