#pragma once
// The load selection: which of the seven loads the test includes, and the defibrillator profile and
// selected energy each load's delivered energy is checked against; all remembered for the next test.

#include "base/modalform.h"
#include "verdict/verdictchoice.h"

class QListWidget;
class QPushButton;
class TVerdictChooser;

class TTestOptions : public TModalForm {
    Q_OBJECT
public:
    // Check marks from section "TEST_OPTIONS" (missing or unreadable keys: checked). The profile is the
    // one last chosen for the make and model the device editor will offer, else the one matching them,
    // else the last one chosen.
    TTestOptions(QWidget* owner, uint8_t* selectedLoads);

    // Writes the seven selection bytes and the settings; modal result OK. With no load ticked it says
    // so and the window stays open, writing nothing. The close box writes nothing.
    void btnOKClick();

    // The profile and setting chosen (no check until OK is clicked).
    const TVerdictChoice& VerdictChoice() const { return m_choice; }
    // The chosen profile at its setting, nothing for no check.
    std::optional<TVerdictBasis> VerdictBasis() const;

private:
    // Widgets, named after their members for tests and tools (findChild).
    QListWidget* cboxOptions = nullptr;
    QPushButton* Button1 = nullptr;
    TVerdictChooser* m_chooser = nullptr; // the lists "cboProfile" and "cboEnergy"

    uint8_t* m_selectedLoads;
    TVerdictChoice m_choice;
};
