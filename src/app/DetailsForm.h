// The Details window: what the coach says about a run (read-back, practice text aligned with it,
// timing spread, histograms of the marks and spaces with their ideal lengths, worst characters).
#pragma once

#include <string>
#include <vector>

#include "coach/Details.h"
#include "forms/Form.h"
#include "forms/StdCtrls.h"

namespace chart {
class TChart;
class TChartSeries;
}  // namespace chart

namespace app {

class TForm1;

class TDetailsForm : public forms::TForm {
  public:
    explicit TDetailsForm(classes::TComponent* owner);
    static const classes::TClassInfo& StaticClass();
    const classes::TClassInfo& ClassInfo() const override;

    // Shows the details of any run, from its transitions and practice text (the last one, or a
    // past one); `heading` names the run on the window's first line (empty: none).
    void ShowRun(const coach::TKeyedRun& run, const std::string& heading = std::string());
    // Shows the main window's last analysed run, or says that there is none yet.
    void ShowLastRun(const TForm1& main);
    // Fills the window without showing it (a run analysed while it is open refreshes it).
    void Fill(const coach::TKeyedRun& run, const std::string& heading = std::string());
    void FillNoRun();

    forms::TMemo& TextMemo() const { return *m_text; }
    // The strict reading of the run and the sentence on why it differs from the read-back.
    forms::TEdit& StrictEdit() const { return *m_strict; }
    forms::TLabel& CoachingLabel() const { return *m_coaching; }
    forms::TMemo& VerdictMemo() const { return *m_verdicts; }
    chart::TChart& MarkChart() const { return *m_markChart; }
    chart::TChart& SpaceChart() const { return *m_spaceChart; }

    // What the window says before any run has been analysed.
    static constexpr const char* kNoRunText =
        "No run has been analysed yet: press Start, key, then Finish.";

  private:
    template <class T>
    T* Field(std::string_view name) const;

    forms::TMemo* m_text = nullptr;
    forms::TEdit* m_strict = nullptr;
    forms::TLabel* m_coaching = nullptr;
    forms::TMemo* m_verdicts = nullptr;
    chart::TChart* m_markChart = nullptr;
    chart::TChart* m_spaceChart = nullptr;
    chart::TChartSeries* m_markBars = nullptr;
    chart::TChartSeries* m_markIdeals = nullptr;
    chart::TChartSeries* m_spaceBars = nullptr;
    chart::TChartSeries* m_spaceIdeals = nullptr;
};

// The lines the Details window shows for a run.
std::vector<std::string> DetailsText(const coach::TDetails& details);
// The lines of its verdicts box: a row per figure judged, then the advice.
std::vector<std::string> VerdictText(const coach::TVerdicts& verdicts);

}  // namespace app
