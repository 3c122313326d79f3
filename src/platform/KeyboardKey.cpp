// The keyboard key: the chosen key's state from the front end's key events, and the keys offered.
#include "platform/KeyboardKey.h"

namespace platform {

const std::vector<TKeyboardKeyName>& TKeyboardKey::Keys() {
    static const std::vector<TKeyboardKeyName> keys = {
        {kLeftCtrl, "Control_L", "Left Ctrl"},
        {0xffe4, "Control_R", "Right Ctrl"},
        {0xffe1, "Shift_L", "Left Shift"},
        {0xffe2, "Shift_R", "Right Shift"},
        {0xffe9, "Alt_L", "Left Alt"},
        {0xffea, "Alt_R", "Right Alt"},
        {0x20, "space", "Space"},
        {0xff0d, "Return", "Enter"},
        {0xff13, "Pause", "Pause"},
        {0xfe03, "ISO_Level3_Shift", "AltGr"},
    };
    return keys;
}

const TKeyboardKeyName* TKeyboardKey::FindByName(const std::string& name) {
    for (const TKeyboardKeyName& key : Keys()) {
        if (name == key.Name) {
            return &key;
        }
    }
    return nullptr;
}

const TKeyboardKeyName* TKeyboardKey::FindBySymbol(uint32_t symbol) {
    for (const TKeyboardKeyName& key : Keys()) {
        if (symbol == key.Symbol) {
            return &key;
        }
    }
    return nullptr;
}

void TKeyboardKey::SetSymbol(uint32_t symbol) {
    if (symbol != m_symbol) {
        m_symbol = symbol;
        m_changes.Reset(false);
    }
}

bool TKeyboardKey::Press(uint32_t symbol, std::optional<TKeyStamp> stamp) {
    if (symbol != m_symbol) {
        return false;
    }
    m_changes.Change(true, stamp);  // a repeat of a held key changes nothing
    return true;
}

bool TKeyboardKey::Release(uint32_t symbol, std::optional<TKeyStamp> stamp) {
    if (symbol != m_symbol) {
        return false;
    }
    m_changes.Change(false, stamp);
    return true;
}

std::string TKeyboardKey::Description() const {
    const TKeyboardKeyName* key = FindBySymbol(m_symbol);
    return std::string("the keyboard key ") + (key != nullptr ? key->Caption : "chosen");
}

}  // namespace platform
