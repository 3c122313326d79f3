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
    ++m_runNumber;
    m_runStartTick = platform::Services().Clock->TickCount();

    forms::TApplication& application = forms::TApplication::Instance();
    bool firstPoll = true;
    while (m_runFlag != 0) {
        // Finish, a second Start and the menu run in here, nested inside this handler.
        application.ProcessMessages();
        if (firstPoll) {
            // The slices count from the first poll, which is poll 0.
            firstPoll = false;
            m_sliceOrigin = platform::Services().TimeSource->MonotonicNs();
            m_pollSlice = 0;
        } else {
            CountPassedSlices();
        }
        m_keyState = platform::Services().KeyState->RightButtonState();
        if (m_keyState != m_lastKeyState) {
            m_lastKeyState = m_keyState;
            m_label1->SetCaption(base::IntToStr(m_keyState));
            // A change stamped earlier is logged with the poll and tick counts of its moment.
            const int64_t slice = ChangeSlice();
            const int64_t back = m_pollSlice - slice;
            m_loggedSlice = slice;
            const auto backMs = static_cast<uint32_t>(back * kSliceNs / kNsPerMs);
            Memo(2).Lines().Add(base::UIntToStr(m_pollCount - static_cast<uint32_t>(back)));
            Memo(6).Lines().Add(base::UIntToStr(platform::Services().Clock->TickCount() - backMs));
            Memo(3).Lines().Add(base::IntToStr(m_keyState));
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

int64_t TForm1::ChangeSlice() {
    const std::optional<platform::TKeyStamp> stamp = platform::Services().KeyState->ChangeStamp();
    if (!stamp) {
        return m_pollSlice;
    }
    const int64_t noticedNs = platform::Services().TimeSource->MonotonicNs();
    if (noticedNs - stamp->Ns <= stamp->ResolutionNs) {
        return m_pollSlice;  // no earlier than the poll as far as the source's clock can tell
    }
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
