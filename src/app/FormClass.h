// Helpers of the windows built from design data: the class record of a window class and the
// lookup of a control its design data must hold.
#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

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

// An event handler of window T by the name its design data gives: the entry of `methods` whose
// name matches (letter case ignored), bound to `form`; an empty event when none does.
template <class T>
using TFormHandler = void (T::*)(classes::TPersistent*);
template <class T>
classes::TNotifyEvent FormMethod(
    T& form, std::span<const std::pair<std::string_view, TFormHandler<T>>> methods,
    std::string_view name) {
    for (const auto& method : methods) {
        if (classes::SameText(method.first, name)) {
            const TFormHandler<T> handler = method.second;
            T* target = &form;
            return {std::string(method.first), [target, handler](classes::TPersistent* sender) {
                        (target->*handler)(sender);
                    }};
        }
    }
    return {};
}

}  // namespace app
