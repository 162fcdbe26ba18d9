#include "verdict/verdictchoice.h"

#include "base/settings.h"
#include "verdict/profilefolder.h"

#include <QUrl>

namespace {

const QString LastSection = QStringLiteral("VERDICT");
const QString DeviceSection = QStringLiteral("VERDICT_BY_DEVICE");
const QString ProfileKey = QStringLiteral("PROFILE");
const QString EnergyKey = QStringLiteral("ENERGY");

// "acme%20medical/lifekeeper%203": a key the settings file keeps whatever the texts hold.
QString DeviceKey(const QString& make, const QString& model) {
    const QString device = make.trimmed().toLower() + QLatin1Char('/') + model.trimmed().toLower();
    return QString::fromLatin1(QUrl::toPercentEncoding(device, "/"));
}

bool NoDevice(const QString& make, const QString& model) {
    return make.trimmed().isEmpty() && model.trimmed().isEmpty();
}

// A device's choice is stored as "200|Profile name", "0|" for no check.
QString ChoiceText(const TVerdictChoice& choice) {
    return (choice.Checks() ? JoulesText(choice.selected) : QStringLiteral("0")) + QLatin1Char('|') +
           choice.profile;
}

std::optional<TVerdictChoice> ParseChoiceText(const QString& text) {
    const qsizetype bar = text.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return std::nullopt;
    bool ok = false;
    TVerdictChoice choice{text.mid(bar + 1), text.left(bar).toDouble(&ok)};
    if (!ok)
        return std::nullopt;
    if (!choice.Checks())
        choice.selected = 0.0;
    return choice;
}

const TProfile* FindByName(const std::vector<TProfile>& profiles, const QString& name) {
    for (const TProfile& profile : profiles)
        if (profile.name.compare(name, Qt::CaseInsensitive) == 0)
            return &profile;
    return nullptr;
}

} // namespace

std::optional<TVerdictBasis> ResolveVerdictChoice(const std::vector<TProfile>& profiles,
                                                  const TVerdictChoice& choice) {
    if (!choice.Checks())
        return std::nullopt;
    const TProfile* profile = FindByName(profiles, choice.profile);
    const TProfileSetting* setting = profile ? profile->FindSetting(choice.selected) : nullptr;
    if (setting == nullptr)
        return std::nullopt;
    return TVerdictBasis{*profile, *setting};
}

TVerdictChoice TVerdictSettings::Last() const {
    TVerdictChoice choice{m_settings.ReadString(LastSection, ProfileKey, QString()), 0.0};
    if (choice.Checks())
        choice.selected = m_settings.ReadString(LastSection, EnergyKey, QString()).toDouble();
    return choice;
}

std::optional<TVerdictChoice> TVerdictSettings::For(const QString& make, const QString& model) const {
    if (NoDevice(make, model))
        return std::nullopt;
    return ParseChoiceText(m_settings.ReadString(DeviceSection, DeviceKey(make, model), QString()));
}

void TVerdictSettings::RememberFor(const TVerdictChoice& choice, const QString& make, const QString& model) {
    if (NoDevice(make, model))
        return;
    m_settings.WriteString(DeviceSection, DeviceKey(make, model), ChoiceText(choice));
}

void TVerdictSettings::RememberLast(const TVerdictChoice& choice) {
    // Profile and energy in one write: no reader ever sees one without the other.
    m_settings.Write(
        TSettingsChanges()
            .Set(LastSection, ProfileKey, choice.profile)
            .Set(LastSection, EnergyKey, choice.Checks() ? JoulesText(choice.selected) : QString()));
}

TVerdictChoice PreselectVerdictChoice(const TVerdictSettings& remembered,
                                      const std::vector<TProfile>& profiles, const QString& make,
                                      const QString& model, const TVerdictChoice& fallback) {
    const auto usable = [&](const TVerdictChoice& choice) {
        return !choice.Checks() || ResolveVerdictChoice(profiles, choice).has_value();
    };
    if (const std::optional<TVerdictChoice> forDevice = remembered.For(make, model);
        forDevice && usable(*forDevice))
        return *forDevice;
    const int match = MatchProfile(profiles, make, model);
    if (match >= 0 && !profiles[match].settings.empty()) {
        const TProfile& profile = profiles[match];
        const double last = remembered.Last().selected;
        return {profile.name, profile.FindSetting(last) ? last : profile.settings.front().selected};
    }
    return usable(fallback) ? fallback : TVerdictChoice{};
}
