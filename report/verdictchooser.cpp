#include "report/verdictchooser.h"

#include "verdict/profilefolder.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>

TVerdictChooser::TVerdictChooser(QWidget* parent)
    : QObject(parent), m_profileBox(new QComboBox(parent)), m_energyBox(new QComboBox(parent)) {
    m_profileBox->setObjectName(QStringLiteral("cboProfile"));
    m_energyBox->setObjectName(QStringLiteral("cboEnergy"));
    m_profileBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_profileBox->setMinimumContentsLength(12);
    TProfileList list = LoadProfiles();
    m_profiles = std::move(list.profiles);
    m_profileBox->addItem(QStringLiteral("No check"));
    for (const TProfile& profile : m_profiles)
        m_profileBox->addItem(profile.name);
    if (!list.refused.isEmpty())
        m_profileBox->setToolTip(QStringLiteral("Not offered:\n") + list.refused.join(QLatin1Char('\n')));
    FillEnergies(0.0);
    connect(m_profileBox, &QComboBox::currentIndexChanged, this, [this] {
        FillEnergies(m_energyBox->currentData().toDouble());
        emit Changed();
    });
    connect(m_energyBox, &QComboBox::currentIndexChanged, this, [this] { emit Changed(); });
}

const TProfile* TVerdictChooser::ShownProfile() const {
    const int index = m_profileBox->currentIndex() - 1;
    return index >= 0 && index < static_cast<int>(m_profiles.size()) ? &m_profiles[index] : nullptr;
}

void TVerdictChooser::FillEnergies(double selected) {
    const QSignalBlocker quiet(m_energyBox);
    m_energyBox->clear();
    const TProfile* profile = ShownProfile();
    m_energyBox->setEnabled(profile != nullptr);
    if (profile == nullptr)
        return;
    int current = 0;
    for (const TProfileSetting& setting : profile->settings) {
        if (setting.selected == selected)
            current = m_energyBox->count();
        m_energyBox->addItem(JoulesText(setting.selected) + QStringLiteral(" J"), setting.selected);
    }
    m_energyBox->setCurrentIndex(current);
}

void TVerdictChooser::Show(const TVerdictChoice& choice) {
    const std::optional<TVerdictBasis> basis = ResolveVerdictChoice(m_profiles, choice);
    int index = 0;
    for (int i = 0; basis && i < static_cast<int>(m_profiles.size()); ++i)
        if (m_profiles[i].name == basis->profile.name)
            index = i + 1;
    {
        const QSignalBlocker quiet(m_profileBox);
        m_profileBox->setCurrentIndex(index);
    }
    FillEnergies(basis ? basis->setting.selected : 0.0);
}

TVerdictChoice TVerdictChooser::Choice() const {
    const TProfile* profile = ShownProfile();
    if (profile == nullptr || m_energyBox->currentIndex() < 0)
        return {};
    return {profile->name, m_energyBox->currentData().toDouble()};
}

std::optional<TVerdictBasis> TVerdictChooser::Basis() const {
    return ResolveVerdictChoice(m_profiles, Choice());
}

QColor CheckColour(TLoadCheck check) {
    switch (check) {
    case TLoadCheck::Pass:
        return QColor(0x1e, 0x8c, 0x3a);
    case TLoadCheck::Fail:
        return QColor(0xc6, 0x28, 0x28);
    default:
        return QColor(0x75, 0x75, 0x75);
    }
}

QColor VerdictColour(TOverallVerdict verdict) {
    switch (verdict) {
    case TOverallVerdict::Pass:
        return CheckColour(TLoadCheck::Pass);
    case TOverallVerdict::Fail:
        return CheckColour(TLoadCheck::Fail);
    case TOverallVerdict::Incomplete:
        return QColor(0xb0, 0x5c, 0x00);
    case TOverallVerdict::NoCheck:
        break;
    }
    return CheckColour(TLoadCheck::NotTested);
}

namespace {

void ShowMark(QLabel& mark, const QString& word, const QColor& colour) {
    mark.setText(word);
    mark.setAlignment(Qt::AlignCenter);
    mark.setStyleSheet(
        QStringLiteral("QLabel { background: %1; color: white; font-weight: bold; padding: 0 6px; }")
            .arg(colour.name()));
}

} // namespace

void ShowCheckMark(QLabel& mark, const QString& word, TLoadCheck check) {
    ShowMark(mark, word, CheckColour(check));
}

void ShowVerdictMark(QLabel& mark, TOverallVerdict verdict) {
    ShowMark(mark, OverallVerdictText(verdict), VerdictColour(verdict));
}
