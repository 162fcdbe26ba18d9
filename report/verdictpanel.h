#pragma once
// The report viewer's verdict panel: the profile and selected energy the record is checked against,
// a row per load (delivered, declared, deviation in J and %, limit, PASS/FAIL/not tested) and the
// overall verdict. It folds to its first line, which keeps the overall verdict in view. The report
// text and the record are not touched, and neither is the choice offered for the next test: only the
// load selection makes that.

#include "records/tzrtestrec.h"
#include "verdict/verdict.h"
#include "verdict/verdictchoice.h"

#include <QWidget>
#include <optional>

class QLabel;
class QTableWidget;
class QToolButton;
class TVerdictChooser;

class TVerdictPanel : public QWidget {
    Q_OBJECT
public:
    TVerdictPanel(QWidget* parent, const TZRTestRec& test);

    // The record has been read: offers what was last used for its make and model, or the profile
    // matching them, or no check.
    void ShowRecord();
    // Checks the record against `choice` (the choice of the test that made it).
    void Choose(const TVerdictChoice& choice);
    // The profile and setting the record is checked against now; nothing for "No check".
    std::optional<TVerdictBasis> Basis() const;

private:
    // Widgets, named after their members for tests and tools (findChild).
    QToolButton* btnFold = nullptr;
    QLabel* lblOverall = nullptr;
    QLabel* lblSummary = nullptr;
    QTableWidget* tblVerdict = nullptr;
    QWidget* m_body = nullptr;
    TVerdictChooser* m_chooser = nullptr; // the lists "cboProfile" and "cboEnergy"

    void Judge();
    void ShowLoad(int row, const TLoadVerdict& verdict, bool checking);
    void Fold(bool open);

    const TZRTestRec& m_test;
};
