// Finding the application's windows by their class in tests.
#pragma once

#include <stdexcept>

#include "forms/Application.h"

namespace testsupport {

// The first window of class T the application holds; raises std::logic_error when there is none.
template <class T>
T& AppWindow() {
    forms::TApplication& application = forms::TApplication::Instance();
    for (int32_t i = 0; i < application.FormCount(); ++i) {
        if (auto* form = dynamic_cast<T*>(application.Forms(i))) {
            return *form;
        }
    }
    throw std::logic_error("no such window");
}

}  // namespace testsupport
