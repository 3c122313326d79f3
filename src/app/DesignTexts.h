// The windows' design data, compiled into the program from src/app/forms/*.form.
#pragma once

#include <string_view>

namespace app {

// The design data of the window class `name` ("TForm1"); an unknown name is a build fault and
// raises std::logic_error.
std::string_view DesignText(std::string_view name);

}  // namespace app
