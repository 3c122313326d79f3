// A keyboard key as the Morse key while a Keyvet window has focus: the front end reports the
// presses and releases its windows receive, by key symbol; the contact is closed while the chosen
// key is down.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/KeyLevelSource.h"

namespace platform {

// A key that can be chosen: its key symbol (the window system's code), its name in the settings
// and its caption in the window.
struct TKeyboardKeyName {
    uint32_t Symbol;
    const char* Name;
    const char* Caption;
};

class TKeyboardKey : public IKeyLevelSource {
  public:
    static constexpr uint32_t kLeftCtrl = 0xffe3;

    // The keys that can be chosen, Left Ctrl first.
    static const std::vector<TKeyboardKeyName>& Keys();
    // The key of a settings name, or nullptr.
    static const TKeyboardKeyName* FindByName(const std::string& name);
    static const TKeyboardKeyName* FindBySymbol(uint32_t symbol);

    void SetSymbol(uint32_t symbol);
    uint32_t Symbol() const { return m_symbol; }
    // A key of the focused window went down or up; true when it is the chosen key (whose events
    // then go no further). Releasing is also what losing the focus does to the key.
    // stamp: when the window system says the key went down or up, where it says so.
    bool Press(uint32_t symbol, std::optional<TKeyStamp> stamp = std::nullopt);
    bool Release(uint32_t symbol, std::optional<TKeyStamp> stamp = std::nullopt);
    void ReleaseAll() {
        m_down = false;
        m_stamp = std::nullopt;
    }

    TKeyLevel Level() override { return m_down ? TKeyLevel::klClosed : TKeyLevel::klOpen; }
    std::optional<TKeyStamp> LevelStamp() override { return m_stamp; }
    bool Reopen() override { return true; }
    std::string Description() const override;

  private:
    uint32_t m_symbol = kLeftCtrl;
    bool m_down = false;
    std::optional<TKeyStamp> m_stamp;  // of the last change of m_down
};

}  // namespace platform
