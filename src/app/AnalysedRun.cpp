// The last analysed run, kept for the coach's windows, and the handlers told of each new one.
#include "app/MainForm.h"

namespace app {

void TForm1::AddRunStartingHandler(std::function<void()> handler) {
    m_runStartingHandlers.push_back(std::move(handler));
}

void TForm1::AddRunAnalysedHandler(TRunAnalysedHandler handler) {
    m_runAnalysedHandlers.push_back(std::move(handler));
}

void TForm1::RunAnalysed(std::vector<coach::TTransition> transitions) {
    m_lastAnalysedRun = {std::move(transitions), m_practiceText};
    m_hasAnalysedRun = true;
    for (const TRunAnalysedHandler& handler : m_runAnalysedHandlers) {
        handler(m_lastAnalysedRun);
    }
}

}  // namespace app
