// The right mouse button as the Morse key: its key-state byte, tracked from the button events the
// program's windows receive, and the event filter that keeps the button from clicking anything.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/KeyByte.h"
#include "platform/KeyChanges.h"
#include "platform/Services.h"

class Fl_Window;

namespace ui {

// The key-state byte of the right button: bit 7 while it is down, bit 0 flipping at each press
// (0/1 up, 128/129 down, successive presses alternating between 129 and 128).
class TRightButtonTracker : public platform::IKeyState {
  public:
    static constexpr uint8_t kDownBit = platform::TKeyByte::kDownBit;
    static constexpr uint8_t kToggleBit = platform::TKeyByte::kToggleBit;

    // A press while the button is already down (a lost release) changes nothing, nor does a
    // release while it is up: the byte follows the button, not the event count.
    // stamp: when the window system says the button went down or up, where it says so.
    void Press(std::optional<platform::TKeyStamp> stamp = std::nullopt) {
        m_changes.Change(true, stamp);
    }
    void Release(std::optional<platform::TKeyStamp> stamp = std::nullopt) {
        m_changes.Change(false, stamp);
    }
    // The button's changes wait until the capture reads them, one per read: a press and its
    // release that the window system delivers between two polls are both logged.
    uint8_t RightButtonState() override {
        m_changes.Take();
        return m_changes.Byte();
    }
    std::optional<platform::TKeyStamp> ChangeStamp() override { return m_changes.Stamp(); }
    bool DownNow() override { return m_changes.DownNow(); }
    void CatchUp() override { m_changes.TakeAll(); }
    // The byte as the button is now, every change applied (what the test channel reports).
    uint8_t StateNow() const { return m_changes.ByteNow(); }
    // The window system's time of the event being handled (a button or key event), as a stamp.
    std::optional<platform::TKeyStamp> EventStamp() const { return m_eventStamp; }

    // Routes every event of the program's windows through this tracker while it lives: right
    // button presses, releases and drags update the byte and go no further, so no widget, menu
    // or window sees the right button (but what the pass-through test lets on). Only one
    // tracker can be installed at a time.
    void InstallEventFilter();
    void RemoveEventFilter();
    // Right-button events that also go on to the window after updating the byte: the test says
    // which (a chart that pans with the right button when no keying run is being captured).
    using TPassThrough = std::function<bool(int event, const Fl_Window* window)>;
    void SetPassThrough(TPassThrough test) { m_passThrough = std::move(test); }
    // Key presses and releases of the program's windows (FL_KEYDOWN, FL_KEYUP with the key's
    // symbol) and the loss of the keyboard focus (FL_UNFOCUS, symbol 0) go to the handler first;
    // an event it returns true for goes no further.
    using TKeyHandler = std::function<bool(int event, unsigned symbol)>;
    void SetKeyHandler(TKeyHandler handler) { m_keyHandler = std::move(handler); }
    ~TRightButtonTracker() override;

  private:
    static int FilterEvent(int event, Fl_Window* window);
    bool PassesOn(int event, const Fl_Window* window) const {
        return m_passThrough && m_passThrough(event, window);
    }
    platform::TKeyChanges m_changes;
    std::optional<platform::TKeyStamp> m_eventStamp;  // of the event being handled
    bool m_installed = false;
    TPassThrough m_passThrough;
    TKeyHandler m_keyHandler;
};

}  // namespace ui
