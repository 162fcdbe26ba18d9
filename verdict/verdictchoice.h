#pragma once
// What a test is checked against: a profile and one of its settings, or nothing ("No check"). The
// record never holds the choice; the settings file remembers the last one made and the last one for
// each make and model of defibrillator, so that the load selection and the report viewer offer it
// again.

#include "verdict/profile.h"

#include <QString>
#include <optional>
#include <vector>

struct TVerdictChoice {
    QString profile;       // the profile's name; empty: no check
    double selected = 0.0; // J, one of the profile's settings

    bool Checks() const { return !profile.isEmpty(); }
    bool operator==(const TVerdictChoice&) const = default;
};

// A choice made concrete: the profile and its setting.
struct TVerdictBasis {
    TProfile profile;
    TProfileSetting setting;
};

// The profile of `profiles` the choice names (ignoring case) at its setting; nothing for no check,
// or when no profile of that name lists that setting.
std::optional<TVerdictBasis> ResolveVerdictChoice(const std::vector<TProfile>& profiles,
                                                  const TVerdictChoice& choice);

class TSettings;

// The verdict's part of the settings file: [VERDICT] holds the choice last made, [VERDICT_BY_DEVICE]
// the last one for each make and model. The program hands it its settings object.
class TVerdictSettings {
public:
    explicit TVerdictSettings(TSettings& settings) : m_settings(settings) {}

    // The choice last made, for any device ("No check" when none was).
    TVerdictChoice Last() const;
    // The choice last made for a device of this make and model (ignoring case and surrounding
    // spaces); nothing when none was, or when both are empty.
    std::optional<TVerdictChoice> For(const QString& make, const QString& model) const;

    // Remembers `choice` for a device of this make and model (not when both are empty).
    void RememberFor(const TVerdictChoice& choice, const QString& make, const QString& model);
    // Remembers `choice` as the last one made.
    void RememberLast(const TVerdictChoice& choice);

private:
    TSettings& m_settings;
};

// What to offer for a device of this make and model: the choice last made for it; else the profile
// matching it, at the last energy chosen when it lists that one, or at its first setting; else
// `fallback`. Always a choice `profiles` can resolve, or no check.
TVerdictChoice PreselectVerdictChoice(const TVerdictSettings& remembered,
                                      const std::vector<TProfile>& profiles, const QString& make,
                                      const QString& model, const TVerdictChoice& fallback);
