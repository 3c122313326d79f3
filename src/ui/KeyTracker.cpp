// The right-button key tracker and the FLTK event filter that feeds it.
#include "ui/KeyTracker.h"

#include <FL/Fl.H>
#include <FL/x.H>

#include <cassert>

#include "platform/EventTime.h"

namespace ui {

namespace {
// FLTK's event filter is a plain function; it reaches the installed tracker through this.
TRightButtonTracker* g_installedTracker = nullptr;

// The server's time of the X event being handled, for button and key events.
std::optional<platform::TKeyStamp> XEventStamp() {
    if (fl_xevent == nullptr) {
        return std::nullopt;
    }
    unsigned long time = 0;
    switch (fl_xevent->type) {
        case ButtonPress:
        case ButtonRelease:
            time = fl_xevent->xbutton.time;
            break;
        case KeyPress:
        case KeyRelease:
            time = fl_xevent->xkey.time;
            break;
        default:
            return std::nullopt;
    }
    return platform::EventStamp(static_cast<uint32_t>(time),
                                platform::Services().TimeSource->MonotonicNs());
}
}  // namespace

void TRightButtonTracker::InstallEventFilter() {
    assert(g_installedTracker == nullptr && "only one key tracker can filter events");
    g_installedTracker = this;
    m_installed = true;
    Fl::event_dispatch(&TRightButtonTracker::FilterEvent);
}

void TRightButtonTracker::RemoveEventFilter() {
    if (m_installed) {
        Fl::event_dispatch(nullptr);
        g_installedTracker = nullptr;
        m_installed = false;
    }
}

TRightButtonTracker::~TRightButtonTracker() {
    RemoveEventFilter();
}

int TRightButtonTracker::FilterEvent(int event, Fl_Window* window) {
    TRightButtonTracker* tracker = g_installedTracker;
    if (tracker != nullptr) {
        const bool right = Fl::event_button() == FL_RIGHT_MOUSE;
        tracker->m_eventStamp = std::nullopt;
        if (event == FL_PUSH || event == FL_RELEASE || event == FL_KEYDOWN || event == FL_KEYUP) {
            tracker->m_eventStamp = XEventStamp();
        }
        // The byte follows the button everywhere; the event itself goes on only where the
        // pass-through test says so.
        if (event == FL_PUSH && right) {
            tracker->Press(tracker->m_eventStamp);
            return tracker->PassesOn(event, window) ? Fl::handle_(event, window) : 1;
        }
        if (event == FL_RELEASE && right) {
            tracker->Release(tracker->m_eventStamp);
            return tracker->PassesOn(event, window) ? Fl::handle_(event, window) : 1;
        }
        if ((event == FL_KEYDOWN || event == FL_KEYUP || event == FL_UNFOCUS) &&
            tracker->m_keyHandler) {
            const unsigned symbol =
                event == FL_UNFOCUS ? 0u : static_cast<unsigned>(Fl::event_key());
            if (tracker->m_keyHandler(event, symbol)) {
                return 1;
            }
        }
        // A drag with only the right button held is the key being held, not a drag.
        if (event == FL_DRAG && (Fl::event_state() & (FL_BUTTON1 | FL_BUTTON2)) == 0) {
            return tracker->PassesOn(event, window) ? Fl::handle_(event, window) : 1;
        }
    }
    return Fl::handle_(event, window);
}

}  // namespace ui
