// The capture loop of Start: polls the key once per slice of the monotonic clock, logs every
// change of key state with the poll count and tick count, and switches the side-tone.
#include "app/MainForm.h"

#include <algorithm>
#include <optional>

#include "base/Conversions.h"
#include "chart/engine/Series.h"
#include "platform/Services.h"
#include "port/PortIO.h"

namespace app {

namespace {
constexpr int64_t kNsPerMs = 1000000;
}  // namespace

void TForm1::StartClick(classes::TPersistent* /*sender*/) {
    for (const std::function<void()>& handler : m_runStartingHandlers) {
        handler();
    }
    for (forms::TEdit* edit : m_edits) {
        edit->SetText("");
    }
    m_series1->ClearPoints();
    ShowChartUnzoomed();
    m_button1->SetEnabled(true);
    m_portIO1->SetOpened(true);
    m_runFlag = 1;
    m_pollCount = 0;
    Memo(2).Lines().Clear();
    Memo(3).Lines().Clear();
    Memo(6).Lines().Clear();
    m_lastKeyState = 128;
    m_loggedSlice = -1;
    m_polled = false;
    m_lateChangesTaken = false;
    ++m_runNumber;
    m_runStartTick = platform::Services().Clock->TickCount();
    platform::Services().KeyState->CatchUp();

    forms::TApplication& application = forms::TApplication::Instance();
    bool firstPoll = true;
    while (m_runFlag != 0) {
        // Finish, a second Start and the menu run in here, nested inside this handler.
        application.ProcessMessages();
        if (m_lateChangesTaken) {
            break;  // Finish took the late source's changes up to its click: nothing after it
        }
        if (firstPoll) {
            // The slices count from the first poll, which is poll 0.
            firstPoll = false;
            m_sliceOrigin = platform::Services().TimeSource->MonotonicNs();
            m_pollSlice = 0;
            m_polled = true;
        } else {
            CountPassedSlices();
        }
        m_keyState = platform::Services().KeyState->RightButtonState();
        if (m_keyState != m_lastKeyState) {
            LogChange();
            if (m_keyState > kKeyDownThreshold) {
                m_portIO1->SpeakerOn(m_sideToneDivisor);
            }
            if (m_keyState < kKeyDownThreshold) {
                m_portIO1->SpeakerOff();
            }
        }
        m_pollCount = m_pollCount + 1u;
        ++m_pollSlice;
        BusyWait();
    }
}

void TForm1::LogChange() {
    m_lastKeyState = m_keyState;
    m_label1->SetCaption(base::IntToStr(m_keyState));
    // The slices that passed while the key was read (a read held up, the process kept off the
    // processor) count: the change was noticed when the read ended, and a stamp from that time
    // must not be pulled back to the slice counted before it.
    CountPassedSlices();
    // A change stamped earlier is logged with the poll and tick counts of its moment.
    bool stamped = false;
    const int64_t slice = ChangeSlice(stamped);
    const int64_t back = m_pollSlice - slice;
    m_loggedSlice = slice;
    Memo(2).Lines().Add(base::UIntToStr(m_pollCount - static_cast<uint32_t>(back)));
    uint32_t tick = 0;
    if (stamped) {
        // The time back to the slice is measured beside the tick, so that a stall since the
        // slices were counted moves neither.
        const int64_t nowNs = platform::Services().TimeSource->MonotonicNs();
        tick = platform::Services().Clock->TickCount();
        const int64_t sinceNs = nowNs - (m_sliceOrigin + slice * kSliceNs);
        tick -= static_cast<uint32_t>(std::max<int64_t>(sinceNs, 0) / kNsPerMs);
    } else {
        tick = platform::Services().Clock->TickCount() -
               static_cast<uint32_t>(back * kSliceNs / kNsPerMs);
    }
    Memo(6).Lines().Add(base::UIntToStr(tick));
    Memo(3).Lines().Add(base::IntToStr(m_keyState));
}

void TForm1::TakeLateChanges() {
    platform::IKeyState& key = *platform::Services().KeyState;
    if (!m_polled || key.SettledNs() == platform::kSettledNow) {
        return;
    }
    m_lateChangesTaken = true;
    // The run is still being captured while this polls (the menus and windows ask).
    struct TTaking {
        bool& Flag;
        explicit TTaking(bool& flag) : Flag(flag) { Flag = true; }
        TTaking(const TTaking&) = delete;
        TTaking& operator=(const TTaking&) = delete;
        ~TTaking() { Flag = false; }
    } taking(m_takingLateChanges);
    platform::ITimeSource& clock = *platform::Services().TimeSource;
    const int64_t clickNs = clock.MonotonicNs();
    forms::TApplication& application = forms::TApplication::Instance();
    // A source that stops handing changes over is lost to the key input, which then says it
    // is settled; one that only goes quiet is given up after the limit.
    while (key.SettledNs() < clickNs && clock.MonotonicNs() - clickNs < kLateChangesNs) {
        application.ProcessMessages();
        CountPassedSlices();
        m_keyState = key.RightButtonState();
        if (m_keyState != m_lastKeyState) {
            const std::optional<platform::TKeyStamp> stamp = key.ChangeStamp();
            if (!stamp || stamp->Ns >= clickNs) {
                return;  // it happened after the click (or cannot tell when): not in the run
            }
            LogChange();
        }
        m_pollCount = m_pollCount + 1u;
        ++m_pollSlice;
        BusyWait();
    }
}

int64_t TForm1::ChangeSlice(bool& stamped) {
    stamped = false;
    const std::optional<platform::TKeyStamp> stamp = platform::Services().KeyState->ChangeStamp();
    if (!stamp) {
        return m_pollSlice;
    }
    const int64_t noticedNs = platform::Services().TimeSource->MonotonicNs();
    if (noticedNs - stamp->Ns <= stamp->ResolutionNs) {
        return m_pollSlice;  // no earlier than the poll as far as the source's clock can tell
    }
    stamped = true;
    const int64_t sinceOrigin = stamp->Ns - m_sliceOrigin;
    // Slices count down to minus infinity for a moment before the first poll.
    int64_t slice = sinceOrigin / kSliceNs;
    if (sinceOrigin % kSliceNs < 0) {
        --slice;
    }
    return std::min(std::max(slice, m_loggedSlice + 1), m_pollSlice);
}

void TForm1::BusyWait() {
    m_delayCounter = 0;
    if (!m_busyWait) {
        return;
    }
    platform::ITimeSource& clock = *platform::Services().TimeSource;
    const int64_t boundary = m_sliceOrigin + m_pollSlice * kSliceNs;
    while (clock.MonotonicNs() < boundary) {
        m_delayCounter = m_delayCounter + 1;
    }
}

void TForm1::CountPassedSlices() {
    const int64_t elapsed = platform::Services().TimeSource->MonotonicNs() - m_sliceOrigin;
    const int64_t slice = elapsed / kSliceNs;
    if (slice > m_pollSlice) {
        // The count wraps at 2^32 as it always has.
        m_pollCount = m_pollCount + static_cast<uint32_t>(slice - m_pollSlice);
        m_pollSlice = slice;
    }
}

}  // namespace app
