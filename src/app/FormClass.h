// Helpers of the windows built from design data: the class record of a window class and the
// lookup of a control its design data must hold.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "classes/ClassBuilder.h"
#include "forms/Form.h"

namespace app {

// The class record of window class T, named `name`, derived from TForm.
template <class T>
const classes::TClassInfo& FormClass(const char* name) {
    static const classes::TClassInfo info =
        classes::TClassBuilder<T>(name, &forms::TForm::StaticClass()).Build();
    return info;
}

// The component `name` of the window, of class T; a window whose design data lacks it is a
// build fault (std::logic_error).
template <class T>
T* DesignField(const forms::TForm& form, std::string_view name) {
    T* field = dynamic_cast<T*>(form.FindComponent(name));
    if (field == nullptr) {
        throw std::logic_error("the design data of " + form.ClassName() + " lacks " +
                               std::string(name));
    }
    return field;
}

}  // namespace app
