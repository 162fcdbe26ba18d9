#pragma once
// The two lists a verdict is chosen with, shared by the load selection and the report viewer's verdict
// panel: the profile ("No check" first, then the profiles of the profiles folder) and the selected
// energy, one of the chosen profile's settings. The window that makes them lays them out.

#include "verdict/verdict.h"
#include "verdict/verdictchoice.h"

#include <QColor>
#include <QObject>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QWidget;

class TVerdictChooser : public QObject {
    Q_OBJECT
public:
    // The lists, named "cboProfile" and "cboEnergy", are children of `parent`; the profiles are those
    // of the profiles folder, and those it refuses are named in the profile list's tool tip.
    explicit TVerdictChooser(QWidget* parent);

    QComboBox* ProfileBox() const { return m_profileBox; }
    QComboBox* EnergyBox() const { return m_energyBox; }
    const std::vector<TProfile>& Profiles() const { return m_profiles; }

    // Shows `choice`; one the lists cannot show (a profile since removed) shows as no check.
    void Show(const TVerdictChoice& choice);
    TVerdictChoice Choice() const;
    // The chosen profile at its setting; nothing for no check.
    std::optional<TVerdictBasis> Basis() const;

signals:
    // The user chose another profile or energy.
    void Changed();

private:
    void FillEnergies(double selected);
    const TProfile* ShownProfile() const;

    QComboBox* m_profileBox;
    QComboBox* m_energyBox;
    std::vector<TProfile> m_profiles;
};

// A load's check as a mark: its word ("PASS", "FAIL", ...) on the colour of its kind, green for a
// pass, red for a failure, grey otherwise, so that it reads without the colour too.
void ShowCheckMark(QLabel& mark, const QString& word, TLoadCheck check);
// The colour a check is shown on.
QColor CheckColour(TLoadCheck check);
// The colour a whole test's verdict is shown on: green only for a pass, red for a failure, amber for
// an incomplete test, grey for no check.
QColor VerdictColour(TOverallVerdict verdict);
// The whole test's verdict as a mark: its word on its colour.
void ShowVerdictMark(QLabel& mark, TOverallVerdict verdict);
