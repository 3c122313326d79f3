// The capture loop of Start: polls the key as fast as it can, logs every change of key state
// with the poll count and tick count, and switches the side-tone.
#include "app/MainForm.h"

#include "base/Conversions.h"
#include "chart/engine/Series.h"
#include "platform/Services.h"
#include "port/PortIO.h"

namespace app {

void TForm1::StartClick(classes::TPersistent* /*sender*/) {
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

    forms::TApplication& application = forms::TApplication::Instance();
    while (m_runFlag != 0) {
        // Finish, a second Start and the menu run in here, nested inside this handler.
        application.ProcessMessages();
        m_keyState = platform::Services().KeyState->RightButtonState();
        if (m_keyState != m_lastKeyState) {
            m_lastKeyState = m_keyState;
            m_label1->SetCaption(base::IntToStr(m_keyState));
            Memo(2).Lines().Add(base::UIntToStr(m_pollCount));
            Memo(6).Lines().Add(base::UIntToStr(platform::Services().Clock->TickCount()));
            Memo(3).Lines().Add(base::IntToStr(m_keyState));
            if (m_keyState > kKeyDownThreshold) {
                m_portIO1->SpeakerOn(kSideToneDivisor);
            }
            if (m_keyState < kKeyDownThreshold) {
                m_portIO1->SpeakerOff();
            }
        }
        m_pollCount = m_pollCount + 1u;
        BusyWait();
    }
}

void TForm1::BusyWait() {
    m_delayCounter = 0;
    for (int32_t i = 0; i < m_delaySteps; ++i) {
        m_delayCounter = m_delayCounter + 1;
    }
}

}  // namespace app
