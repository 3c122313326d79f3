// The current file dialogs; without a window system every choice is cancelled.
#include "platform/FileDialogs.h"

namespace platform {

namespace {
class TNoFileDialogs : public IFileDialogs {
  public:
    std::string ChooseSaveFile(const std::string&, const std::string&,
                               const std::string&) override {
        return std::string();
    }
    std::string ChooseOpenFile(const std::string&, const std::string&) override {
        return std::string();
    }
    bool Confirm(const std::string&) override { return false; }
};

IFileDialogs*& Current() {
    static TNoFileDialogs none;
    static IFileDialogs* current = &none;
    return current;
}
}  // namespace

IFileDialogs& FileDialogs() {
    return *Current();
}

TScopedFileDialogs::TScopedFileDialogs(IFileDialogs& replacement) : m_saved(Current()) {
    Current() = &replacement;
}

TScopedFileDialogs::~TScopedFileDialogs() {
    Current() = m_saved;
}

}  // namespace platform
