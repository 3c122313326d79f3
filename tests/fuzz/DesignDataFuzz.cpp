// Fuzz target: the design-data reader on arbitrary text must either load it or raise a design-data
// error, never crash, leak or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "classes/ClassBuilder.h"
#include "classes/DesignData.h"
#include "forms/Application.h"
#include "forms/Form.h"

namespace {

// A window that accepts every control class and binds every event name to a no-op.
class TFuzzForm : public forms::TForm {
  public:
    explicit TFuzzForm(classes::TComponent* owner) : forms::TForm(owner) {}
    static const classes::TClassInfo& StaticClass() {
        static const classes::TClassInfo info =
            classes::TClassBuilder<TFuzzForm>("TFuzzForm", &forms::TForm::StaticClass()).Build();
        return info;
    }
    const classes::TClassInfo& ClassInfo() const override { return StaticClass(); }
    classes::TNotifyEvent FindMethod(std::string_view name) override {
        return {std::string(name), [](classes::TPersistent*) {}};
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool registered = [] {
        forms::RegisterControlClasses();
        return true;
    }();
    (void)registered;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TFuzzForm form(nullptr);
    try {
        classes::ReadComponent(text, form);
        // Whatever loaded must write and read back.
        const std::string written = classes::WriteComponent(form);
        TFuzzForm again(nullptr);
        classes::ReadComponent(written, again);
    } catch (const classes::EDesignDataError&) {
    } catch (const base::Exception&) {
    }
    return 0;
}
