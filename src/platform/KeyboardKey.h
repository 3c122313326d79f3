// A keyboard key as the Morse key while a Keyvet window has focus: the front end reports the
// presses and releases its windows receive, by key symbol; the contact is closed while the chosen
// key is down.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/KeyChanges.h"
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
    void ReleaseAll() { m_changes.Change(false, std::nullopt); }

    // The key's changes wait until the capture reads them, one per read: a press and its
    // release that the window system delivers between two polls are both logged.
    TKeyLevel Level() override {
        m_changes.Take();
        return m_changes.Down() ? TKeyLevel::klClosed : TKeyLevel::klOpen;
    }
    std::optional<TKeyStamp> LevelStamp() override { return m_changes.Stamp(); }
    TKeyLevel LevelNow() override {
        return m_changes.DownNow() ? TKeyLevel::klClosed : TKeyLevel::klOpen;
    }
    void CatchUp() override { m_changes.TakeAll(); }
    bool Reopen() override { return true; }
    std::string Description() const override;

  private:
    uint32_t m_symbol = kLeftCtrl;
    TKeyChanges m_changes;
};

}  // namespace platform
